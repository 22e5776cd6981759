#pragma once
// Find Sales: the search criteria and the eleven tests a sale must pass, the
// rows the list shows, today's sales, the total of the listed sales (one pass
// over the file, whatever the number of rows) and the printed list.

#include "reports/SaleScan.h"
#include "reports/SalesSummary.h"
#include "storage/files/ListedRecords.h"
#include "storage/records/OleDate.h"

#include <array>
#include <string>
#include <climits>
#include <cstdint>
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

    static FoundSale Of(const SaleView& sale);
};

// The list's seven cells: "Record#", "Total", "Date", "Cashier", "Pay Type",
// "Sale Type", "Address". A level past the six names shows the last one.
std::array<std::string, 7> FoundSaleCells(const FoundSale& row, const std::array<std::string, 6>& levelNames);

// Collects the positions of the sales that pass, in file order: four bytes a
// sale, however many match.
class SaleSearch : public SaleAccumulator {
public:
    explicit SaleSearch(const SaleSearchCriteria& criteria) : criteria_(criteria) {}
    // Today's sales: those stored with this year, month and day, no other test.
    static SaleSearch Today(const CalendarTime& now);
    void AddSale(const SaleView& sale) override;
    std::size_t size() const { return found_.size(); }
    std::vector<std::uint32_t> TakePositions() { return std::move(found_); }

private:
    SaleSearchCriteria criteria_;
    bool today_ = false;
    int todayKey_ = 0;
    std::vector<std::uint32_t> found_;
};

// The list of found sales, newest first: a row's sale is read from the file
// and its cells made only when the row is drawn (or printed).
class FoundSales {
public:
    void list(const CLocalFile& local, std::vector<std::uint32_t> positions,
              const std::array<std::string, 6>& levelNames);
    void clear();

    std::size_t size() const { return records_.size(); }
    // A row's sale, by its place in the sales file (its record number).
    long long position(std::size_t row) const { return records_.position(row); }
    // The positions listed, in file order.
    std::vector<std::uint32_t> positions() const;
    // The seven cells of FoundSaleCells; all empty when the sale cannot be read.
    const std::array<std::string, 7>& cells(std::size_t row) const;

private:
    ListedRecords records_;
    std::array<std::string, 6> levelNames_;
    // The row last formatted: a view asks for its cells one column at a time.
    mutable std::size_t cachedRow_ = SIZE_MAX;
    mutable std::array<std::string, 7> cached_;
};

// The sums of the listed sales: the stored sales at these positions, each
// counted once, in one pass.
class ListedSalesTotal : public SaleAccumulator {
public:
    explicit ListedSalesTotal(std::vector<std::uint32_t> positions);
    void AddSale(const SaleView& sale) override;
    const SaleSums& sums() const { return sums_; }

private:
    std::vector<std::uint32_t> positions_;  // ascending, as the pass visits them
    std::size_t next_ = 0;
    SaleSums sums_;
};

// The printed list: heading dated `now`, one body line per row (the rows'
// first six cells).
std::string SalesListHeading(const CalendarTime& now);
std::string SalesListBody(const FoundSales& rows);
const std::vector<std::int16_t>& SalesListWidths();
const std::vector<std::uint16_t>& SalesListFormats();
