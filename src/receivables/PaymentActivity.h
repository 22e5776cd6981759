#pragma once
// Reading the payments file in one pass: the raw records in file order, the
// deposits and payments on account of one sale or of all, and the cells of a
// payment list row.

#include "PaymentRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CLocalFile;

// Calls visit with each payment record's bytes in file order, read in blocks;
// nothing when the file is missing or cannot be read. The records are those
// under the stored count that the file really holds.
void ScanPaymentRecords(const CLocalFile& local, const std::function<void(const std::uint8_t*)>& visit);

// The payments of kind 2 (deposits, payments on account) of the sale with this
// record number, or of every sale when it is negative; split parts never.
std::vector<PaymentRecord> ListPaymentActivity(const CLocalFile& local, std::int32_t recordNumber);

// "Rec#", "Pay Type", "Amount", "Date", "Card/Check", "Cashier", "Notes", "ID".
std::vector<std::string> PaymentCells(const PaymentRecord& payment);
