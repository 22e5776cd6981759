#include "sale/SaleTotals.h"

#include "storage/files/ListFiles.h"
#include "storage/files/ProductFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/ProductRecord.h"
#include "storage/records/TaxTableRecord.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

double wholeUnits(double v) { return std::floor(v + 0.5); }

}  // namespace

float StoreAmount(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(FLT_MAX))
        return 0.0f;
    return static_cast<float>(value);
}

std::string FixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0;
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed,
                                         decimals);
    std::string digits = ec == std::errc{} ? std::string(buffer, end) : std::string("0");
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return (value < 0 && !zero) ? "-" + digits : digits;
}

double ReadNumber(const std::string& text)
{
    std::size_t at = text.find_first_not_of(" \t\r\n");
    if (at == std::string::npos)
        return 0;
    if (text[at] == '+')
        ++at;
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), v);
    if (ec != std::errc{} || !std::isfinite(v))
        return 0;
    return v;
}

float RoundToCents(double value)
{
    if (!std::isfinite(value))
        return 0.0f;
    return StoreAmount(ReadNumber(FixedText(value, 2)));
}

std::string AmountText(const SalesFileHeader& header, double value, bool taxed)
{
    const std::string text = FixedText(value, header.showCents != 0 ? 2 : 0);
    if (taxed)
        return text;
    // The tax-exempt mark goes after the sign: 012.50, -03.00.
    return text[0] == '-' ? "-0" + text.substr(1) : "0" + text;
}

std::string TaxLabel(const SalesFileHeader& header) { return header.taxFormula == 1 ? "v.a.t." : "Tax"; }

void RecalculateTotals(InvoiceRecord& r, const SalesFileHeader& h)
{
    const bool cents = h.showCents != 0;
    const bool uk = h.taxFormula == 1;
    const bool usa = h.taxFormula == 0;

    // Inputs that are not numbers (a damaged record, say) count as 0.
    for (auto* lineField : {&r.qty, &r.price, &r.markdownPercent, &r.cost})
        for (float& v : *lineField)
            v = StoreAmount(v);
    for (float* v : {&r.discountPercent, &r.handling, &r.cashPaid, &r.taxRate1, &r.taxRate2})
        *v = StoreAmount(*v);

    // 1. Clear the sums; the typed discount and handling are inputs.
    r.taxableSubtotal = 0;
    r.exemptSubtotal = 0;
    r.totalCost = 0;
    r.tax1 = 0;
    r.tax2 = 0;

    // 2. Line amounts, in slot order, empty lines included.
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        r.totalCost = StoreAmount(static_cast<double>(r.totalCost) + static_cast<double>(r.cost[i]) * r.qty[i]);
        r.extended[i] =
            StoreAmount((100.0 - r.markdownPercent[i]) * static_cast<double>(r.qty[i]) * r.price[i] / 100.0);
        if (!cents)
            r.extended[i] = StoreAmount(wholeUnits(r.extended[i]));
        r.extended[i] = RoundToCents(r.extended[i]);
        float& subtotal = r.taxStatus[i] == 0 ? r.exemptSubtotal : r.taxableSubtotal;
        subtotal = StoreAmount(static_cast<double>(subtotal) + r.extended[i]);
    }

    // 3. Discount levels: the highest level whose threshold is reached wins.
    if (h.salesDiscountOn) {
        const double undiscounted = static_cast<double>(r.taxableSubtotal) + r.exemptSubtotal;
        for (int level = 5; level >= 0; --level) {
            r.discountPercent = 0;
            // A level whose threshold or percent is not a number never applies.
            const float threshold = StoreAmount(h.discountSubtotal[level]);
            if (threshold > 0 && undiscounted >= threshold) {
                r.discountPercent = StoreAmount(h.discountPercent[level]);
                break;
            }
        }
    }

    // 4. The discount off both subtotals.
    for (float* subtotal : {&r.taxableSubtotal, &r.exemptSubtotal}) {
        *subtotal = StoreAmount(*subtotal - static_cast<double>(r.discountPercent) * *subtotal / 100.0);
        if (!cents)
            *subtotal = StoreAmount(wholeUnits(*subtotal));
    }

    // 5. Taxes of the discounted line amounts, summed unrounded.
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        const double e = r.extended[i];
        const double a = e - e * r.discountPercent / 100.0;
        const bool first = r.taxStatus[i] == 1 || r.taxStatus[i] == 3;
        const bool second = r.taxStatus[i] == 2 || r.taxStatus[i] == 3;
        if (usa) {
            if (first)
                r.tax1 = StoreAmount(r.tax1 + a * r.taxRate1 / 100.0);
            if (second)
                r.tax2 = StoreAmount(r.tax2 + a * r.taxRate2 / 100.0);
        } else if (uk) {
            if (first)
                r.tax1 = StoreAmount(r.tax1 + (a - a / (r.taxRate1 / 100.0 + 1.0)));
            if (second)
                r.tax2 = StoreAmount(r.tax2 + (a - a / (r.taxRate2 / 100.0 + 1.0)));
        }
    }

    // 6. Whole units when cents are off.
    if (!cents) {
        for (float* v : {&r.exemptSubtotal, &r.taxableSubtotal, &r.tax1, &r.tax2})
            *v = StoreAmount(wholeUnits(*v));
    }

    // 7.
    r.tax1 = RoundToCents(r.tax1);
    r.tax2 = RoundToCents(r.tax2);

    // 8. Under the UK formula the taxes are inside the prices already.
    double total = static_cast<double>(r.taxableSubtotal) + r.exemptSubtotal;
    if (!uk)
        total += static_cast<double>(r.tax1) + r.tax2;
    r.total = StoreAmount(total + r.handling);

    // 9.
    r.change = StoreAmount(static_cast<double>(r.cashPaid) - r.total);

    // 10.
    for (float* v : {&r.discountPercent, &r.taxableSubtotal, &r.exemptSubtotal, &r.handling, &r.total, &r.cashPaid,
                     &r.change})
        *v = RoundToCents(*v);
}

void LookupTaxRates(const CLocalFile& local, const SalesFileHeader& header, InvoiceRecord& record,
                    const std::string& taxTableName)
{
    if (header.simpleTax) {
        record.taxRate1 = StoreAmount(header.simpleTax1);
        record.taxRate2 = StoreAmount(header.simpleTax2);
        return;
    }
    TaxTableRecord zone;
    if (FindTaxZone(local, taxTableName, zone)) {
        record.taxRate1 = StoreAmount(zone.tax1);
        record.taxRate2 = StoreAmount(zone.tax2);
    } else {
        record.taxRate1 = 0;
        record.taxRate2 = 0;
    }
}

float PriceAtLevel(const ProductRecord& product, int level)
{
    level = std::clamp(level, 0, static_cast<int>(ProductRecord::kPriceLevels) - 1);
    float price = product.price[level];
    while (!(price > 0) && level > 0)
        price = product.price[--level];
    return price;
}

void RepriceLines(const CLocalFile& local, InvoiceRecord& record, int level)
{
    std::vector<std::string> codes(record.itemNumber.begin(), record.itemNumber.end());
    std::vector<std::optional<ProductRecord>> found;
    LookupManyForSale(local, codes, found);
    for (std::size_t i = 0; i < found.size(); ++i)
        if (!codes[i].empty() && found[i])
            record.price[i] = PriceAtLevel(*found[i], level);
}

bool SalePeriodOn(const SalesFileHeader& header, const CalendarTime& now)
{
    if (!header.saleDatesOn || !header.saleFirstDay.isValid() || !header.saleLastDay.isValid())
        return false;
    const OleDate at = OleDate::fromCalendar(now);
    return header.saleFirstDay.value <= at.value && header.saleLastDay.value >= at.value;
}
