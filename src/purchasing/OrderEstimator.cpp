#include "purchasing/OrderEstimator.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
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

// The sales of a range, read in one pass: sold quantities per item number.
// Kept apart so the pass can move onto a shared reader of the sales file.
int SumLinesInRange(const CLocalFile& local, int fromKey, int toKey, ItemSums& sums)
{
    DataFile file;
    if (const int cause = CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read); cause != FileCause::None)
        return cause;
    const long long present = InvoiceRecordsPresent(file);
    ScanInvoices(file, present, [&](const std::uint8_t* rec, long long) {
        const int day = DateKey(codec::getI16(rec, InvoiceRecord::kYearOff), codec::getI16(rec, InvoiceRecord::kMonthOff),
                                codec::getI16(rec, InvoiceRecord::kDayOff));
        if (day < fromKey || day > toKey)
            return true;
        char key[InvoiceRecord::kNameWidth];
        for (std::size_t line = 0; line < InvoiceRecord::kLines; ++line) {
            const auto* text = reinterpret_cast<const char*>(rec + InvoiceRecord::kItemNumberOff + line * InvoiceRecord::kNameWidth);
            if (text[0] == 0)
                continue;
            // Lower-cased and hashed in one pass over the characters.
            std::uint32_t hash = ItemSums::kHashStart;
            std::size_t length = 0;
            for (; length < InvoiceRecord::kNameWidth - 1 && text[length]; ++length) {
                key[length] = lowerAscii(text[length]);
                hash = ItemSums::hashStep(hash, key[length]);
            }
            if (double* sum = sums.find(key, length, hash | 1))
                *sum += codec::getF32(rec, InvoiceRecord::kQtyOff + 4 * line);
        }
        return true;
    });
    return FileCause::None;
}
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
    const int cause = SumLinesInRange(local, DateKey(from.year, from.month, from.day), DateKey(to.year, to.month, to.day), sums);
    sold.assign(items.size(), 0.0);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!keys[i].empty())
            sold[i] = *sums.find(keys[i].data(), keys[i].size(), ItemSums::hashOf(keys[i].data(), keys[i].size()));
    return cause;
}
}  // namespace OrderEstimator
