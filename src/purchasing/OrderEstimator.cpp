#include "OrderEstimator.h"

#include "ByteCodec.h"
#include "CLocalFile.h"
#include "InvoiceFile.h"

#include <cmath>
#include <cstring>
#include <unordered_map>

namespace OrderEstimator {
namespace {
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The sales of a range, read in one pass: sold quantities per item number.
// Kept apart so the pass can move onto a shared reader of the sales file.
int SumLinesInRange(const CLocalFile& local, int fromKey, int toKey,
                    const std::unordered_map<std::string, double*>& wanted)
{
    DataFile file;
    if (const int cause = CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read); cause != FileCause::None)
        return cause;
    const long long present = InvoiceRecordsPresent(file);
    std::string key;
    ScanInvoices(file, present, [&](const std::uint8_t* rec, long long) {
        const int day = DateKey(codec::getI16(rec, InvoiceRecord::kYearOff), codec::getI16(rec, InvoiceRecord::kMonthOff),
                                codec::getI16(rec, InvoiceRecord::kDayOff));
        if (day < fromKey || day > toKey)
            return true;
        for (std::size_t line = 0; line < InvoiceRecord::kLines; ++line) {
            const auto* text = reinterpret_cast<const char*>(rec + InvoiceRecord::kItemNumberOff + line * InvoiceRecord::kNameWidth);
            const std::size_t length = strnlen(text, InvoiceRecord::kNameWidth);
            if (length == 0)
                continue;
            key.resize(length);
            for (std::size_t i = 0; i < length; ++i)
                key[i] = lowerAscii(text[i]);
            if (const auto it = wanted.find(key); it != wanted.end())
                *it->second += codec::getF32(rec, InvoiceRecord::kQtyOff + 4 * line);
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
    std::unordered_map<std::string, double*> wanted;
    std::vector<double> sums(items.size(), 0.0);
    for (std::size_t i = 0; i < items.size(); ++i) {
        keys[i] = codec::fitText(items[i], InvoiceRecord::kNameWidth);
        for (char& c : keys[i])
            c = lowerAscii(c);
        if (!keys[i].empty())
            wanted.try_emplace(keys[i], &sums[i]);
    }
    const int cause = SumLinesInRange(local, DateKey(from.year, from.month, from.day), DateKey(to.year, to.month, to.day), wanted);
    sold.assign(items.size(), 0.0);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!keys[i].empty())
            sold[i] = *wanted.at(keys[i]);
    return cause;
}
}  // namespace OrderEstimator
