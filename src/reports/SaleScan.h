#pragma once
// The one pass over the sales (and the payments) that every report runs on. A
// report is an accumulator: the pass hands it each sale record, or payment
// record, in file order; the accumulator reads the fields it needs straight
// from the record's bytes, so a pass decodes only what its report compares.
// Progress is reported after each block read, and the callback can stop the
// pass. The records visited are those counted when the pass began (see
// ChunkedScan.h for why each is read whole while registers keep selling).

#include "storage/files/PaymentFile.h"
#include "storage/records/InvoiceRecord.h"

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

// One stored sale, read in place.
class SaleView {
public:
    SaleView(const std::uint8_t* bytes, long long position) : p_(bytes), position_(position) {}

    long long position() const { return position_; }
    const std::uint8_t* bytes() const { return p_; }
    InvoiceRecord decode() const;

    std::int32_t recordNumber() const;
    int priceLevel() const { return p_[InvoiceRecord::kPriceLevelOff]; }
    float taxableSubtotal() const { return f(InvoiceRecord::kTaxableSubtotalOff); }
    float exemptSubtotal() const { return f(InvoiceRecord::kExemptSubtotalOff); }
    float tax1() const { return f(InvoiceRecord::kTax1Off); }
    float tax2() const { return f(InvoiceRecord::kTax2Off); }
    float handling() const { return f(InvoiceRecord::kHandlingOff); }
    float total() const { return f(InvoiceRecord::kTotalOff); }
    float totalCost() const { return f(InvoiceRecord::kTotalCostOff); }
    float price(std::size_t line) const { return f(InvoiceRecord::kPriceOff + 4 * line); }
    float cost(std::size_t line) const { return f(InvoiceRecord::kCostOff + 4 * line); }
    std::string_view cashier() const { return SlotText(p_ + InvoiceRecord::kCashierOff, InvoiceRecord::kNameWidth); }
    std::string_view payType() const { return SlotText(p_ + InvoiceRecord::kPayTypeOff, InvoiceRecord::kNameWidth); }
    std::string_view address(std::size_t line) const { return text(InvoiceRecord::kAddressOff, line); }
    std::string_view itemNumber(std::size_t line) const
    {
        return SlotText(p_ + InvoiceRecord::kItemNumberOff + InvoiceRecord::kNameWidth * line, InvoiceRecord::kNameWidth);
    }
    std::string_view description(std::size_t line) const { return text(InvoiceRecord::kDescriptionOff, line); }
    std::string_view category(std::size_t line) const { return text(InvoiceRecord::kCategoryOff, line); }
    std::string_view vendor(std::size_t line) const { return text(InvoiceRecord::kVendorOff, line); }
    std::string_view department(std::size_t line) const { return text(InvoiceRecord::kDepartmentOff, line); }
    int year() const { return i16(InvoiceRecord::kYearOff); }
    int month() const { return i16(InvoiceRecord::kMonthOff); }
    int period() const { return i16(InvoiceRecord::kPeriodOff); }
    int week() const { return i16(InvoiceRecord::kWeekOff); }
    int day() const { return i16(InvoiceRecord::kDayOff); }
    int dateKey() const { return DateKey(year(), month(), day()); }

private:
    float f(std::size_t off) const;
    int i16(std::size_t off) const;
    std::string_view text(std::size_t off, std::size_t line) const
    {
        return SlotText(p_ + off + InvoiceRecord::kTextWidth * line, InvoiceRecord::kTextWidth);
    }

    const std::uint8_t* p_;
    long long position_;
};

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
