#pragma once
// What the grouped reports' builders share: the sales a report takes, the
// figures of a line, names looked up exactly or ignoring case, and the cent
// rounding of what is printed.

#include "reports/grouped/GroupedReports.h"

#include <span>
#include <string_view>

namespace grouped {

std::string Lower(std::string_view s);
bool SameIgnoringCase(std::string_view a, std::string_view b);
std::string Cut(std::string_view s, std::size_t n);
// Rounded to the cent, never printed as -0.00.
double Money(double v);

// The figures of one line slot: quantity and cost (unit cost x quantity);
// as listed, the list price (price x quantity) and the discount its markdown
// takes off that; as charged, the extended amount and the commission on it.
// A pass reads only the side its report prints.
struct LineFigures {
    double qty = 0, list = 0, discount = 0, cost = 0, extended = 0, commission = 0;
};
enum class LineSide { Listed, Charged };
LineFigures Line(const SaleView& sale, std::size_t line, LineSide side);
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
// Looked up for every line of every sale, so the table is flat and small
// enough to stay in the processor's cache, and a name is hashed and compared
// in place, its case folded on the way when case is ignored.
class NameIndex {
public:
    explicit NameIndex(bool ignoreCase) : ignoreCase_(ignoreCase) {}
    void Add(std::string_view name, std::size_t group);
    // The groups of this name; empty for none.
    std::span<const std::size_t> Find(std::string_view name) const;

private:
    std::uint64_t hash(std::string_view name) const;
    std::span<const std::size_t> probe(std::uint64_t h, std::string_view name) const;
    std::size_t indexOf(std::uint64_t h, std::string_view name) const;  // names_.size() for none
    bool same(std::string_view stored, std::string_view name) const;
    void rehash();

    bool ignoreCase_;
    std::vector<std::string> names_;
    std::vector<std::uint64_t> hashes_;
    std::vector<std::size_t> first_;                // each name's first group, read without a second lookup
    std::vector<std::vector<std::size_t>> groups_;  // all of them
    std::vector<std::uint32_t> slots_;  // a name's index + 1, 0 for a free slot; size a power of two
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
