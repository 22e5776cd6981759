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

// A row read in place. Parsing only checks that the row holds together; the
// texts and line slots are located when a report first asks for one, so a
// report of amounts and dates never walks them.
class IndexedSale {
public:
    // False when the row does not hold together within `size` bytes (a damaged index).
    bool parse(const std::uint8_t* row, std::size_t size);
    std::size_t slotSize() const { return salesrow::LoadU16(row_); }

    std::int32_t recordNumber() const { return static_cast<std::int32_t>(salesrow::LoadU32(row_ + 4)); }
    int priceLevel() const { return row_[3]; }
    int dateField(int i) const { return static_cast<std::int16_t>(salesrow::LoadU16(row_ + 12 + 2 * i)); }
    OleDate saleTime() const { return OleDate::decode(row_, 34); }
    float money(salesrow::Money m) const { return salesrow::LoadF32(row_ + 46 + 4 * m); }
    std::string_view text(salesrow::SaleText t) const { return located().texts_[t]; }
    std::string_view address(std::size_t line) const { return located().texts_[salesrow::kAddress + line]; }
    std::string_view lineText(std::size_t line, salesrow::LineText t) const
    {
        const int s = located().slotOf_[line];
        return s < 0 ? std::string_view() : lineTexts_[static_cast<std::size_t>(s)][t];
    }
    float lineNumber(std::size_t line, salesrow::LineNumber n) const
    {
        const int s = located().slotOf_[line];
        return s < 0 ? 0.0f : salesrow::LoadF32(row_ + salesrow::kFixedSize + salesrow::kLineSize * s + 4 * n);
    }

private:
    const IndexedSale& located() const
    {
        if (!located_)
            locate();
        return *this;
    }
    void locate() const;

    const std::uint8_t* row_ = nullptr;
    mutable bool located_ = false;
    mutable std::array<std::int8_t, 20> slotOf_{};
    mutable std::array<std::string_view, salesrow::kSaleTexts> texts_;
    mutable std::array<std::array<std::string_view, salesrow::kLineTexts>, 20> lineTexts_;
};
