// The grouped reports over a small store: one report of each kind of text
// byte for byte, and the cases where the sound behaviour departs from the
// plain reading (names matched whole, whole days, nothing written to the
// product file, shares of nothing).

#include "GroupedSales.h"
#include "reports/grouped/ColumnText.h"
#include "reports/grouped/GroupedReports.h"
#include "reports/grouped/GroupedShapes.h"
#include "support/DataFolder.h"

namespace {

struct GroupedReports : DataFolder {
    void SetUp() override { storeGroupedStore(local); }

    GroupedReport run(const char* item, const std::string& key = {}, CalendarTime first = {2026, 3, 1},
                      CalendarTime last = {2026, 3, 31})
    {
        GroupedRequest request;
        request.kind = FindGroupedReport(item);
        EXPECT_NE(request.kind, nullptr) << item;
        request.first = first;
        request.last = last;
        request.key = key;
        GroupedReport report;
        EXPECT_EQ(BuildGroupedReport(local, request, report), ScanOutcome::Done) << item;
        return report;
    }
};

// In March: the sale at 23:59 on the 31st counts; "ab12" counts for AB12 in
// the by-product reports of a person, not in the product table; Joan's
// report has Joan's sale only, Joanne's only hers, and the sale without a
// cashier is nobody's; a quantity of 1.5 sells 1 in the table.
TEST_F(GroupedReports, OneReportOfEachKindByteForByte)
{
    const struct {
        const char* item;
        const char* key;
        std::string text;
    } table[] = {
        {"Category Sales By Product", "Books",
         "Category Sales By Product Summary\r\n" "\r\n" "03/01/2026 - 03/31/2026\r\n" "\r\n" "Category: Books\r\n"
          "\r\n"
          "Description         \tItem#       \t     Price\t  Discount\t     Total\t      Cost\t    Profit\t  Sold\r\n"
          "Blue Widget Deluxe  \tAB12        \t     20.00\t      2.00\t     18.00\t     12.00\t      6.00\t     2\r\n"
          "Spare               \tZZ-9        \t      0.00\t      0.00\t      0.00\t      0.00\t      0.00\t     0\r\n"
          "\r\n"
          "                    \tTotals:     \t     20.00\t      2.00\t     18.00\t     12.00\t      6.00\t     2\r\n"},
        {"All Category Sales Summary", "",
         "All Category Sales Summary\r\n" "\r\n" "03/01/2026 - 03/31/2026\r\n" "\r\n" "Books\r\n"
          "List Price\t    30.00\r\n" "Discounted\t     2.00\r\n" "Gross     \t    28.00\r\n"
          "Cost      \t    18.00\r\n" "Profit    \t    10.00\r\n" "\r\n" "Extreme\r\n" "List Price\t     0.00\r\n"
          "Discounted\t     0.00\r\n" "Gross     \t     0.00\r\n" "Cost      \t     0.00\r\n"
          "Profit    \t     0.00\r\n" "\r\n" "Safety\r\n" "List Price\t    11.25\r\n" "Discounted\t     0.00\r\n"
          "Gross     \t    11.25\r\n" "Cost      \t     5.00\r\n" "Profit    \t     6.25\r\n" "\r\n"
          "Sales Percentages:\r\n" "Books         \t%72.7\r\n" "Extreme       \t% 0.0\r\n" "Safety        \t%27.3\r\n"},
        {"Customer Sales List", "",
         "Customer Sales List\r\n" "\r\n" "03/01/2026 - 03/31/2026\r\n" "\r\n" "Search:\t\r\n" "\r\n"
          "Found               \t  Subtotal\t   NT-SubT\t       Tax\t      Tax2\t  Handling\t     Total\t      Cost\r\n"
          "Ann Lee   Denver    \t     22.50\t      0.00\t      1.80\t      0.00\t      0.00\t     24.30\t     14.00\r\n"
          "Bo Ray   Austin     \t     10.00\t      0.00\t      0.00\t      0.00\t      0.00\t     10.00\t      6.00\r\n"
          "                    \t      0.00\t      6.75\t      0.00\t      0.00\t      0.00\t      6.75\t      3.00\r\n"
          "\r\n"
          "             Totals:\t     32.50\t      6.75\t      1.80\t      0.00\t      0.00\t     41.05\t     23.00\r\n"
          "Gross Profit:       \t     18.05\r\n" "\r\n" "NT-SubT: Non-taxable subtotal.\r\n"},
        {"Cashier Sales By Product", "Joan",
         "Cashier Sales By Product\r\n" "\r\n" "03/01/2026 - 03/31/2026\r\n" "\r\n" "Search:\tJoan\r\n" "\r\n"
          "Item                \tDescription             \t     Sold\t       Total\t      Profit\r\n"
          "AB12                \tBlue Widget Deluxe Mod  \t     1.00\t       10.00\t        4.00\r\n" "\r\n"
          "Totals:             \t                        \t     1.00\t       10.00\t        4.00\r\n"},
        {"Salesperson Sales By Product", "sam",
         "Salesperson Sales By Product\r\n" "\r\n" "03/01/2026 - 03/31/2026\r\n" "\r\n" "Search:\tsam\r\n" "\r\n"
          "Item                \tDescription             \t     Sold\t       Total\t      Profit\t  Commission\r\n"
          "AB12                \tBlue Widget Deluxe Mod  \t     2.00\t       18.00\t        6.00\t        0.90\r\n"
          "CD34                \tCandle                  \t     1.00\t        4.50\t        2.50\t        0.00\r\n"
          "\r\n"
          "Totals:             \t                        \t     3.00\t       22.50\t        8.50\t        0.90\r\n"},
        {"Cashier Sales By Categories", "Joanne",
         "Cashier Sales By Category\r\n" "\r\n" "03/01/2026 - 03/31/2026\r\n" "\r\n" "Search: Joanne\r\n" "\r\n"
          "Books\r\n" "List Price     \t    20.00\r\n" "Discounted     \t     2.00\r\n"
          "Gross          \t    18.00\r\n" "Cost           \t    12.00\r\n" "Profit         \t     6.00\r\n" "\r\n"
          "Safety\r\n" "List Price     \t     4.50\r\n" "Discounted     \t     0.00\r\n"
          "Gross          \t     4.50\r\n" "Cost           \t     2.00\r\n" "Profit         \t     2.50\r\n" "\r\n"
          "Sales Percentages:\r\n" "Books          \t    81.63\r\n" "Safety         \t    18.37\r\n"},
        {"All Cashiers Sales Summary", "",
         "All Cashiers Sales Summary\r\n" "\r\n" "03/01/2026 - 03/31/2026\r\n"
          "Cashier                 \t    Sales\t    Total\t     Cost\t   Profit\r\n"
          "Joan                    \t        1\t    10.00\t     6.00\t     4.00\t\r\n"
          "Joanne                  \t        1\t    24.30\t    14.00\t    10.30\t\r\n"},
    };
    for (const auto& row : table) {
        const GroupedReport report = run(row.item, row.key);
        EXPECT_EQ(report.heading + report.body, row.text) << row.item;
    }
}

TEST_F(GroupedReports, VendorsMatchInAnyCaseAndNothingIsWrittenToTheProducts)
{
    std::vector<std::uint8_t> before, after;
    ASSERT_EQ(ReadProductBytes(local, before), 0);
    const GroupedReport byProduct = run("Customer Sales By Product", "DENVER");
    ASSERT_EQ(ReadProductBytes(local, after), 0);
    EXPECT_EQ(before, after);
    EXPECT_NE(byProduct.body.find("AB12                \tBlue Widget Deluxe Mod  \t     2.00\t       18.00"),
              std::string::npos);

    const GroupedReport vendors = run("All Vendor Sales Summary");
    EXPECT_EQ(vendors.body.substr(0, 38), "Acme\r\nList Price\t    30.00\r\nDiscounted");
    EXPECT_NE(vendors.body.find("Net       \t    28.00\r\n"), std::string::npos);
    ASSERT_EQ(vendors.chart.slices.size(), 2u);
    EXPECT_EQ(vendors.chart.title, "Vendor Chart");
    EXPECT_EQ((std::pair{vendors.chart.slices[1].name, vendors.chart.slices[1].value}),
              (std::pair{std::string("Bolt"), 11.25}));

    // No sale in the days: every share is 0.0, not a division by zero.
    const GroupedReport none = run("All Category Sales Summary", "", {2020, 1, 1}, {2020, 1, 31});
    EXPECT_NE(none.body.find("Books         \t% 0.0\r\nExtreme       \t% 0.0\r\nSafety        \t% 0.0\r\n"),
              std::string::npos);
}

TEST(ColumnText, CellsLoseTheirPaddingAndLinesTheirEnds)
{
    const std::pair<std::string, std::string> table[] = {
        {"Head\r\n\r\nItem    \t  12.50\t     3\r\n", "Head\n\nItem\t12.50\t3\n"},
        {"Joan    \t        1\t    10.00\t\r\n", "Joan\t1\t10.00\n"},
        {"    \tTotals:  \t 1.00", "\tTotals:\t1.00\n"},
        {"List Price\t% 9.2f", "List Price\t% 9.2f\n"},
    };
    for (const auto& [text, columns] : table)
        EXPECT_EQ(ColumnText(text), columns) << text;
}

// Names of the grouped reports are found in any case only when case is ignored;
// only ASCII capitals fold (not their neighbours, not bytes past ASCII).
TEST(NameIndex, FindsANameInAnyCaseOnlyWhenCaseIsIgnored)
{
    const std::tuple<const char*, const char*, bool> table[] = {  // stored, asked, found ignoring case
        {"Acme Supply", "ACME SUPPLY", true}, {"Garden & Patio Furniture", "garden & patio furniturE", true},
        {"@[`{", "`{@[", false},              {"Tools", "tOOLS", true},
        {"\xC4rger", "\xE4rger", false},      {"Hardware", "Hardwar", false},
    };
    for (const auto& [stored, asked, found] : table)
        for (const bool ignoreCase : {true, false}) {
            grouped::NameIndex index(ignoreCase);
            index.Add("Other", 0);
            index.Add(stored, 7);
            index.Add(stored, 9);  // a name listed twice is two groups
            EXPECT_EQ(index.Find(asked).size(), ignoreCase && found ? 2u : 0u) << stored << " " << ignoreCase;
            EXPECT_EQ(index.Find(stored).size(), 2u) << stored;
        }
}

}  // namespace
