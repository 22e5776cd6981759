#pragma once

#include <string>

class CLocalFile;
struct InvoiceRecord;

// The payments taken on a sale on account, as the sale screen shows them in
// place of today's notes: one line per payment, then the sum and what is left.
std::string PaymentHistoryText(const CLocalFile& local, const InvoiceRecord& sale);
