#include "storage/records/InvoiceRecord.h"

#include "storage/records/ByteCodec.h"

#include <cstring>

namespace {
using FloatLines = std::array<float, InvoiceRecord::kLines>;
using TextLines = std::array<std::string, InvoiceRecord::kLines>;

struct FloatArray {
    std::size_t offset;
    FloatLines InvoiceRecord::*field;
};
const FloatArray kFloatArrays[] = {
    {InvoiceRecord::kQtyOff, &InvoiceRecord::qty},
    {InvoiceRecord::kMarkdownOff, &InvoiceRecord::markdownPercent},
    {InvoiceRecord::kPriceOff, &InvoiceRecord::price},
    {InvoiceRecord::kExtendedOff, &InvoiceRecord::extended},
    {InvoiceRecord::kCostOff, &InvoiceRecord::cost},
    {InvoiceRecord::kCommissionOff, &InvoiceRecord::commissionPercent},
};

struct FloatField {
    std::size_t offset;
    float InvoiceRecord::*field;
};
const FloatField kFloats[] = {
    {InvoiceRecord::kTaxRate1Off, &InvoiceRecord::taxRate1},
    {InvoiceRecord::kTaxRate2Off, &InvoiceRecord::taxRate2},
    {InvoiceRecord::kDiscountPercentOff, &InvoiceRecord::discountPercent},
    {InvoiceRecord::kTaxableSubtotalOff, &InvoiceRecord::taxableSubtotal},
    {InvoiceRecord::kExemptSubtotalOff, &InvoiceRecord::exemptSubtotal},
    {InvoiceRecord::kTax1Off, &InvoiceRecord::tax1},
    {InvoiceRecord::kTax2Off, &InvoiceRecord::tax2},
    {InvoiceRecord::kHandlingOff, &InvoiceRecord::handling},
    {InvoiceRecord::kTotalOff, &InvoiceRecord::total},
    {InvoiceRecord::kCashPaidOff, &InvoiceRecord::cashPaid},
    {InvoiceRecord::kChangeOff, &InvoiceRecord::change},
    {InvoiceRecord::kTotalCostOff, &InvoiceRecord::totalCost},
};

struct TextArray {
    std::size_t offset;
    std::size_t width;
    TextLines InvoiceRecord::*field;
};
const TextArray kTextArrays[] = {
    {InvoiceRecord::kItemNumberOff, InvoiceRecord::kNameWidth, &InvoiceRecord::itemNumber},
    {InvoiceRecord::kDescriptionOff, InvoiceRecord::kTextWidth, &InvoiceRecord::description},
    {InvoiceRecord::kCategoryOff, InvoiceRecord::kTextWidth, &InvoiceRecord::category},
    {InvoiceRecord::kVendorOff, InvoiceRecord::kTextWidth, &InvoiceRecord::vendor},
    {InvoiceRecord::kDepartmentOff, InvoiceRecord::kTextWidth, &InvoiceRecord::department},
};

struct TextField {
    std::size_t offset;
    std::string InvoiceRecord::*field;
};
const TextField kNames[] = {
    {InvoiceRecord::kCashierOff, &InvoiceRecord::cashier},
    {InvoiceRecord::kSalespersonOff, &InvoiceRecord::salesperson},
    {InvoiceRecord::kPayTypeOff, &InvoiceRecord::payType},
};

struct ShortField {
    std::size_t offset;
    std::int16_t InvoiceRecord::*field;
};
const ShortField kDateParts[] = {
    {InvoiceRecord::kYearOff, &InvoiceRecord::year},     {InvoiceRecord::kMonthOff, &InvoiceRecord::month},
    {InvoiceRecord::kPeriodOff, &InvoiceRecord::period}, {InvoiceRecord::kWeekOff, &InvoiceRecord::week},
    {InvoiceRecord::kDayOff, &InvoiceRecord::day},
};

std::string readText(const std::uint8_t* buf, std::size_t off, std::size_t width)
{
    // A slot without its NUL is read only to its capacity, so a rewrite never grows it.
    return codec::fitText(codec::getText(buf, off, width), width);
}
}  // namespace

void InvoiceRecord::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putU8(buf, kPaidOff, paid);
    codec::putU8(buf, kTermsIndexOff, termsIndex);
    codec::putU8(buf, kPriceLevelOff, priceLevel);
    codec::putU16(buf, kCustomerNumberOff, customerNumber);
    codec::putI32(buf, kRecordNumberOff, recordNumber);
    for (const auto& f : kFloats)
        codec::putF32(buf, f.offset, this->*f.field);
    for (const auto& a : kFloatArrays)
        for (std::size_t i = 0; i < kLines; ++i)
            codec::putF32(buf, a.offset + 4 * i, (this->*a.field)[i]);
    for (const auto& t : kNames)
        codec::putText(buf, t.offset, kNameWidth, this->*t.field);
    for (std::size_t i = 0; i < kAddressLines; ++i)
        codec::putText(buf, kAddressOff + kTextWidth * i, kTextWidth, address[i]);
    for (const auto& a : kTextArrays)
        for (std::size_t i = 0; i < kLines; ++i)
            codec::putText(buf, a.offset + a.width * i, a.width, (this->*a.field)[i]);
    for (std::size_t i = 0; i < kLines; ++i) {
        codec::putU8(buf, kLineModeOff + i, lineMode[i]);
        codec::putU8(buf, kTaxStatusOff + i, taxStatus[i]);
    }
    for (const auto& d : kDateParts)
        codec::putI16(buf, d.offset, this->*d.field);
    saleTime.encode(buf, kSaleTimeOff);
    secondDate.encode(buf, kSecondDateOff);
}

void InvoiceRecord::decode(const std::uint8_t* buf)
{
    paid = codec::getU8(buf, kPaidOff);
    termsIndex = codec::getU8(buf, kTermsIndexOff);
    priceLevel = codec::getU8(buf, kPriceLevelOff);
    customerNumber = codec::getU16(buf, kCustomerNumberOff);
    recordNumber = codec::getI32(buf, kRecordNumberOff);
    for (const auto& f : kFloats)
        this->*f.field = codec::getF32(buf, f.offset);
    for (const auto& a : kFloatArrays)
        for (std::size_t i = 0; i < kLines; ++i)
            (this->*a.field)[i] = codec::getF32(buf, a.offset + 4 * i);
    for (const auto& t : kNames)
        this->*t.field = readText(buf, t.offset, kNameWidth);
    for (std::size_t i = 0; i < kAddressLines; ++i)
        address[i] = readText(buf, kAddressOff + kTextWidth * i, kTextWidth);
    for (const auto& a : kTextArrays)
        for (std::size_t i = 0; i < kLines; ++i)
            (this->*a.field)[i] = readText(buf, a.offset + a.width * i, a.width);
    for (std::size_t i = 0; i < kLines; ++i) {
        lineMode[i] = codec::getU8(buf, kLineModeOff + i);
        taxStatus[i] = codec::getU8(buf, kTaxStatusOff + i);
    }
    for (const auto& d : kDateParts)
        this->*d.field = codec::getI16(buf, d.offset);
    saleTime = OleDate::decode(buf, kSaleTimeOff);
    secondDate = OleDate::decode(buf, kSecondDateOff);
}

InvoiceRecord ClearedInvoice()
{
    InvoiceRecord r;
    r.lineMode.fill(InvoiceRecord::kClearedLineMode);
    r.saleTime = OleDate{0.0, OleDate::kNotSet};
    r.secondDate = OleDate{0.0, OleDate::kNotSet};
    return r;
}

void DateRecord(InvoiceRecord& record, const CalendarTime& now)
{
    const OleDate stamp = OleDate::fromCalendar(now);
    // The week comes from the date itself, not from fields the caller may have left unset.
    CalendarTime normal;
    const int week = stamp.toCalendar(normal) ? normal.weekOfYear() : now.weekOfYear();
    record.year = static_cast<std::int16_t>(now.year);
    record.month = static_cast<std::int16_t>(now.month);
    record.period = static_cast<std::int16_t>(now.month / 4);
    record.week = static_cast<std::int16_t>(week);
    record.day = static_cast<std::int16_t>(now.day);
    record.saleTime = stamp;
}
