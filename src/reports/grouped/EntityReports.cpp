// The reports by customer, cashier or salesperson: the sales a customer search
// finds, one per line, and every customer's, cashier's or salesperson's count
// of sales, total, cost and profit.
#include "reports/grouped/GroupedShapes.h"

#include "storage/files/CustomerFile.h"
#include "storage/files/ListFiles.h"
#include "storage/records/TextFormat.h"

namespace grouped {

ScanOutcome BuildSaleList(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                          const ScanProgress& progress)
{
    std::string& body = report.body;
    body = strprintf("%-20s\t%10s\t%10s\t%10s\t%10s\t%10s\t%10s\t%10s\r\n", "Found", "Subtotal", "NT-SubT", "Tax",
                     "Tax2", "Handling", "Total", "Cost");
    std::array<double, 7> totals{};
    const SaleFilter filter(request);
    const ScanOutcome out = ScanEach(local, progress, [&](const SaleView& sale) {
        if (!filter.Takes(sale))
            return;
        std::string found;
        for (char c : CustomerText(sale)) {
            if (c == '\r' || c == '\n' || c == '\t')
                found.append(13, ' ');
            else
                found += c;
        }
        const std::array<double, 7> figures{CentAmount(sale.taxableSubtotal()), CentAmount(sale.exemptSubtotal()),
                                            CentAmount(sale.tax1()),            CentAmount(sale.tax2()),
                                            CentAmount(sale.handling()),        CentAmount(sale.total()),
                                            CentAmount(sale.totalCost())};
        body += strprintf("%-20s", Cut(found, 18).c_str());
        for (std::size_t i = 0; i < figures.size(); ++i) {
            body += strprintf("\t%10.2f", figures[i]);
            totals[i] += figures[i];
        }
        body += "\r\n";
    });
    if (out != ScanOutcome::Done)
        return out;
    body += strprintf("\r\n%20s", "Totals:");
    for (double t : totals)
        body += strprintf("\t%10.2f", Money(t));
    body += strprintf("\r\n%-20s\t%10.2f\r\n", "Gross Profit:", Money(totals[5] - totals[6]));
    body += "\r\nNT-SubT: Non-taxable subtotal.\r\n";
    report.widths = {200, 100, 100, 100, 100, 100, 100, 80};
    report.formats = {0, 2, 2, 2, 2, 2, 2, 2};
    return ScanOutcome::Done;
}

ScanOutcome BuildAllEntities(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                             const ScanProgress& progress)
{
    const GroupedBy by = request.kind->by;
    std::vector<std::string> names;
    const char* column = "Cashier";
    std::string_view (*nameOf)(const SaleView&) = [](const SaleView& s) { return s.cashier(); };
    if (by == GroupedBy::Customers) {
        column = "Customer";
        nameOf = [](const SaleView& s) { return s.address(InvoiceRecord::kName); };
        for (const CustomerRecord& c : ReadCustomers(local))
            names.push_back(c.name());
    } else if (by == GroupedBy::Salespeople) {
        column = "Salesperson";
        nameOf = [](const SaleView& s) { return s.salesperson(); };
        names = FillSalespersonBox(local);
    } else {
        names = FillCashierBox(local);
    }
    NameIndex index(true);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (!names[i].empty())  // a sale without a name is nobody's
            index.Add(names[i], i);

    struct Entity {
        unsigned count = 0;
        double total = 0, cost = 0;
    };
    std::vector<Entity> entities(names.size());
    const SaleFilter filter(request);
    const ScanOutcome out = ScanEach(local, progress, [&](const SaleView& sale) {
        if (!filter.Takes(sale))
            return;
        const std::string_view name = nameOf(sale);
        const auto found = !name.empty() ? index.Find(name) : std::span<const std::size_t>();
        if (found.empty())
            return;
        for (std::size_t e : found) {
            ++entities[e].count;
            entities[e].total += CentAmount(sale.total());
            entities[e].cost += CentAmount(sale.totalCost());
        }
    });
    if (out != ScanOutcome::Done)
        return out;

    std::string& body = report.body;
    body = strprintf("%-24s\t%9s\t%9s\t%9s\t%9s\r\n", column, "Sales", "Total", "Cost", "Profit");
    for (std::size_t e = 0; e < names.size(); ++e) {
        const double total = Money(entities[e].total), cost = Money(entities[e].cost);
        body += strprintf("%-24s\t%9u\t% 9.2f\t% 9.2f\t% 9.2f\t\r\n", names[e].c_str(), entities[e].count, total, cost,
                          Money(total - cost));
    }
    report.widths = {210, 100, 80, 90, 90, 90, 90, 50};
    report.formats = {0, 0, 2, 2, 2, 2, 2, 2};
    return ScanOutcome::Done;
}

}  // namespace grouped
