#pragma once
// Find Sales: the search criteria and the eleven tests a sale must pass, the
// rows the list shows, today's sales, the total of the listed sales (one pass
// over the file, whatever the number of rows) and the printed list.

#include "reports/SaleScan.h"
#include "reports/SalesSummary.h"
#include "storage/records/OleDate.h"

#include <array>
#include <string>
#include <unordered_set>
#include <vector>

// What the window's boxes hold when "Search" is pressed.
struct SaleSearchInput {
    std::string address, description, itemNumber, cashier, payType, category, vendor, department;
    bool useDates = false;
    CalendarTime start, end;
    int saleType = -1;  // -1: none chosen
    bool lowMargin = false;
    std::string marginText;
};

struct SaleSearchCriteria {
    int startKey = 0, endKey = 0;
    bool useDates = false;
    bool lowMargin = false;
    float marginLimit = 0;
    int saleType = -1;
    // Lower case, cut to the widths the record slots hold.
    std::string itemNumber, payType, category, vendor, cashier, department, description, address;

    static SaleSearchCriteria From(const SaleSearchInput& input);
    // The tests in order; the first that fails rejects the sale.
    bool Matches(const SaleView& sale) const;
};

// A line sold below the margin limit: (price - cost) / cost * 100 < limit, on
// lines with an item number. A line with cost 0 and a positive price never is
// (its markup is infinite).
bool HasLowMargin(const SaleView& sale, float limitPercent);

// One row of the list, as read from the sale.
struct FoundSale {
    std::int32_t recordNumber = 0;
    float total = 0;
    int year = 0, month = 0, day = 0;
    std::string cashier, payType, address;  // address "%s|%s|%s|%s|%s|%s"
    int priceLevel = 0;
};

// The list's seven cells: "Record#", "Total", "Date", "Cashier", "Pay Type",
// "Sale Type", "Address". A level past the six names shows the last one.
std::array<std::string, 7> FoundSaleCells(const FoundSale& row, const std::array<std::string, 6>& levelNames);

// Collects the sales that pass, newest first, as the list shows them.
class SaleSearch : public SaleAccumulator {
public:
    explicit SaleSearch(const SaleSearchCriteria& criteria) : criteria_(criteria) {}
    // Today's sales: those stored with this year, month and day, no other test.
    static SaleSearch Today(const CalendarTime& now);
    void AddSale(const SaleView& sale) override;
    // Newest first.
    std::vector<FoundSale> Rows() const { return {found_.rbegin(), found_.rend()}; }

private:
    SaleSearchCriteria criteria_;
    bool today_ = false;
    int todayKey_ = 0;
    std::vector<FoundSale> found_;
};

// The sums of the listed sales: every stored sale whose record number is one of
// the rows', each counted once, in one pass.
class ListedSalesTotal : public SaleAccumulator {
public:
    explicit ListedSalesTotal(std::unordered_set<std::int32_t> numbers) : numbers_(std::move(numbers)) {}
    void AddSale(const SaleView& sale) override;
    const SaleSums& sums() const { return sums_; }

private:
    std::unordered_set<std::int32_t> numbers_;
    SaleSums sums_;
};

// The printed list: heading dated `now`, one body line per row (the rows'
// first six cells).
std::string SalesListHeading(const CalendarTime& now);
std::string SalesListBody(const std::vector<std::array<std::string, 7>>& rows);
const std::vector<std::int16_t>& SalesListWidths();
const std::vector<std::uint16_t>& SalesListFormats();
