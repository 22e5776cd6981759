#pragma once
// What the grouped reports' builders share: the sales a report takes, the
// figures of a line, names looked up exactly or ignoring case, and the cent
// rounding of what is printed.

#include "reports/grouped/GroupedReports.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Inline: a name is looked up for every line of every sale, and the calls
// would cost as much as the work.
namespace namehash {
constexpr std::uint64_t kOffset = 14695981039346656037ull, kPrime = 1099511628211ull;

// The ASCII capitals of eight bytes made small, the other bytes kept.
inline std::uint64_t LowerWord(std::uint64_t w)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    const std::uint64_t seven = w & ~highs;
    const std::uint64_t fromA = seven + (0x80 - 'A') * ones;  // high bit set from 'A' on
    const std::uint64_t pastZ = seven + (0x7F - 'Z') * ones;  // high bit set past 'Z'
    return w | (((fromA ^ pastZ) & ~w & highs) >> 2);
}

// The last 1 to 7 bytes of a name as one word, read in two overlapping loads
// (the bytes both cover are the same bytes, so OR-ing them is exact).
inline std::uint64_t TailWord(const char* p, std::size_t n)
{
    const auto load = [p](std::size_t at, std::size_t width) {
        std::uint32_t v = 0;
        std::memcpy(&v, p + at, width);
        return static_cast<std::uint64_t>(v);
    };
    if (n >= 4)
        return load(0, 4) | load(n - 4, 4) << (8 * (n - 4));
    if (n >= 2)
        return load(0, 2) | load(n - 2, 2) << (8 * (n - 2));
    return load(0, 1);
}
}  // namespace namehash

inline std::uint64_t NameIndex::hash(std::string_view name) const
{
    // Eight bytes at a time, the case folded in the word when it is ignored.
    std::uint64_t h = namehash::kOffset ^ name.size();
    const auto mix = [&](std::uint64_t w) {
        h = (h ^ (ignoreCase_ ? namehash::LowerWord(w) : w)) * namehash::kPrime;
        h ^= h >> 29;
    };
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        std::uint64_t w;
        std::memcpy(&w, name.data() + at, 8);
        mix(w);
    }
    if (const std::size_t n = name.size() - at; n > 0)
        mix(namehash::TailWord(name.data() + at, n));
    return h;
}

inline std::size_t NameIndex::indexOf(std::uint64_t h, std::string_view name) const
{
    if (slots_.empty())
        return names_.size();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = h & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t k = slots_[slot] - 1;
        if (hashes_[k] == h && same(names_[k], name))
            return k;
    }
    return names_.size();
}

inline std::span<const std::size_t> NameIndex::Find(std::string_view name) const
{
    if (names_.empty())
        return {};
    const std::size_t k = indexOf(hash(name), name);
    if (k == names_.size())
        return {};
    return groups_[k].size() == 1 ? std::span<const std::size_t>(&first_[k], 1) : groups_[k];
}

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
