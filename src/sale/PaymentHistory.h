#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CLocalFile;
struct InvoiceRecord;

// The payments taken on a sale on account, as the sale screen shows them in
// place of today's notes: one line per payment, then the sum and what is left.
// A sale with more payments shows its last kPaymentHistoryLines, after a line
// counting the earlier ones; the sum and balance count them all.
constexpr std::size_t kPaymentHistoryLines = 100;
std::string PaymentHistoryText(const CLocalFile& local, const InvoiceRecord& sale);

// The same text, read again only when the shown sale or the payments file
// (its size or time of last change, so another register's payment counts)
// has changed since the last read. The screen redraws on every keystroke.
class PaymentHistoryCache {
public:
    const std::string& Text(const CLocalFile& local, const InvoiceRecord& sale);
    int reads() const { return reads_; }

private:
    struct Key {
        std::string path;
        std::int32_t recordNumber = -1;
        float total = 0;
        std::uintmax_t size = 0;
        std::int64_t changed = 0;
        bool operator==(const Key&) const = default;
    };
    Key key_;
    bool valid_ = false;
    std::string text_;
    int reads_ = 0;
};
