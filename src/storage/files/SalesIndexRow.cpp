#include "storage/files/SalesIndexRow.h"

#include "storage/records/InvoiceRecord.h"

#include <cstring>

namespace {
using R = InvoiceRecord;
constexpr std::size_t kMoneyOff[salesrow::kMoneyFields] = {R::kTaxableSubtotalOff, R::kExemptSubtotalOff, R::kTax1Off,
                                                           R::kTax2Off, R::kHandlingOff, R::kTotalOff, R::kTotalCostOff};
constexpr std::size_t kLineTextOff[salesrow::kLineTexts] = {R::kItemNumberOff, R::kDescriptionOff, R::kCategoryOff,
                                                            R::kVendorOff, R::kDepartmentOff};
constexpr std::size_t kLineTextWidth[salesrow::kLineTexts] = {R::kNameWidth, R::kTextWidth, R::kTextWidth,
                                                              R::kTextWidth, R::kTextWidth};
constexpr std::size_t kLineNumberOff[salesrow::kLineNumbers] = {R::kQtyOff, R::kMarkdownOff, R::kPriceOff,
                                                                R::kExtendedOff, R::kCostOff, R::kCommissionOff};

// A text slot as a reader of the record sees it: up to its NUL, at most width - 1.
std::string_view slot(const std::uint8_t* record, std::size_t off, std::size_t width)
{
    const auto* s = reinterpret_cast<const char*>(record + off);
    const void* nul = std::memchr(s, 0, width);
    return std::string_view(s, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - s) : width - 1);
}

std::string_view saleText(const std::uint8_t* record, std::size_t t)
{
    if (t == salesrow::kCashier)
        return slot(record, R::kCashierOff, R::kNameWidth);
    if (t == salesrow::kSalesperson)
        return slot(record, R::kSalespersonOff, R::kNameWidth);
    if (t == salesrow::kPayType)
        return slot(record, R::kPayTypeOff, R::kNameWidth);
    return slot(record, R::kAddressOff + R::kTextWidth * (t - salesrow::kAddress), R::kTextWidth);
}

std::string_view lineText(const std::uint8_t* record, std::size_t line, std::size_t t)
{
    return slot(record, kLineTextOff[t] + kLineTextWidth[t] * line, kLineTextWidth[t]);
}
}  // namespace

void AppendSaleRow(const std::uint8_t* record, std::vector<std::uint8_t>& out)
{
    std::uint32_t mask = 0;
    std::size_t lines = 0;
    for (std::size_t line = 0; line < R::kLines; ++line) {
        bool used = false;
        for (std::size_t t = 0; t < salesrow::kLineTexts && !used; ++t)
            used = record[kLineTextOff[t] + kLineTextWidth[t] * line] != 0;
        for (std::size_t n = 0; n < salesrow::kLineNumbers && !used; ++n)
            used = salesrow::LoadU32(record + kLineNumberOff[n] + 4 * line) != 0;
        if (used) {
            mask |= 1u << line;
            ++lines;
        }
    }
    const std::size_t start = out.size();
    out.resize(start + salesrow::kFixedSize + salesrow::kLineSize * lines);
    std::uint8_t* row = out.data() + start;
    row[2] = static_cast<std::uint8_t>(lines);
    row[3] = record[R::kPriceLevelOff];
    std::memcpy(row + 4, record + R::kRecordNumberOff, 4);
    for (int i = 0; i < 4; ++i)
        row[8 + i] = static_cast<std::uint8_t>(mask >> (8 * i));
    std::memcpy(row + 12, record + R::kYearOff, 10);  // year, month, period, week, day: little-endian already
    for (std::size_t t = 0; t < salesrow::kSaleTexts; ++t)
        row[22 + t] = static_cast<std::uint8_t>(saleText(record, t).size());
    std::memcpy(row + 34, record + R::kSaleTimeOff, OleDate::kSize);
    for (std::size_t m = 0; m < salesrow::kMoneyFields; ++m)
        std::memcpy(row + 46 + 4 * m, record + kMoneyOff[m], 4);
    std::size_t at = salesrow::kFixedSize;
    for (std::size_t line = 0; line < R::kLines; ++line) {
        if (!(mask & (1u << line)))
            continue;
        for (std::size_t n = 0; n < salesrow::kLineNumbers; ++n)
            std::memcpy(row + at + 4 * n, record + kLineNumberOff[n] + 4 * line, 4);
        for (std::size_t t = 0; t < salesrow::kLineTexts; ++t)
            row[at + 4 * salesrow::kLineNumbers + t] = static_cast<std::uint8_t>(lineText(record, line, t).size());
        at += salesrow::kLineSize;
    }
    for (std::size_t t = 0; t < salesrow::kSaleTexts; ++t) {
        const std::string_view s = saleText(record, t);
        out.insert(out.end(), s.begin(), s.end());
    }
    for (std::size_t line = 0; line < R::kLines; ++line)
        if (mask & (1u << line))
            for (std::size_t t = 0; t < salesrow::kLineTexts; ++t) {
                const std::string_view s = lineText(record, line, t);
                out.insert(out.end(), s.begin(), s.end());
            }
    const std::size_t size = out.size() - start;
    out[start] = static_cast<std::uint8_t>(size);
    out[start + 1] = static_cast<std::uint8_t>(size >> 8);
}

namespace {
// The sum of n (at most 8) length bytes, read a word at a time: every row's
// lengths are added up when it is read.
std::size_t sumBytes(const std::uint8_t* p, std::size_t n)
{
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    constexpr std::uint64_t evens = 0x00FF00FF00FF00FFull;
    w = (w & evens) + ((w >> 8) & evens);                       // four sums of two, 16 bits each
    return static_cast<std::size_t>((w * 0x0001000100010001ull) >> 48);  // their sum in the top 16 bits
}
}  // namespace

bool IndexedSale::parse(const std::uint8_t* row, std::size_t size)
{
    if (size < salesrow::kFixedSize)
        return false;
    const std::size_t slotSize = salesrow::LoadU16(row);
    const std::size_t lines = row[2];
    const std::uint32_t mask = salesrow::LoadU32(row + 8);
    if (slotSize > size || lines > R::kLines || mask >> R::kLines)
        return false;
    const std::size_t fixed = salesrow::kFixedSize + salesrow::kLineSize * lines;
    if (fixed > slotSize)
        return false;
    static_assert(salesrow::kSaleTexts == 12 && salesrow::kLineTexts == 5);
    std::size_t at = fixed + sumBytes(row + 22, 8) + sumBytes(row + 30, 4);
    std::size_t s = 0;
    for (std::uint32_t m = mask; m != 0; m &= m - 1, ++s) {
        if (s == lines)
            return false;  // more slots named than stored
        slotOf_[static_cast<std::size_t>(std::countr_zero(m))] = static_cast<std::uint8_t>(s);
        lineTextsAt_[s] = static_cast<std::uint16_t>(at);
        at += sumBytes(lengthsOf(row, s), salesrow::kLineTexts);
    }
    if (s != lines || at > slotSize)
        return false;
    row_ = row;
    mask_ = mask;
    textsStart_ = static_cast<std::uint16_t>(fixed);
    return true;
}
