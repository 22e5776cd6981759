#pragma once
// One row of the sales index: the fields of a stored sale that the reports
// read, packed little-endian without the empty line slots and the unused
// width of the text fields. A row is about a twentieth of its 4728-byte record.
//
//   0  u16 slot size (the row's bytes; an edit may leave unused bytes at the end)
//   2  u8  line slots stored          3  u8 price level
//   4  i32 record number              8  u32 the line slots stored, one bit each
//  12  i16 year, month, period, week, day
//  22  u8  lengths of the 12 sale texts (cashier, salesperson, pay type, 9 customer lines)
//  34  the sale time as stored (12 bytes)
//  46  f32 taxable and exempt subtotals, tax 1, tax 2, handling, total, total cost
//  74  per stored line slot: f32 qty, markdown, price, extended, cost, commission,
//      then u8 lengths of its item number, description, category, vendor, department
//      then the texts, sale texts first, then each stored line's
//
// A line slot is stored when any of those fields is not empty or zero, so a
// slot left out reads exactly as the record would: empty texts, +0 amounts.
// Texts are kept as a record's reader sees them (up to the NUL).

#include "storage/records/OleDate.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace salesrow {

enum Money { kTaxable, kExempt, kTax1, kTax2, kHandling, kTotal, kTotalCost, kMoneyFields };
enum SaleText { kCashier, kSalesperson, kPayType, kAddress, kSaleTexts = kAddress + 9 };
enum LineText { kItemNumber, kDescription, kCategory, kVendor, kDepartment, kLineTexts };
enum LineNumber { kQty, kMarkdown, kPrice, kExtended, kCost, kCommission, kLineNumbers };

constexpr std::size_t kSlotSizeOff = 0;
constexpr std::size_t kFixedSize = 74;
constexpr std::size_t kLineSize = 4 * kLineNumbers + kLineTexts;

inline std::uint16_t LoadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t LoadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline float LoadF32(const std::uint8_t* p) { return std::bit_cast<float>(LoadU32(p)); }

}  // namespace salesrow

// Appends the row of a stored sale (its 4728 record bytes) to `out`.
void AppendSaleRow(const std::uint8_t* record, std::vector<std::uint8_t>& out);

// A row read in place. Parsing checks that the row holds together and notes
// where each stored slot's texts begin, so a text is found with a few adds and
// a report that asks only for the slots the row holds never visits the others.
class IndexedSale {
public:
    // False when the row does not hold together within `size` bytes (a damaged index).
    bool parse(const std::uint8_t* row, std::size_t size);
    std::size_t slotSize() const { return salesrow::LoadU16(row_); }

    std::int32_t recordNumber() const { return static_cast<std::int32_t>(salesrow::LoadU32(row_ + 4)); }
    int priceLevel() const { return row_[3]; }
    // The line slots stored, one bit each; a slot not stored is empty.
    std::uint32_t lineMask() const { return mask_; }
    int dateField(int i) const { return static_cast<std::int16_t>(salesrow::LoadU16(row_ + 12 + 2 * i)); }
    OleDate saleTime() const { return OleDate::decode(row_, 34); }
    float money(salesrow::Money m) const { return salesrow::LoadF32(row_ + 46 + 4 * m); }
    std::string_view text(salesrow::SaleText t) const
    {
        std::size_t at = textsStart_;
        for (std::size_t i = 0; i < static_cast<std::size_t>(t); ++i)
            at += row_[22 + i];
        return chars(at, row_[22 + t]);
    }
    std::string_view address(std::size_t line) const
    {
        return text(static_cast<salesrow::SaleText>(salesrow::kAddress + line));
    }
    std::string_view lineText(std::size_t line, salesrow::LineText t) const
    {
        if (!(mask_ >> line & 1))
            return {};
        const std::size_t s = slotOf_[line];
        const std::uint8_t* lengths = lengthsOf(row_, s);
        std::size_t at = lineTextsAt_[s];
        for (std::size_t i = 0; i < static_cast<std::size_t>(t); ++i)
            at += lengths[i];
        return chars(at, lengths[t]);
    }
    float lineNumber(std::size_t line, salesrow::LineNumber n) const
    {
        if (!(mask_ >> line & 1))
            return 0.0f;
        return salesrow::LoadF32(row_ + salesrow::kFixedSize + salesrow::kLineSize * slotOf_[line] + 4 * n);
    }

private:
    std::string_view chars(std::size_t at, std::size_t n) const
    {
        return std::string_view(reinterpret_cast<const char*>(row_) + at, n);
    }
    static const std::uint8_t* lengthsOf(const std::uint8_t* row, std::size_t s)
    {
        return row + salesrow::kFixedSize + salesrow::kLineSize * static_cast<std::size_t>(s) + 4 * salesrow::kLineNumbers;
    }

    const std::uint8_t* row_ = nullptr;
    std::uint32_t mask_ = 0;                       // the line slots stored
    std::uint16_t textsStart_ = 0;                 // where the sale texts begin
    std::array<std::uint8_t, 20> slotOf_{};        // a stored line's slot (of the lines in mask_ only)
    std::array<std::uint16_t, 20> lineTextsAt_{};  // where each stored slot's texts begin
};
