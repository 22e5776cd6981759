#include "purchasing/OrderEstimator.h"

#include "reports/SaleScan.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include <cmath>
#include <cstring>

namespace OrderEstimator {
namespace {
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Item numbers (lower-cased) to their sums, in one flat open-addressed table:
// a sale line costs one hash and, mostly, one probe, whatever the item count.
class ItemSums {
public:
    explicit ItemSums(const std::vector<std::string>& keys)
    {
        std::size_t size = 16;
        while (size < keys.size() * 2)
            size *= 2;
        slots_.resize(size);
        hashes_.resize(size);
        for (const std::string& key : keys)
            if (!key.empty() && !find(key.data(), key.size(), hashOf(key.data(), key.size()))) {
                const std::uint32_t hash = hashOf(key.data(), key.size());
                Slot& s = probe(key.data(), key.size(), hash);
                hashes_[static_cast<std::size_t>(&s - slots_.data())] = hash;
                s.length = static_cast<std::uint8_t>(key.size());
                std::memcpy(s.key, key.data(), key.size());
            }
    }
    // The sum of an item number (already lower-cased), or null.
    double* find(const char* key, std::size_t length, std::uint32_t hash)
    {
        Slot& s = probe(key, length, hash);
        return s.length ? &s.sum : nullptr;
    }
    static constexpr std::uint32_t kHashStart = 2166136261u;
    static std::uint32_t hashStep(std::uint32_t h, char c) { return (h ^ static_cast<unsigned char>(c)) * 16777619u; }
    static std::uint32_t hashOf(const char* key, std::size_t length)
    {
        std::uint32_t h = kHashStart;
        for (std::size_t i = 0; i < length; ++i)
            h = hashStep(h, key[i]);
        return h | 1;  // 0 marks an empty slot
    }

private:
    struct Slot {
        std::uint8_t length = 0;  // 0: empty
        char key[InvoiceRecord::kNameWidth] = {};
        double sum = 0;
    };
    // The hashes alone are probed (a small array that stays in the cache);
    // a slot is looked at only when its hash matches.
    Slot& probe(const char* key, std::size_t length, std::uint32_t hash)
    {
        for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
            if (hashes_[at] == 0)
                return slots_[at];
            Slot& s = slots_[at];
            if (hashes_[at] == hash && s.length == length && std::memcmp(s.key, key, length) == 0)
                return s;
        }
    }
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> hashes_;
};

// Sold quantities per item number over the sales of a range, on the shared
// pass over the sales file.
class SoldLines : public SaleAccumulator {
public:
    SoldLines(int fromKey, int toKey, ItemSums& sums) : fromKey_(fromKey), toKey_(toKey), sums_(sums) {}
    void AddSale(const SaleView& sale) override
    {
        const int day = sale.dateKey();
        if (day < fromKey_ || day > toKey_)
            return;
        char key[InvoiceRecord::kNameWidth];
        for (std::size_t line = 0; line < InvoiceRecord::kLines; ++line) {
            const std::string_view text = sale.itemNumber(line);
            if (text.empty())
                continue;
            // Lower-cased and hashed in one pass over the characters.
            std::uint32_t hash = ItemSums::kHashStart;
            const std::size_t length = text.size();
            for (std::size_t i = 0; i < length; ++i) {
                key[i] = lowerAscii(text[i]);
                hash = ItemSums::hashStep(hash, key[i]);
            }
            if (double* sum = sums_.find(key, length, hash | 1))
                *sum += sale.qty(line);
        }
    }

private:
    int fromKey_, toKey_;
    ItemSums& sums_;
};
}  // namespace

int RangeDays(const CalendarTime& from, const CalendarTime& to)
{
    const double start = OleDate::fromCalendar(from.year, from.month, from.day).value;
    const double end = OleDate::fromCalendar(to.year, to.month, to.day, 23, 59, 59).value;
    if (end < start)
        return 0;
    return static_cast<int>(end - start) + 1;
}

double ShortQuantity(double sold, int rangeDays, int daysOfInventory, double stock)
{
    if (rangeDays <= 0)
        return 0;
    const double shortBy = sold / rangeDays * daysOfInventory - stock;
    return shortBy < 0 ? 0 : shortBy;
}

int SoldInRange(const CLocalFile& local, const std::vector<std::string>& items, const CalendarTime& from,
                const CalendarTime& to, std::vector<double>& sold)
{
    // One sum per distinct item number; rows of the same item share it.
    std::vector<std::string> keys(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        keys[i] = codec::fitText(items[i], InvoiceRecord::kNameWidth);
        for (char& c : keys[i])
            c = lowerAscii(c);
    }
    ItemSums sums(keys);
    SoldLines lines(DateKey(from.year, from.month, from.day), DateKey(to.year, to.month, to.day), sums);
    const int cause = ScanSales(local, lines) == ScanOutcome::Failed ? FileCause::Generic : FileCause::None;
    sold.assign(items.size(), 0.0);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!keys[i].empty())
            sold[i] = *sums.find(keys[i].data(), keys[i].size(), ItemSums::hashOf(keys[i].data(), keys[i].size()));
    return cause;
}
}  // namespace OrderEstimator
