#pragma once
// The grouped sales reports of the Reports menu: the sales of a range of days
// totalled by product, category, vendor, customer, cashier or salesperson, as
// one tab-separated text. Each report is one pass over the sales, after one
// read of the file it groups by (products, vendors, customers, cashiers,
// salespeople or the header's categories); figures are kept in memory, never in
// a shared file. Days are whole days: a range takes every sale of its last day.

#include "reports/ChartData.h"
#include "reports/SaleScan.h"
#include "storage/records/OleDate.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What the report asks for beside the days.
enum class GroupedAsk { Range, Category, Vendor, Customer, Cashier, Salesperson };

// The six kinds of text.
enum class GroupedShape {
    ProductTable,     // each product's sales (all, one category's, one vendor's)
    GroupPercent,     // each category or vendor with its share of the list price
    SaleList,         // the sales of the customers a search finds
    EntityByProduct,  // one customer search's, cashier's or salesperson's sales by product
    EntityByGroup,    // the same by category or vendor, with shares
    AllEntities,      // every customer, cashier or salesperson with their sales
};

// What the lines are grouped by (or, for a sale list, whose sales are listed).
enum class GroupedBy { Products, Categories, Vendors, Customers, Cashiers, Salespeople };

struct GroupedReportKind {
    const char* item;     // the menu item
    const char* heading;  // the first line of the text
    GroupedAsk ask;
    GroupedShape shape;
    GroupedBy by;
    const char* chart;  // the chart's title; empty for a table
};

const std::array<GroupedReportKind, 18>& GroupedReportKinds();
// The report of a menu item; null for any other item.
const GroupedReportKind* FindGroupedReport(const std::string& item);

struct GroupedRequest {
    const GroupedReportKind* kind = nullptr;
    CalendarTime first, last;  // the days; their times of day do not count
    std::string key;           // the category, vendor, customer search, cashier or salesperson chosen
};

// The text and how it is printed (a table) or charted (a percentage report).
struct GroupedReport {
    std::string heading, body;
    std::vector<std::int16_t> widths;    // printing widths of a table; empty for a percentage report
    std::vector<std::uint16_t> formats;  // 0 left, 2 right
    ChartData chart;
    bool wide() const { return !widths.empty(); }
};

// The header's category list, one category per line, in list order.
std::vector<std::string> CategoryList(const CLocalFile& local);

// Reads the grouping file, then the sales once. Failed when the product file
// (for the product reports) or the sales file cannot be read; Cancelled when
// progress said stop.
ScanOutcome BuildGroupedReport(const CLocalFile& local, const GroupedRequest& request, GroupedReport& report,
                               const ScanProgress& progress = {});
