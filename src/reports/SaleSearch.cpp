#include "reports/SaleSearch.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {
std::string cut(const std::string& text, std::size_t n) { return lowerAscii(text).substr(0, n); }

// One of the 20 line slots of a text column contains the text.
bool anyLine(const SaleView& sale, const std::string& lowered, salesrow::LineText column)
{
    if (lowered.empty())
        return true;
    for (std::uint32_t lines = sale.usedLines(); lines != 0; lines &= lines - 1) {
        const std::string_view slot = sale.lineText(static_cast<std::size_t>(std::countr_zero(lines)), column);
        if (slot.size() >= lowered.size() && SlotContains(slot, lowered))
            return true;
    }
    return false;
}

bool addressContains(const SaleView& sale, const std::string& lowered)
{
    if (lowered.empty())
        return true;
    std::string joined;
    for (std::size_t i = 0; i < 6; ++i) {
        joined += sale.address(i);
        joined += ' ';
    }
    return SlotContains(joined, lowered);
}
}  // namespace

SaleSearchCriteria SaleSearchCriteria::From(const SaleSearchInput& in)
{
    SaleSearchCriteria c;
    c.useDates = in.useDates;
    c.startKey = DateKey(in.start.year, in.start.month, in.start.day);
    c.endKey = DateKey(in.end.year, in.end.month, in.end.day);
    c.lowMargin = in.lowMargin;
    c.marginLimit = std::strtof(in.marginText.c_str(), nullptr);  // not a number: 0
    c.saleType = in.saleType;
    c.itemNumber = cut(in.itemNumber, 23);
    c.payType = cut(in.payType, 23);
    c.category = cut(in.category, 39);
    c.vendor = cut(in.vendor, 39);
    c.cashier = cut(in.cashier, 39);
    c.department = cut(in.department, 39);
    c.description = cut(in.description, 39);
    c.address = cut(in.address, 133);
    return c;
}

bool HasLowMargin(const SaleView& sale, float limitPercent)
{
    for (std::uint32_t lines = sale.usedLines(); lines != 0; lines &= lines - 1) {
        const auto i = static_cast<std::size_t>(std::countr_zero(lines));
        if (sale.itemNumber(i).empty())
            continue;
        const float cost = sale.cost(i);
        const float margin = (sale.price(i) - cost) / cost * 100;
        if (margin < limitPercent)  // a NaN (price and cost 0) is never below
            return true;
    }
    return false;
}

bool SaleSearchCriteria::Matches(const SaleView& s) const
{
    if (useDates && (s.dateKey() < startKey || s.dateKey() > endKey))
        return false;
    if (!addressContains(s, address))
        return false;
    if (!SlotContains(s.cashier(), cashier))
        return false;
    if (saleType >= 0 && s.priceLevel() != saleType)
        return false;
    if (!anyLine(s, description, salesrow::kDescription) || !anyLine(s, itemNumber, salesrow::kItemNumber) ||
        !anyLine(s, category, salesrow::kCategory) || !anyLine(s, department, salesrow::kDepartment) ||
        !anyLine(s, vendor, salesrow::kVendor))
        return false;
    if (!SlotContains(s.payType(), payType))
        return false;
    return !lowMargin || HasLowMargin(s, marginLimit);
}

SaleSearch SaleSearch::Today(const CalendarTime& now)
{
    SaleSearch search{SaleSearchCriteria{}};
    search.today_ = true;
    search.todayKey_ = DateKey(now.year, now.month, now.day);
    return search;
}

void SaleSearch::AddSale(const SaleView& s)
{
    if (today_ ? s.dateKey() != todayKey_ : !criteria_.Matches(s))
        return;
    found_.push_back(static_cast<std::uint32_t>(s.position()));
}

FoundSale FoundSale::Of(const SaleView& s)
{
    FoundSale row;
    row.recordNumber = s.recordNumber();
    row.total = s.total();
    row.year = s.year();
    row.month = s.month();
    row.day = s.day();
    row.cashier = s.cashier();
    row.payType = s.payType();
    row.priceLevel = s.priceLevel();
    for (std::size_t i = 0; i < 6; ++i) {
        if (i > 0)
            row.address += '|';
        row.address += s.address(i);
    }
    return row;
}

void FoundSales::list(const CLocalFile& local, std::vector<std::uint32_t> positions,
                      const std::array<std::string, 6>& levelNames)
{
    const ChunkedLayout sales{static_cast<std::size_t>(kInvoiceFileHeaderSize), InvoiceRecord::kSize};
    records_.reset(local.GetPath("Invoices"), sales, std::move(positions), true);
    levelNames_ = levelNames;
    cachedRow_ = SIZE_MAX;
}

void FoundSales::clear()
{
    records_.clear();
    cachedRow_ = SIZE_MAX;
}

std::vector<std::uint32_t> FoundSales::positions() const
{
    std::vector<std::uint32_t> out(size());
    for (std::size_t row = 0; row < out.size(); ++row)
        out[out.size() - 1 - row] = static_cast<std::uint32_t>(records_.position(row));
    return out;
}

const std::array<std::string, 7>& FoundSales::cells(std::size_t row) const
{
    if (row != cachedRow_) {
        cachedRow_ = row;
        const std::uint8_t* bytes = records_.record(row);
        cached_ = bytes ? FoundSaleCells(FoundSale::Of(SaleView(bytes, records_.position(row))), levelNames_)
                        : std::array<std::string, 7>{};
    }
    return cached_;
}

std::array<std::string, 7> FoundSaleCells(const FoundSale& r, const std::array<std::string, 6>& levelNames)
{
    std::tm tm{};
    tm.tm_year = r.year - 1900;
    tm.tm_mon = r.month - 1;
    tm.tm_mday = r.day;
    tm.tm_hour = 1;
    tm.tm_min = 1;
    char date[64] = "";
    std::strftime(date, sizeof date, "%x", &tm);
    const int level = r.priceLevel < 0 ? 0 : (r.priceLevel > 5 ? 5 : r.priceLevel);
    return {std::to_string(r.recordNumber), strprintf("%.2f", static_cast<double>(r.total)), date, r.cashier,
            r.payType, levelNames[static_cast<std::size_t>(level)], r.address};
}

ListedSalesTotal::ListedSalesTotal(std::vector<std::uint32_t> positions) : positions_(std::move(positions))
{
    std::sort(positions_.begin(), positions_.end());
    positions_.erase(std::unique(positions_.begin(), positions_.end()), positions_.end());
}

void ListedSalesTotal::AddSale(const SaleView& sale)
{
    while (next_ < positions_.size() && positions_[next_] < sale.position())
        ++next_;
    if (next_ < positions_.size() && positions_[next_] == sale.position())
        sums_.Add(sale);
}

std::string SalesListHeading(const CalendarTime& now)
{
    return "\n\nSales Summary\n" + FormatCalendarTime(now, "%A, %B %d, %Y\n\n") +
           "Record\tTotal\tDate\tCashier\tPay Type\tCategory\n";
}

std::string SalesListBody(const FoundSales& rows)
{
    std::string body;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::array<std::string, 7>& r = rows.cells(row);
        body += strprintf("%-8s", r[0].c_str()).substr(0, 8) + "\t";
        body += strprintf("%10s\t", r[1].c_str());
        body += r[2] + "\t" + r[3] + "\t" + r[4] + "\t" + r[5] + "\n";
    }
    return body;
}

const std::vector<std::int16_t>& SalesListWidths()
{
    static const std::vector<std::int16_t> w{50, 120, 120, 150, 150, 150, 110, 50};
    return w;
}

const std::vector<std::uint16_t>& SalesListFormats()
{
    static const std::vector<std::uint16_t> f{0, 2, 0, 0, 0, 0, 0, 0};
    return f;
}
