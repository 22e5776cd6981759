#pragma once
// The deposits and payments on account of one sale or of all, as a list shows
// them: one pass over the payments file notes where each listed payment is,
// and a row is read back from the file and decoded only when it is drawn.
// Payments are never moved or deleted, so a position stays that payment's;
// a row shows the payment as stored when it is drawn.

#include "storage/files/ListedRecords.h"
#include "storage/files/PaymentFile.h"

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

    std::size_t size() const { return records_.size(); }
    // The text of a cell, columns as PaymentCells; empty when the file cannot be read.
    std::string cell(std::size_t row, int column) const;

private:
    ListedRecords records_;
};

// "Rec#", "Pay Type", "Amount", "Date", "Card/Check", "Cashier", "Notes", "ID".
std::vector<std::string> PaymentCells(const PaymentRecord& payment);
