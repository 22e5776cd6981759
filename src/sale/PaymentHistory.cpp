#include "sale/PaymentHistory.h"

#include "receivables/PaidRule.h"
#include "sale/SaleTotals.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <cmath>
#include <filesystem>
#include <system_error>

std::string PaymentHistoryText(const CLocalFile& local, const InvoiceRecord& sale)
{
    std::string text = "Payments:\r\n";
    std::vector<PaymentRecord> payments;
    // Unread payments are not "nothing paid": no sum or balance is shown then.
    if (ReadPayments(local, sale.recordNumber, 0, payments) != 0)
        return text + "Error opening Payment file.\r\n";
    for (const PaymentRecord& p : payments)
        text += strprintf("%s  %-12s %10s\r\n", FormatOleDate(p.date, "%m/%d/%Y").c_str(), p.payType.c_str(),
                          FixedText(static_cast<double>(AmountCents(p.amount)) / 100, 2).c_str());
    const long long paid = PaymentCents(payments);
    text += "Paid: " + FixedText(static_cast<double>(paid) / 100, 2) + "\r\nBalance Due: " +
            FixedText(static_cast<double>(AmountCents(sale.total) - paid) / 100, 2) + "\r\n";
    return text;
}

const std::string& PaymentHistoryCache::Text(const CLocalFile& local, const InvoiceRecord& sale)
{
    Key key;
    key.path = local.GetPath("Payments");
    key.recordNumber = sale.recordNumber;
    key.total = sale.total;
    std::error_code error;
    key.size = std::filesystem::file_size(key.path, error);
    if (error)
        key.size = 0;
    const auto changed = std::filesystem::last_write_time(key.path, error);
    key.changed = error ? 0 : static_cast<std::int64_t>(changed.time_since_epoch().count());
    if (!valid_ || !(key == key_)) {
        text_ = PaymentHistoryText(local, sale);
        key_ = key;
        valid_ = true;
        ++reads_;
    }
    return text_;
}
