// Period selection, the summary figures, the Find Sales tests and the drawer
// count, over sales stored the way registers store them.

#include "reports/DrawerCount.h"
#include "reports/SaleSearch.h"
#include "reports/SalesSummary.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"
#include "support/DataFolder.h"
#include "support/StoredRecords.h"

#include <cmath>
#include <filesystem>
#include <vector>

namespace {

CalendarTime on(int year, int month, int day)
{
    CalendarTime t{year, month, day, 12, 0, 0};
    return DaysBefore(t, 0);  // fills the day of the week and of the year
}

// The stored sales a one-click report selects, by their totals.
std::vector<float> selected(const CLocalFile& local, const PeriodSelection& period)
{
    struct Totals : SaleAccumulator {
        PeriodSelection p;
        std::vector<float> totals;
        void AddSale(const SaleView& s) override
        {
            if (p.Selects(s))
                totals.push_back(s.total());
        }
    } report;
    report.p = period;
    EXPECT_EQ(ScanSales(local, report), ScanOutcome::Done);
    return report.totals;
}

using PeriodReports = DataFolder;

TEST_F(PeriodReports, QuarterOfEveryMonthAndTheQuarterBeforeIt)
{
    // month, quarter, and the quarter before it with its year (of 2026).
    const int table[12][4] = {{1, 0, 3, 2025}, {2, 0, 3, 2025}, {3, 0, 3, 2025}, {4, 1, 0, 2026},
                              {5, 1, 0, 2026}, {6, 1, 0, 2026}, {7, 1, 0, 2026}, {8, 2, 1, 2026},
                              {9, 2, 1, 2026}, {10, 2, 1, 2026}, {11, 2, 1, 2026}, {12, 3, 2, 2026}};
    for (const auto& row : table) {
        for (int day : {1, 15, 28}) {
            const CalendarTime now = on(2026, row[0], day);
            const PeriodSelection thisQuarter = SelectPeriod(SalesPeriod::Quarter, false, now);
            const PeriodSelection last = SelectPeriod(SalesPeriod::Quarter, true, now);
            EXPECT_EQ((std::pair{thisQuarter.quarter, thisQuarter.year}), (std::pair{row[1], 2026})) << row[0];
            EXPECT_EQ((std::pair{last.quarter, last.year}), (std::pair{row[2], row[3]})) << row[0] << "/" << day;
        }
    }
}

TEST_F(PeriodReports, WeekZeroYesterdayLastMonthAndLastYear)
{
    // 1 January 2024 was a Monday: 31 December 2023 is in the week before.
    for (const auto& [y, m, d, total] : std::vector<std::tuple<int, int, int, float>>{
             {2023, 12, 31, 1}, {2024, 1, 1, 2}, {2024, 1, 2, 3}, {2024, 1, 6, 4}, {2024, 1, 7, 5},
             {2023, 2, 13, 6}, {2024, 12, 31, 7}, {2024, 2, 29, 8}, {2023, 6, 1, 9}})
        storeSale(local, SaleSpec().total(total).when(on(y, m, d)));
    EXPECT_EQ(selected(local, SelectPeriod(SalesPeriod::Week, false, on(2024, 1, 2))), (std::vector<float>{2, 3, 4}));
    EXPECT_EQ(selected(local, SelectPeriod(SalesPeriod::Week, true, on(2024, 1, 8))), (std::vector<float>{2, 3, 4}));
    EXPECT_EQ(selected(local, SelectPeriod(SalesPeriod::Day, true, on(2024, 1, 1))), (std::vector<float>{1}));
    EXPECT_EQ(selected(local, SelectPeriod(SalesPeriod::Month, true, on(2024, 3, 31))), (std::vector<float>{8}));
    EXPECT_EQ(selected(local, SelectPeriod(SalesPeriod::Month, true, on(2024, 1, 1))), (std::vector<float>{1}));
    // On the last day of a leap year, last year is the year before, not this one.
    EXPECT_EQ(selected(local, SelectPeriod(SalesPeriod::Year, true, on(2024, 12, 31))), (std::vector<float>{1, 6, 9}));
}

TEST_F(PeriodReports, RangeKeysIncludeBothDaysAndSumsStayExactInCents)
{
    for (int d : {9, 10, 11, 12})
        storeSale(local, SaleSpec().item("A").total(static_cast<float>(d)).when(on(2026, 3, d)));
    const auto sumOf = [&](int first, int last) {
        PeriodSums sums(DateKey(2026, 3, first), DateKey(2026, 3, last));
        EXPECT_EQ(ScanSales(local, sums), ScanOutcome::Done);
        return std::pair{sums.sums().count, sums.sums().total};
    };
    EXPECT_EQ(sumOf(10, 11), (std::pair{2LL, 21.0}));
    EXPECT_EQ(sumOf(10, 10), (std::pair{1LL, 10.0}));
    EXPECT_EQ(sumOf(11, 10), (std::pair{0LL, 0.0}));

    // 30,000 sales of 19.99: a float sum is off by dollars, the sums are not.
    InvoiceRecord sale = ClearedInvoice();
    sale.total = sale.taxableSubtotal = 19.99f;
    std::vector<std::uint8_t> bytes(InvoiceRecord::kSize);
    sale.encode(bytes.data());
    SaleSums sums;
    for (int i = 0; i < 30000; ++i)
        sums.Add(SaleView(bytes.data(), i));
    EXPECT_EQ(std::llround(sums.total * 100), 30000LL * 1999);
    EXPECT_EQ(FormatSummary(sums, true).total, "599700.00");
}

TEST(SummaryFigures, NoSalesOrNoCostShowZerosAndCentsOffRoundsTheTotals)
{
    SummaryTexts none = FormatSummary(SaleSums{}, true);
    EXPECT_EQ((std::vector{none.saleAverage, none.profitAverage, none.grossMargin, none.count}),
              (std::vector<std::string>{"0.00", "0.00", "0.00", "0"}));
    EXPECT_EQ(SummaryBody(none).find("nan"), std::string::npos);
    EXPECT_EQ(SummaryBody(none).find("inf"), std::string::npos);

    SaleSums s;
    s.count = 2;
    s.taxable = 1000;
    s.exempt = 200;
    s.total = 1234.56;
    s.totalCost = 0;
    s.profit = 1200;
    SummaryTexts t = FormatSummary(s, false);
    EXPECT_EQ((std::vector{t.total, t.combined, t.totalCost, t.saleAverage, t.grossMargin}),
              (std::vector<std::string>{"1235", "1200", "0.00", "600.00", "0.00"}));
    s.totalCost = 800;
    EXPECT_EQ(FormatSummary(s, true).grossMargin, "50.00");
    EXPECT_NE(SummaryBody(FormatSummary(s, true)).find("Number of Sales:\t2.00\n"), std::string::npos);
}

using FindSales = DataFolder;

TEST_F(FindSales, LowMarginDatesTypesAndTheListedTotal)
{
    // Lines: item, price, cost. Margin limit 25 %.
    const auto saleWith = [&](std::vector<std::tuple<std::string, float, float>> lines, std::uint8_t level, int day) {
        InvoiceRecord sale = ClearedInvoice();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::tie(sale.itemNumber[i], sale.price[i], sale.cost[i]) = lines[i];
            sale.description[i] = "thing";
        }
        sale.total = 1;
        sale.priceLevel = level;
        int count = 0;
        ReadInvoiceCount(local, count);
        return AppendInvoice(local, sale, count, on(2026, 5, day));
    };
    saleWith({{"A12", 12, 10}}, 0, 1);            // 0: 20 %
    saleWith({{"B", 0, 0}, {"", 1, 10}}, 1, 2);   // 1: no margin; the line without item never counts
    saleWith({{"C", 5, 0}}, 2, 3);                // 2: cost 0, infinite markup
    saleWith({{"D", 10, 5}, {"ab-7", 10, 10}}, 9, 4);  // 3: 0 % on its second line; level past the names
    const auto found = [&](SaleSearchInput in) {
        SaleSearch search(SaleSearchCriteria::From(in));
        EXPECT_EQ(ScanSales(local, search), ScanOutcome::Done);
        FoundSales rows;
        rows.list(local, search.TakePositions(), SalesFileHeader{}.levelNames);
        std::vector<int> numbers;
        for (std::size_t row = 0; row < rows.size(); ++row)
            numbers.push_back(std::stoi(rows.cells(row)[0]));
        return numbers;
    };
    SaleSearchInput margin;
    margin.lowMargin = true;
    margin.marginText = "25";
    EXPECT_EQ(found(margin), (std::vector<int>{3, 0}));
    margin.marginText = "not a number";  // reads as 0 %: strictly below only
    EXPECT_EQ(found(margin), (std::vector<int>{}));
    SaleSearchInput dates;
    dates.useDates = true;
    dates.start = on(2026, 5, 2);
    dates.end = on(2026, 5, 3);
    EXPECT_EQ(found(dates), (std::vector<int>{2, 1}));
    std::swap(dates.start, dates.end);
    EXPECT_EQ(found(dates), (std::vector<int>{}));
    SaleSearchInput texts;
    texts.itemNumber = "AB";
    EXPECT_EQ(found(texts), (std::vector<int>{3}));
    texts.itemNumber = "12";
    texts.saleType = 0;
    EXPECT_EQ(found(texts), (std::vector<int>{0}));

    SaleSearch all(SaleSearchCriteria::From({}));
    ScanSales(local, all);
    FoundSales rows;
    rows.list(local, all.TakePositions(), SalesFileHeader{}.levelNames);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.cells(0)[5], "Category 6");
    ListedSalesTotal total({0, 3, 3});
    ScanSales(local, total);
    EXPECT_EQ(total.sums().count, 2);
    // A listed sale the file no longer holds shows an empty row; the others still show.
    std::filesystem::resize_file(local.GetPath("Invoices"), InvoiceOffset(3));
    rows.list(local, rows.positions(), SalesFileHeader{}.levelNames);
    EXPECT_EQ(rows.cells(0), (std::array<std::string, 7>{}));
    EXPECT_EQ(rows.cells(1)[0], "2");
}

using DrawerCount = DataFolder;

TEST_F(DrawerCount, CoinsBillsAndTheDaysSalesAndPaymentsOfTwoRegistersByType)
{
    DrawerCounts c;
    c.counts[0] = 250;  // pennies
    c.counts[3] = 3;    // quarters
    c.counts[9] = 2;    // twenties: 43.25 counted

    const CalendarTime today = on(2026, 12, 7), before = on(2026, 12, 6);
    storeSale(local, SaleSpec().total(20).payType("Visa").cashier("Ann").when(today));
    storeSale(local, SaleSpec().total(7).payType("Cash").cashier("Bob").when(today));
    storeSale(local, SaleSpec().total(99).payType("Cash").when(before));
    storeSale(local, SaleSpec().total(3).payType("Barter").cashier("Ann").when(today));
    const int split = storeSale(local, SaleSpec().total(50).payType("Split").cashier("Ann").when(today));
    const int deposit = storeSale(local, SaleSpec().total(80).payType("Deposit").when(before));
    // A second register on the same folder rings a cash sale today.
    CLocalFile other(local.workingFolder());
    storeSale(other, SaleSpec().total(5).payType("Cash").cashier("Bob").when(today));
    const auto pay = [&](int sale, const char* type, float amount, const CalendarTime& when, const char* cashier) {
        PaymentRecord p;
        p.kind = PaymentRecord::kSplitPart;
        p.invoiceNumber = sale;
        p.amount = amount;
        p.payType = type;
        p.cashier = cashier;
        p.date = OleDate::fromCalendar(when);
        EXPECT_GE(AppendPayment(local, p), 0);
    };
    pay(split, "Cash", 30, today, "Ann");
    pay(split, "Check", 20, today, "Ann");
    pay(deposit, "Visa", 10, today, "Bob");  // a deposit on an earlier sale counts today
    pay(deposit, "Visa", 40, before, "Bob");

    // Cash is found by name in a list that does not start with it.
    const std::string types = "Visa\r\nCheck\r\nSplit\r\ncash\r\n";
    DrawerTally store(types, today);
    EXPECT_EQ(ScanSalesAndPayments(local, store, store), ScanOutcome::Done);
    EXPECT_EQ(store.names(), (std::vector<std::string>{"Visa", "Check", "cash", "Unknown Type"}));
    // Sales match their type exactly, so "Cash" sales fall to Unknown Type in this list.
    EXPECT_EQ(store.sums(), (std::vector<double>{30, 20, 0, 45}));
    DrawerTally defaults(SalesFileHeader{}.paymentTypes, today);
    ScanSalesAndPayments(local, defaults, defaults);
    EXPECT_EQ((std::tuple{defaults.cash(), defaults.other(), defaults.total()}), (std::tuple{42.0, 53.0, 95.0}));
    DrawerTally ann(SalesFileHeader{}.paymentTypes, today, "ann");
    ScanSalesAndPayments(local, ann, ann);
    EXPECT_EQ((std::tuple{ann.cash(), ann.other()}), (std::tuple{30.0, 43.0}));
    EXPECT_NE(DrawerReportBody(c, defaults).find("\nCash Error\t     1.25"), std::string::npos);
}

}  // namespace
