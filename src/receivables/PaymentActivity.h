#pragma once
// The deposits and payments on account of one sale or of all, read in one
// pass over the payments file, and the cells of a payment list row.

#include "storage/files/PaymentFile.h"

#include <cstdint>
#include <string>
#include <vector>

class CLocalFile;

// The payments of kind 2 (deposits, payments on account) of the sale with this
// record number, or of every sale when it is negative; split parts never.
// False when the payments file cannot be read.
bool ListPaymentActivity(const CLocalFile& local, std::int32_t recordNumber, std::vector<PaymentRecord>& out);

// "Rec#", "Pay Type", "Amount", "Date", "Card/Check", "Cashier", "Notes", "ID".
std::vector<std::string> PaymentCells(const PaymentRecord& payment);
