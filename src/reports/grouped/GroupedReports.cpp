#include "reports/grouped/GroupedReports.h"

#include "reports/grouped/GroupedShapes.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <bit>
#include <cmath>

const std::array<GroupedReportKind, 18>& GroupedReportKinds()
{
    using A = GroupedAsk;
    using S = GroupedShape;
    using B = GroupedBy;
    static const std::array<GroupedReportKind, 18> kinds{{
        {"All Product Sales Summary", "Sales History\r\n\r\n", A::Range, S::ProductTable, B::Products, ""},
        {"Category Sales By Product", "Category Sales By Product Summary\r\n\r\n", A::Category, S::ProductTable,
         B::Products, ""},
        {"Vendor Sales By Product", "Sales Summary - Vendor Detail\r\n\r\n", A::Vendor, S::ProductTable, B::Products,
         ""},
        {"All Category Sales Summary", "All Category Sales Summary\r\n\r\n", A::Range, S::GroupPercent, B::Categories,
         "Category Chart"},
        {"All Vendor Sales Summary", "All Vendor Sales Summary\r\n\r\n", A::Range, S::GroupPercent, B::Vendors,
         "Vendor Chart"},
        {"Customer Sales List", "Customer Sales List\r\n\r\n", A::Customer, S::SaleList, B::Customers, ""},
        {"Customer Sales By Product", "Customer Sales By Product\r\n\r\n", A::Customer, S::EntityByProduct,
         B::Products, ""},
        {"Customer Sales By Categories", "Customer Sales By Category\r\n\r\n", A::Customer, S::EntityByGroup,
         B::Categories, "Customer By Category Chart"},
        {"Customer Sales By Vendors", "Customer Sales By Vendor\r\n\r\n", A::Customer, S::EntityByGroup, B::Vendors,
         "Customer By Vendor Chart"},
        {"All Customers Sales Summary", "All Customers Sales Summary\r\n\r\n", A::Range, S::AllEntities,
         B::Customers, ""},
        {"All Cashiers Sales Summary", "All Cashiers Sales Summary\r\n\r\n", A::Range, S::AllEntities, B::Cashiers,
         ""},
        {"Cashier Sales By Product", "Cashier Sales By Product\r\n\r\n", A::Cashier, S::EntityByProduct, B::Products,
         ""},
        {"Cashier Sales By Categories", "Cashier Sales By Category\r\n\r\n", A::Cashier, S::EntityByGroup,
         B::Categories, "Customer By Category Chart"},
        {"Cashier Sales By Vendors", "Cashier Sales By Vendor\r\n\r\n", A::Cashier, S::EntityByGroup, B::Vendors,
         "Customer By Vendor Chart"},
        {"All Salespersons Sales Summary", "All Salespersons Sales Summary\r\n\r\n", A::Range, S::AllEntities,
         B::Salespeople, ""},
        {"Salesperson Sales By Product", "Salesperson Sales By Product\r\n\r\n", A::Salesperson, S::EntityByProduct,
         B::Products, ""},
        {"Salesperson Sales By Categories", "Salesperson Sales By Category\r\n\r\n", A::Salesperson,
         S::EntityByGroup, B::Categories, "Salesperson By Category Chart"},
        {"Salesperosn Sales By Vendors", "Salesperson Sales By Vendor\r\n\r\n", A::Salesperson, S::EntityByGroup,
         B::Vendors, "Salesperson By Vendor Chart"},
    }};
    return kinds;
}

const GroupedReportKind* FindGroupedReport(const std::string& item)
{
    for (const GroupedReportKind& kind : GroupedReportKinds())
        if (item == kind.item)
            return &kind;
    return nullptr;
}

ScanOutcome BuildGroupedReport(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                               const ScanProgress& progress)
{
    report = {};
    report.heading = grouped::Heading(request);
    switch (request.kind->shape) {
    case GroupedShape::ProductTable: return grouped::BuildProductTable(local, request, report, progress);
    case GroupedShape::EntityByProduct: return grouped::BuildEntityByProduct(local, request, report, progress);
    case GroupedShape::GroupPercent:
    case GroupedShape::EntityByGroup: return grouped::BuildGroupShares(local, request, report, progress);
    case GroupedShape::SaleList: return grouped::BuildSaleList(local, request, report, progress);
    case GroupedShape::AllEntities: return grouped::BuildAllEntities(local, request, report, progress);
    }
    return ScanOutcome::Failed;
}

namespace grouped {

namespace {
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string Lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string Cut(std::string_view s, std::size_t n) { return std::string(s.substr(0, n)); }

double Money(double v)
{
    const double cents = std::round(v * 100);
    return cents == 0 ? 0.0 : cents / 100;
}

LineFigures Line(const SaleView& sale, std::size_t line, LineSide side)
{
    LineFigures f;
    f.qty = sale.qty(line);
    f.cost = CentAmount(sale.cost(line)) * f.qty;
    if (side == LineSide::Listed) {
        f.list = CentAmount(sale.price(line)) * f.qty;
        f.discount = sale.markdown(line) * f.list / 100;
    } else {
        f.extended = CentAmount(sale.extended(line));
        f.commission = f.extended * sale.commission(line) / 100;
    }
    return f;
}

std::string_view Salesperson(const SaleView& sale) { return sale.salesperson(); }

std::string CustomerText(const SaleView& sale)
{
    std::string text;
    for (std::size_t i = 0; i < InvoiceRecord::kAddressLines; ++i) {
        if (i > 0)
            text += ' ';
        text += sale.address(i);
    }
    return text;
}

SaleFilter::SaleFilter(const GroupedRequest& request)
    : firstKey_(DateKey(request.first.year, request.first.month, request.first.day)),
      lastKey_(DateKey(request.last.year, request.last.month, request.last.day)),
      ask_(request.kind->ask),
      key_(request.kind->ask == GroupedAsk::Customer ? Lower(request.key) : request.key)
{
}

bool SaleFilter::Takes(const SaleView& sale) const
{
    const int key = sale.dateKey();
    if (key < firstKey_ || key > lastKey_)
        return false;
    switch (ask_) {
    case GroupedAsk::Customer: return key_.empty() || SlotContains(CustomerText(sale), key_);
    case GroupedAsk::Cashier: return SameIgnoringCase(sale.cashier(), key_);
    case GroupedAsk::Salesperson: return SameIgnoringCase(Salesperson(sale), key_);
    default: return true;
    }
}

bool NameIndex::same(std::string_view stored, std::string_view name) const
{
    return ignoreCase_ ? SameIgnoringCase(stored, name) : stored == name;
}

void NameIndex::Add(std::string_view name, std::size_t group)
{
    const std::uint64_t h = hash(name);
    if (const std::size_t k = indexOf(h, name); k < names_.size())
        return groups_[k].push_back(group);
    names_.emplace_back(name);
    hashes_.push_back(h);
    first_.push_back(group);
    groups_.push_back({group});
    if (slots_.size() < 2 * names_.size())
        return rehash();
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hashes_.back() & mask;
    while (slots_[slot] != 0)
        slot = (slot + 1) & mask;
    slots_[slot] = static_cast<std::uint32_t>(names_.size());
}

void NameIndex::rehash()
{
    std::size_t size = 16;
    while (size < 4 * names_.size())
        size *= 2;
    slots_.assign(size, 0);
    for (std::size_t k = 0; k < names_.size(); ++k) {
        std::size_t slot = hashes_[k] & (size - 1);
        while (slots_[slot] != 0)
            slot = (slot + 1) & (size - 1);
        slots_[slot] = static_cast<std::uint32_t>(k + 1);
    }
}

std::string Heading(const GroupedRequest& request)
{
    const GroupedReportKind& kind = *request.kind;
    std::string text = kind.heading;
    text += FormatCalendarTime(request.first, "%m/%d/%Y - ");
    // The list of every customer, cashier or salesperson starts on the next line.
    const bool oneLine = kind.shape == GroupedShape::AllEntities;
    text += FormatCalendarTime(request.last, oneLine ? "%m/%d/%Y\r\n" : "%m/%d/%Y\r\n\r\n");
    if (kind.ask == GroupedAsk::Category)
        text += "Category: " + request.key + "\r\n\r\n";
    else if (kind.ask == GroupedAsk::Vendor)
        text += "Vendor: " + request.key + "\r\n\r\n";
    else if (kind.shape == GroupedShape::EntityByGroup)
        text += "Search: " + request.key + "\r\n\r\n";
    else if (kind.ask != GroupedAsk::Range)
        text += "Search:\t" + request.key + "\r\n\r\n";
    return text;
}

}  // namespace grouped
