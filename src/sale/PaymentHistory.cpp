#include "sale/PaymentHistory.h"

#include "receivables/PaidRule.h"
#include "sale/SaleTotals.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <vector>
#include <filesystem>
#include <system_error>

std::string PaymentHistoryText(const CLocalFile& local, const InvoiceRecord& sale)
{
    std::string text = "Payments:\r\n";
    // One pass over the file: every payment of the sale summed, only the last
    // few kept, so a sale with a million payments shows at once in little memory.
    // The last ones are kept as bytes in a ring and decoded once the pass is done.
    std::vector<std::uint8_t> ring(kPaymentHistoryLines * PaymentRecord::kSize);
    long long payments = 0;
    long long paid = 0;
    const int cause = VisitPayments(local, [&](const std::uint8_t* rec) {
        if (codec::getI32(rec, PaymentRecord::kInvoiceNumberOff) != sale.recordNumber)
            return;
        paid += AmountCents(codec::getF32(rec, PaymentRecord::kAmountOff));
        std::memcpy(ring.data() + static_cast<std::size_t>(payments % kPaymentHistoryLines) * PaymentRecord::kSize, rec,
                    PaymentRecord::kSize);
        ++payments;
    });
    // Unread payments are not "nothing paid": no sum or balance is shown then.
    if (cause != 0)
        return text + "Error opening Payment file.\r\n";
    const long long lines = std::min<long long>(payments, kPaymentHistoryLines);
    if (payments > lines)
        text += strprintf("(%lld earlier payments)\r\n", payments - lines);
    for (long long i = payments - lines; i < payments; ++i) {
        PaymentRecord p;
        p.decode(ring.data() + static_cast<std::size_t>(i % kPaymentHistoryLines) * PaymentRecord::kSize);
        text += strprintf("%s  %-12s %10s\r\n", FormatOleDate(p.date, "%m/%d/%Y").c_str(), p.payType.c_str(),
                          FixedText(static_cast<double>(AmountCents(p.amount)) / 100, 2).c_str());
    }
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
