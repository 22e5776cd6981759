#include "purchasing/PurchaseOrderReport.h"

#include "storage/files/SalesFileHeader.h"
#include "storage/records/PurchaseOrderRecord.h"
#include "storage/records/TextFormat.h"
#include "storage/records/VendorRecord.h"

#include <clocale>
#include <locale.h>

namespace {
// Line, Vendor#, Description, Qty, Received, B/O, Cost, Extend: 755 page units
// with the gaps, the width between the margins. Courier at 18 units sets about
// 11 units a character: 23-character vendor numbers and descriptions are cut
// to what fits, quantities up to 99999.99 fit, cost and amount up to 9999999.99.
const std::vector<std::int16_t> kWidths = {35, 120, 190, 70, 70, 60, 95, 115};
// The first column is left-aligned: the address blocks and the title lines
// run on from it across the page.
const std::vector<std::uint16_t> kFormats = {0, 0, 0, 2, 2, 2, 2, 2};

// CR LF ended lines as LF ended ones.
std::string lines(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    if (!out.empty() && out.back() != '\n')
        out += '\n';
    return out;
}

void addIf(std::string& out, const char* format, const std::string& value)
{
    if (!value.empty())
        out += strprintf(format, value.c_str());
}
}  // namespace

PurchaseOrderReport BuildPurchaseOrderReport(const PurchaseOrderRecord& order, const SalesFileHeader& store,
                                             const VendorRecord* vendor)
{
    // Amounts print with a point whatever the locale.
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    const locale_t previous = uselocale(c);
    PurchaseOrderReport report;
    std::string& out = report.body;
    addIf(out, "%s\n", store.companyName);
    out += lines(store.companyAddress);
    addIf(out, "ph#   %s\n", store.phone);
    addIf(out, "ph#   %s\n", store.phone2);
    addIf(out, "Fax#  %s\n", store.fax);
    addIf(out, "Cell# %s\n", store.cell);
    addIf(out, "Contact: %s\n", store.contact);
    if (vendor && !vendor->company().empty()) {
        using V = VendorRecord;
        const auto& t = vendor->text;
        out += "\nVendor:\n";
        addIf(out, "%s\n", t[V::kCompany]);
        addIf(out, "%s\n", t[V::kAddress1]);
        addIf(out, "%s\n", t[V::kAddress2]);
        std::string city = t[V::kCity];
        if (!t[V::kState].empty())
            city += (city.empty() ? "" : ", ") + t[V::kState];
        if (!t[V::kZip].empty())
            city += (city.empty() ? "" : " ") + t[V::kZip];
        addIf(out, "%s\n", city);
        addIf(out, "ph#   %s\n", t[V::kPhone]);
        addIf(out, "Fax#  %s\n", t[V::kFax]);
        addIf(out, "Contact: %s\n", t[V::kContact1]);
    }
    out += strprintf("\nPurchase Order# %s\n\n", order.number.c_str());
    out += "\tVendor#\tDescription\tQty\tReceived\tB/O\tCost\tExtend\n";
    for (int i = 0; i < order.lineCount; ++i) {
        const PurchaseOrderLine& l = order.lines[static_cast<std::size_t>(i)];
        out += strprintf("%d\t%s\t%s\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\n", i + 1, l.vendorNumber.c_str(), l.description.c_str(),
                         l.qty, l.received, l.backOrder, l.cost, l.amount);
    }
    out += "\n";
    const std::pair<const char*, float> totals[] = {
        {"Subtotal", order.subtotal}, {"Discount", order.discount}, {"Shipping", order.shipping}, {"Total", order.total}};
    for (const auto& [name, value] : totals)
        out += strprintf("\t\t\t\t\t\t%s\t%.2f\n", name, value);
    uselocale(previous);
    report.widths = kWidths;
    report.formats = kFormats;
    return report;
}
