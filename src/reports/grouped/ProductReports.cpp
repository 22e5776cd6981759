// The reports by product: the product tables (every product of the file, or
// of one category or vendor, with what it sold) and one customer search's,
// cashier's or salesperson's sales by product.
#include "reports/grouped/GroupedShapes.h"

#include "storage/files/ProductFile.h"
#include "storage/records/ProductRecord.h"
#include "storage/records/TextFormat.h"

namespace grouped {

namespace {
constexpr std::size_t kItemWidth = ProductRecord::kDescriptionOffset - ProductRecord::kItemNumberOffset;
constexpr std::size_t kTextWidth = ProductRecord::kItemNumberOffset - ProductRecord::kCategoryOffset;

std::string_view productText(const std::uint8_t* rec, std::size_t off, std::size_t width)
{
    return SlotText(rec + off, width);
}
std::string_view productItem(const std::uint8_t* rec)
{
    return productText(rec, ProductRecord::kItemNumberOffset, kItemWidth);
}
std::string_view productDescription(const std::uint8_t* rec)
{
    return productText(rec, ProductRecord::kDescriptionOffset, kTextWidth);
}

std::vector<std::uint16_t> leftThenRight(std::size_t n)
{
    std::vector<std::uint16_t> formats(n, 2);
    formats[0] = 0;
    return formats;
}

// Reads the products `keep` takes (every one without it) into rows, in file
// order, then passes over the sales the request takes: each line whose item
// number a row has is handed to each(rows of that number, the line's figures).
template <class Row, class Each>
ScanOutcome productPass(const CLocalFile& local, const GroupedRequest& request, const ScanProgress& progress,
                        const std::function<bool(const std::uint8_t*)>& keep, bool ignoreCase, LineSide side,
                        std::vector<Row>& rows, Each each)
{
    std::vector<std::uint8_t> products;
    if (ReadProductBytes(local, products, keep) != 0)
        return ScanOutcome::Failed;
    rows.assign(products.size() / ProductRecord::kSize, Row{});
    NameIndex items(ignoreCase);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::uint8_t* rec = products.data() + i * ProductRecord::kSize;
        rows[i].item = productItem(rec);
        rows[i].description = productDescription(rec);
        if (!rows[i].item.empty())
            items.Add(rows[i].item, i);
    }
    const SaleFilter filter(request);
    return ScanEach(local, progress, [&](const SaleView& sale) {
        if (!filter.Takes(sale))
            return;
        ForEachLine(sale.usedLines(), [&](std::size_t line) {
            const std::string_view item = sale.itemNumber(line);
            const auto found = !item.empty() ? items.Find(item) : std::span<const std::size_t>();
            if (!found.empty())
                each(found, Line(sale, line, side));
        });
    });
}
}  // namespace

ScanOutcome BuildProductTable(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                              const ScanProgress& progress)
{
    const GroupedAsk ask = request.kind->ask;
    std::function<bool(const std::uint8_t*)> keep;
    if (ask == GroupedAsk::Category)
        keep = [&](const std::uint8_t* rec) {
            return productText(rec, ProductRecord::kCategoryOffset, kTextWidth) == request.key;
        };
    else if (ask == GroupedAsk::Vendor)
        keep = [&](const std::uint8_t* rec) {
            return productText(rec, ProductRecord::kVendorOffset, kTextWidth) == request.key;
        };
    struct Row {
        std::string item, description;
        double list = 0, discount = 0, cost = 0;
        long long sold = 0;
    };
    std::vector<Row> rows;
    // Item numbers match exactly; a product listed twice counts each line twice.
    const auto add = [&](std::span<const std::size_t> found, const LineFigures& f) {
        for (std::size_t g : found) {
            rows[g].list += f.list;
            rows[g].discount += f.discount;
            rows[g].cost += f.cost;
            rows[g].sold += static_cast<long long>(f.qty);  // whole units per line
        }
    };
    const ScanOutcome out = productPass(local, request, progress, keep, false, LineSide::Listed, rows, add);
    if (out != ScanOutcome::Done)
        return out;

    std::string& body = report.body;
    body = strprintf("%-20s\t%-12s\t%10s\t%10s\t%10s\t%10s\t%10s\t%6s\r\n", "Description", "Item#", "Price", "Discount",
                     "Total", "Cost", "Profit", "Sold");
    double list = 0, discount = 0, total = 0, cost = 0, profit = 0;
    long long sold = 0;
    const auto figures = [](double l, double d, double t, double c, double p, long long s) {
        return strprintf("%10.2f\t%10.2f\t%10.2f\t%10.2f\t%10.2f\t%6lld\r\n", Money(l), Money(d), Money(t), Money(c),
                         Money(p), s);
    };
    for (const Row& row : rows) {
        const double l = Money(row.list), d = Money(row.discount), c = Money(row.cost);
        const double t = Money(l - d), p = Money(t - c);
        body += strprintf("%-20s\t%-12s\t", Cut(row.description, 18).c_str(), Cut(row.item, 10).c_str());
        body += figures(l, d, t, c, p, row.sold);
        list += l, discount += d, total += t, cost += c, profit += p, sold += row.sold;
    }
    body += strprintf("\r\n%-20s\t%-12s\t", "", "Totals:");
    body += figures(list, discount, total, cost, profit, sold);
    report.widths = {210, 100, 80, 90, 90, 90, 90, 50};
    report.formats = leftThenRight(8);
    return ScanOutcome::Done;
}

ScanOutcome BuildEntityByProduct(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                                 const ScanProgress& progress)
{
    struct Row {
        std::string item, description;
        double qty = 0, total = 0, profit = 0, commission = 0;
    };
    std::vector<Row> rows;
    // A line counts for the first product of its item number, case ignored.
    const auto add = [&](std::span<const std::size_t> found, const LineFigures& f) {
        Row& row = rows[found.front()];
        row.qty += f.qty;
        row.total += f.extended;
        row.profit += f.extended - f.cost;
        row.commission += f.commission;
    };
    const ScanOutcome out = productPass(local, request, progress, {}, true, LineSide::Charged, rows, add);
    if (out != ScanOutcome::Done)
        return out;

    const bool commission = request.kind->ask == GroupedAsk::Salesperson;
    std::string& body = report.body;
    body = strprintf("%-20s\t%-24s\t%9s\t%12s\t%12s", "Item", "Description", "Sold", "Total", "Profit");
    body += commission ? strprintf("\t%12s\r\n", "Commission") : std::string("\r\n");
    const auto line = [&](const std::string& item, const std::string& description, double qty, double total,
                          double profit, double paid) {
        std::string text = strprintf("%-20s\t%-24s\t%9.2f\t%12.2f\t%12.2f", item.c_str(), description.c_str(), qty,
                                     Money(total), Money(profit));
        return text + (commission ? strprintf("\t%12.2f\r\n", Money(paid)) : std::string("\r\n"));
    };
    double qty = 0, total = 0, profit = 0, paid = 0;
    for (const Row& row : rows) {
        if (row.qty == 0)
            continue;
        const double t = Money(row.total), p = Money(row.profit), c = Money(row.commission);
        body += line(row.item, Cut(row.description, 22), row.qty, t, p, c);
        qty += row.qty, total += t, profit += p, paid += c;
    }
    body += "\r\n" + line("Totals:", "", qty, total, profit, paid);
    report.widths = {180, 200, 100, 100, 100, 100, 100, 80};
    report.formats = leftThenRight(8);
    return ScanOutcome::Done;
}

}  // namespace grouped
