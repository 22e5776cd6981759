#pragma once
// The one pass over the sales (and the payments) that every report runs on. A
// report is an accumulator: the pass hands it each sale record, or payment
// record, in file order; the accumulator reads the fields it needs straight
// from the record's bytes, so a pass decodes only what its report compares.
// Progress is reported after each block read, and the callback can stop the
// pass. The sales are read from the sales index where it is sound (see
// storage/files/SalesIndex.h), the rest from the sales file, whose rows are
// then added to the index; a missing or stale index is built again on the way. The records visited are those counted when the pass began (see
// ChunkedScan.h for why each is read whole while registers keep selling).

#include "storage/files/PaymentFile.h"
#include "storage/files/SalesIndexRow.h"
#include "storage/records/InvoiceRecord.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CLocalFile;

// A stored amount as the cents it stands for: a 32-bit float holds 19.99 as
// 19.9899997..., which summed over thousands of sales drifts by dollars.
// Reports add amounts taken this way, so their sums are whole cents.
double CentAmount(float v);

// A text slot of a record up to its NUL.
std::string_view SlotText(const std::uint8_t* slot, std::size_t width);
// `lowered` (already lower case) occurs in the slot, ASCII case ignored.
bool SlotContains(std::string_view slot, std::string_view lowered);

// One stored sale, read in place: from the record's bytes, or from its row in
// the sales index, which carries every field read here (and no other), so a
// report gives the same answer from either.
class SaleView {
public:
    SaleView(const std::uint8_t* bytes, long long position) : p_(bytes), position_(position) {}
    SaleView(const IndexedSale& row, long long position) : row_(&row), position_(position) {}

    long long position() const { return position_; }

    std::int32_t recordNumber() const;
    int priceLevel() const { return row_ ? row_->priceLevel() : p_[InvoiceRecord::kPriceLevelOff]; }
    float taxableSubtotal() const { return money(salesrow::kTaxable, InvoiceRecord::kTaxableSubtotalOff); }
    float exemptSubtotal() const { return money(salesrow::kExempt, InvoiceRecord::kExemptSubtotalOff); }
    float tax1() const { return money(salesrow::kTax1, InvoiceRecord::kTax1Off); }
    float tax2() const { return money(salesrow::kTax2, InvoiceRecord::kTax2Off); }
    float handling() const { return money(salesrow::kHandling, InvoiceRecord::kHandlingOff); }
    float total() const { return money(salesrow::kTotal, InvoiceRecord::kTotalOff); }
    float totalCost() const { return money(salesrow::kTotalCost, InvoiceRecord::kTotalCostOff); }
    float qty(std::size_t line) const { return number(line, salesrow::kQty, InvoiceRecord::kQtyOff); }
    float markdown(std::size_t line) const { return number(line, salesrow::kMarkdown, InvoiceRecord::kMarkdownOff); }
    float price(std::size_t line) const { return number(line, salesrow::kPrice, InvoiceRecord::kPriceOff); }
    float extended(std::size_t line) const { return number(line, salesrow::kExtended, InvoiceRecord::kExtendedOff); }
    float cost(std::size_t line) const { return number(line, salesrow::kCost, InvoiceRecord::kCostOff); }
    float commission(std::size_t line) const
    {
        return number(line, salesrow::kCommission, InvoiceRecord::kCommissionOff);
    }
    std::string_view cashier() const { return name(salesrow::kCashier, InvoiceRecord::kCashierOff); }
    std::string_view salesperson() const { return name(salesrow::kSalesperson, InvoiceRecord::kSalespersonOff); }
    std::string_view payType() const { return name(salesrow::kPayType, InvoiceRecord::kPayTypeOff); }
    std::string_view address(std::size_t line) const
    {
        return row_ ? row_->address(line) : text(InvoiceRecord::kAddressOff, line);
    }
    std::string_view itemNumber(std::size_t line) const
    {
        return row_ ? row_->lineText(line, salesrow::kItemNumber)
                    : SlotText(p_ + InvoiceRecord::kItemNumberOff + InvoiceRecord::kNameWidth * line, InvoiceRecord::kNameWidth);
    }
    // The line slots that may hold something, one bit each: every slot of a
    // record, the stored ones of an index row. A slot left out is empty.
    std::uint32_t usedLines() const { return row_ ? row_->lineMask() : (1u << InvoiceRecord::kLines) - 1; }
    std::string_view lineText(std::size_t line, salesrow::LineText t) const
    {
        return row_ ? row_->lineText(line, t) : recordLineText(line, t);
    }
    std::string_view description(std::size_t line) const { return lineField(line, salesrow::kDescription, InvoiceRecord::kDescriptionOff); }
    std::string_view category(std::size_t line) const { return lineField(line, salesrow::kCategory, InvoiceRecord::kCategoryOff); }
    std::string_view vendor(std::size_t line) const { return lineField(line, salesrow::kVendor, InvoiceRecord::kVendorOff); }
    std::string_view department(std::size_t line) const { return lineField(line, salesrow::kDepartment, InvoiceRecord::kDepartmentOff); }
    int year() const { return date(0, InvoiceRecord::kYearOff); }
    int month() const { return date(1, InvoiceRecord::kMonthOff); }
    int period() const { return date(2, InvoiceRecord::kPeriodOff); }
    int week() const { return date(3, InvoiceRecord::kWeekOff); }
    int day() const { return date(4, InvoiceRecord::kDayOff); }
    int dateKey() const { return DateKey(year(), month(), day()); }
    OleDate saleTime() const;

private:
    std::string_view recordLineText(std::size_t line, salesrow::LineText t) const;
    float f(std::size_t off) const { return salesrow::LoadF32(p_ + off); }
    float money(salesrow::Money m, std::size_t off) const { return row_ ? row_->money(m) : f(off); }
    float number(std::size_t line, salesrow::LineNumber n, std::size_t off) const
    {
        return row_ ? row_->lineNumber(line, n) : f(off + 4 * line);
    }
    int date(int i, std::size_t off) const
    {
        return row_ ? row_->dateField(i) : static_cast<std::int16_t>(salesrow::LoadU16(p_ + off));
    }
    std::string_view name(salesrow::SaleText t, std::size_t off) const
    {
        return row_ ? row_->text(t) : SlotText(p_ + off, InvoiceRecord::kNameWidth);
    }
    std::string_view lineField(std::size_t line, salesrow::LineText t, std::size_t off) const
    {
        return row_ ? row_->lineText(line, t) : text(off, line);
    }
    std::string_view text(std::size_t off, std::size_t line) const
    {
        return SlotText(p_ + off + InvoiceRecord::kTextWidth * line, InvoiceRecord::kTextWidth);
    }

    const std::uint8_t* p_ = nullptr;
    const IndexedSale* row_ = nullptr;
    long long position_;
};

// Calls each(line) for the line slots of `lines` (SaleView::usedLines), in order.
template <class Each> void ForEachLine(std::uint32_t lines, Each each)
{
    for (; lines != 0; lines &= lines - 1)
        each(static_cast<std::size_t>(std::countr_zero(lines)));
}

// One stored payment, read in place.
class PaymentView {
public:
    explicit PaymentView(const std::uint8_t* bytes) : p_(bytes) {}
    std::int32_t invoiceNumber() const;
    float amount() const;
    OleDate date() const;
    std::string_view payType() const { return SlotText(p_ + PaymentRecord::kPayTypeOff, PaymentRecord::kPayTypeWidth); }
    std::string_view cashier() const { return SlotText(p_ + PaymentRecord::kCashierOff, PaymentRecord::kCashierWidth); }

private:
    const std::uint8_t* p_;
};

class SaleAccumulator {
public:
    virtual ~SaleAccumulator() = default;
    virtual void AddSale(const SaleView& sale) = 0;
};

class PaymentAccumulator {
public:
    virtual ~PaymentAccumulator() = default;
    virtual void AddPayment(const PaymentView& payment) = 0;
};

// done records of total so far; returns false to stop the pass.
using ScanProgress = std::function<bool(long long done, long long total)>;

enum class ScanOutcome {
    Done,       // every record counted at the start was visited (none when the file is missing)
    Cancelled,  // the progress callback stopped the pass
    Failed,     // the file could not be opened or read
};

ScanOutcome ScanSales(const CLocalFile& local, SaleAccumulator& report, const ScanProgress& progress = {});
ScanOutcome ScanPayments(const CLocalFile& local, PaymentAccumulator& report, const ScanProgress& progress = {});
// Sales, then payments, with one progress over both: the sales are weighed
// as their bytes are, so the bar moves evenly.
ScanOutcome ScanSalesAndPayments(const CLocalFile& local, SaleAccumulator& sales, PaymentAccumulator& payments,
                                 const ScanProgress& progress = {});
