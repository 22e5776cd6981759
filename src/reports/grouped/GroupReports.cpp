// The reports by category or by vendor: each group's list price, discount,
// gross, cost and profit, then each group's share of the list price, over the
// sales of the days (every sale, or one customer search's, cashier's or
// salesperson's), with the shares as the chart's slices.
#include "reports/grouped/GroupedShapes.h"

#include "storage/files/SalesFileHeader.h"
#include "storage/files/VendorFile.h"
#include "storage/records/TextFormat.h"

namespace grouped {

namespace {
// A share of the grand list price in percent; nothing sold gives 0.
double share(double part, double grand) { return grand != 0 ? part * 100 / grand : 0; }
}  // namespace
}  // namespace grouped

std::vector<std::string> CategoryList(const CLocalFile& local)
{
    SalesFileHeader header;
    ReadHeader(local, header);
    std::vector<std::string> names;
    std::size_t at = 0;
    const std::string& list = header.categories;
    while (at < list.size()) {
        std::size_t end = list.find('\n', at);
        if (end == std::string::npos)
            end = list.size();
        std::string name = list.substr(at, end - at);
        if (!name.empty() && name.back() == '\r')
            name.pop_back();
        if (!name.empty())
            names.push_back(std::move(name));
        at = end + 1;
    }
    return names;
}

namespace grouped {

ScanOutcome BuildGroupShares(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                             const ScanProgress& progress)
{
    const bool byVendor = request.kind->by == GroupedBy::Vendors;
    std::vector<std::string> names;
    if (byVendor) {
        for (const VendorRecord& v : ReadVendors(local))
            names.push_back(v.company());
    } else {
        names = CategoryList(local);
    }
    NameIndex index(byVendor);  // vendors are matched ignoring case, categories exactly
    for (std::size_t i = 0; i < names.size(); ++i)
        index.Add(names[i], i);

    struct Group {
        double list = 0, discount = 0, cost = 0;
    };
    std::vector<Group> groups(names.size());
    const SaleFilter filter(request);
    const ScanOutcome out = ScanEach(local, progress, [&](const SaleView& sale) {
        if (!filter.Takes(sale))
            return;
        ForEachLine(sale.usedLines(), [&](std::size_t line) {
            const std::string_view name = byVendor ? sale.vendor(line) : sale.category(line);
            const auto found = !name.empty() ? index.Find(name) : std::span<const std::size_t>();
            if (found.empty())
                return;
            const LineFigures f = Line(sale, line, LineSide::Listed);
            for (std::size_t g : found) {
                groups[g].list += f.list;
                groups[g].discount += f.discount;
                groups[g].cost += f.cost;
            }
        });
    });
    if (out != ScanOutcome::Done)
        return out;

    // Every group when all are reported; one entity's report leaves out the
    // groups it sold nothing of.
    const bool everyGroup = request.kind->shape == GroupedShape::GroupPercent;
    std::string& body = report.body;
    std::vector<std::size_t> shown;
    std::vector<double> lists(groups.size());
    double grand = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const double list = Money(groups[g].list), discount = Money(groups[g].discount), cost = Money(groups[g].cost);
        const double gross = Money(list - discount), profit = Money(gross - cost);
        if (!everyGroup && list == 0)
            continue;
        shown.push_back(g);
        lists[g] = list;
        grand += list;
        body += names[g] + "\r\n";
        if (everyGroup) {
            body += strprintf("List Price\t% 9.2f\r\n", list);
            body += strprintf("Discounted\t% 9.2f\r\n", discount);
            body += strprintf(byVendor ? "Net       \t% 9.2f\r\n" : "Gross     \t% 9.2f\r\n", gross);
            body += strprintf("Cost      \t% 9.2f\r\n", cost);
            body += strprintf("Profit    \t% 9.2f\r\n\r\n", profit);
        } else {
            body += strprintf("%-15s\t%9.2f\r\n", "List Price", list);
            body += strprintf("%-15s\t%9.2f\r\n", "Discounted", discount);
            body += strprintf("%-15s\t%9.2f\r\n", "Gross", gross);
            body += strprintf("%-15s\t%9.2f\r\n", "Cost", cost);
            body += strprintf("%-15s\t%9.2f\r\n\r\n", "Profit", profit);
        }
    }
    body += "Sales Percentages:\r\n";
    report.chart.title = request.kind->chart;
    for (std::size_t g : shown) {
        const std::string name = Cut(names[g], 13);
        const double percent = share(lists[g], grand);
        body += everyGroup ? strprintf("%-13s \t%%%4.1f\r\n", name.c_str(), percent)
                           : strprintf("%-15s\t%9.2f\r\n", name.c_str(), percent);
        report.chart.slices.push_back({Cut(names[g], 39), lists[g]});
    }
    return ScanOutcome::Done;
}

}  // namespace grouped
