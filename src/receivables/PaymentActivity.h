#pragma once
// The deposits and payments on account of one sale or of all, as a list shows
// them: the records' bytes read in one pass over the payments file, each row
// decoded only when it is shown.

#include "storage/files/PaymentRecord.h"
#include "storage/files/RecordBytes.h"

#include <cstdint>
#include <string>
#include <vector>

class CLocalFile;

class PaymentRows {
public:
    // The payments of kind 2 (deposits, payments on account) of the sale with
    // this record number, or of every sale when it is negative; split parts
    // never. False when the payments file cannot be read (no rows then); a
    // missing file holds no payments.
    bool list(const CLocalFile& local, std::int32_t recordNumber);

    std::size_t size() const { return bytes_.size() / PaymentRecord::kSize; }
    PaymentRecord payment(std::size_t row) const;
    // The text of a cell, columns as PaymentCells.
    std::string cell(std::size_t row, int column) const;

private:
    RecordBytes bytes_;
};

// "Rec#", "Pay Type", "Amount", "Date", "Card/Check", "Cashier", "Notes", "ID".
constexpr int kPaymentColumns = 8;
std::vector<std::string> PaymentCells(const PaymentRecord& payment);
