#pragma once
// What the grouped reports' builders share: the sales a report takes, the
// figures of a line, names looked up exactly or ignoring case, and the cent
// rounding of what is printed.

#include "reports/grouped/GroupedReports.h"

#include <functional>
#include <string_view>
#include <unordered_map>

namespace grouped {

std::string Lower(std::string_view s);
bool SameIgnoringCase(std::string_view a, std::string_view b);
std::string Cut(std::string_view s, std::size_t n);
// Rounded to the cent, never printed as -0.00.
double Money(double v);

// The figures of one line slot: list price (price x quantity), the discount
// its markdown takes off that, cost (unit cost x quantity), the extended
// amount the sale charged and the commission on it.
struct LineFigures {
    double qty = 0, list = 0, discount = 0, cost = 0, extended = 0, commission = 0;
};
LineFigures Line(const SaleView& sale, std::size_t line);
std::string_view Salesperson(const SaleView& sale);
// The nine customer lines of a sale, each followed by one blank but the last.
std::string CustomerText(const SaleView& sale);

// The sales a report takes: those of its days and, for the reports of one
// customer search, cashier or salesperson, theirs. A cashier or salesperson
// is the one whose name equals the sale's, case ignored; a customer search
// is found anywhere in the sale's customer lines, case ignored (an empty
// search takes every customer).
class SaleFilter {
public:
    explicit SaleFilter(const GroupedRequest& request);
    bool Takes(const SaleView& sale) const;

private:
    int firstKey_ = 0, lastKey_ = 0;
    GroupedAsk ask_ = GroupedAsk::Range;
    std::string key_;  // lower case for a customer search
};

// Names to the groups that carry them (a name listed twice is two groups).
class NameIndex {
public:
    explicit NameIndex(bool ignoreCase) : ignoreCase_(ignoreCase) {}
    void Add(std::string_view name, std::size_t group);
    // The groups of this name; null for none.
    const std::vector<std::size_t>* Find(std::string_view name) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    bool ignoreCase_;
    std::unordered_map<std::string, std::vector<std::size_t>, Hash, std::equal_to<>> names_;
    mutable std::string lowered_;
};

// A pass's accumulator from a function.
template <class Each> class EachSale : public SaleAccumulator {
public:
    explicit EachSale(Each each) : each_(std::move(each)) {}
    void AddSale(const SaleView& sale) override { each_(sale); }

private:
    Each each_;
};
template <class Each> ScanOutcome ScanEach(const CLocalFile& local, const ScanProgress& progress, Each each)
{
    EachSale<Each> pass(std::move(each));
    return ScanSales(local, pass, progress);
}

// The heading: the report's line, the days, and the key line of a report of one key.
std::string Heading(const GroupedRequest& request);

ScanOutcome BuildProductTable(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                              const ScanProgress& progress);
ScanOutcome BuildEntityByProduct(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                                 const ScanProgress& progress);
ScanOutcome BuildGroupShares(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                             const ScanProgress& progress);
ScanOutcome BuildSaleList(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                          const ScanProgress& progress);
ScanOutcome BuildAllEntities(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                             const ScanProgress& progress);

}  // namespace grouped
