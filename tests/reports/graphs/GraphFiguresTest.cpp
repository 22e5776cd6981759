// The graphs' figures, each fed the sales of one pass, and the pie's layout.

#include "reports/graphs/PieLayout.h"
#include "reports/graphs/SaleFigures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Sale {
    CalendarTime when;  // year 0: no sale time, the stored date is 2026-12-09
    float taxable = 0, exempt = 0, cost = 0;
};

void feed(SaleAccumulator& figures, const std::vector<Sale>& sales)
{
    std::vector<std::uint8_t> bytes(InvoiceRecord::kSize);
    for (const Sale& s : sales) {
        InvoiceRecord r = ClearedInvoice();
        if (s.when.year)
            DateRecord(r, s.when);
        else
            r.year = 2026, r.month = 12, r.day = 9;
        r.taxableSubtotal = s.taxable;
        r.exemptSubtotal = s.exempt;
        r.totalCost = s.cost;
        r.encode(bytes.data());
        figures.AddSale(SaleView(bytes.data(), 0));
    }
}

int key(int y, int m, int d) { return DateKey(y, m, d); }

}  // namespace

TEST(GraphFigures, WeeksRunMondayToSundayOverTheHoursThatSold)
{
    WeekHourFigures week(key(2026, 12, 1), key(2026, 12, 31));
    EXPECT_TRUE(week.scale().empty);
    // 7 December 2026 is a Monday.
    feed(week, {{{2026, 12, 7, 9, 5, 0}, 100}, {{2026, 12, 13, 17, 0, 0}, 40}, {{2026, 12, 14, 9, 0, 0}, 50},
                {{2027, 1, 3, 20, 0, 0}, 500}, {{}, 30}});
    EXPECT_DOUBLE_EQ(week.cell(0, 9), 150);
    EXPECT_DOUBLE_EQ(week.cell(6, 17), 40);
    EXPECT_DOUBLE_EQ(week.cell(2, 0), 30);  // the 9th, a Wednesday, at midnight
    EXPECT_EQ((std::pair{week.firstHour(), week.lastHour()}), (std::pair{0, 17}));
    const GraphScale scale = week.scale();
    EXPECT_EQ((std::pair{scale.smallest, scale.largest}), (std::pair{0.0, 150.0}));
    // figure / range * 10, held to 0..9.
    const std::vector<std::pair<double, int>> bands{{1, 0}, {15, 1}, {40, 2}, {149.9, 9}, {150, 9}};
    for (const auto& [figure, band] : bands)
        EXPECT_EQ(WeekHourFigures::Band(figure, scale), band) << figure;
    EXPECT_EQ(WeekHourFigures::Band(5, GraphScale{5, 5, false}), 9);  // every cell equal
    EXPECT_EQ((std::vector<std::string>{WeekRowLabel(0), WeekRowLabel(6), WeekRowLabel(12), WeekRowLabel(13),
                                        WeekRowLabel(18), LegendLabel(0), LegendLabel(9)}),
              (std::vector<std::string>{"12:00 AM", "6:00 AM", "12:00 PM", "1:00", "6:00 PM", " 1% to 10%", "91% to 100%"}));
}

TEST(GraphFigures, MonthsAndDaysEndWithTodayAndALossHasANegativeMargin)
{
    const CalendarTime now{2026, 12, 7, 10, 0, 0};
    MonthFigures months(now);
    TrendFigures days(now);
    const std::vector<Sale> sales{{{2025, 12, 1, 8, 0, 0}, 50, 0, 100}, {{2025, 11, 30, 8, 0, 0}, 9, 0, 1},
                                  {{2025, 12, 8, 8, 0, 0}, 30, 0, 20},  {{2025, 12, 7, 8, 0, 0}, 9, 0, 1},
                                  {{2026, 12, 7, 23, 0, 0}, 20, 5, 20}};
    feed(months, sales);
    feed(days, sales);
    EXPECT_EQ((std::pair{months.year(0), months.month(0)}), (std::pair{2025, 12}));
    EXPECT_EQ((std::tuple{months.sales(0), months.cost(0), months.marginPercent(0)}), (std::tuple{89.0, 121.0, -26}));
    EXPECT_EQ((std::pair{months.sales(12), months.marginPercent(12)}), (std::pair{25.0, 25}));
    EXPECT_EQ(months.marginPercent(5), 0);  // no cost
    EXPECT_EQ(months.label(0), "12 / 25\n89");
    EXPECT_EQ(days.date(0).day, 8);
    EXPECT_EQ((std::tuple{days.sales(0), days.sales(364), days.marginPercent(0)}), (std::tuple{30.0, 25.0, 50.0}));
    EXPECT_FALSE(days.hasMargin(1));
}

TEST(GraphFigures, PieSlicesAreWholeDegreesLabelledByTheirAngle)
{
    ChartData third{"Third", {{"A", 33.33}, {"B", 33.33}, {"C", 33.34}}};
    const std::vector<PieSlice> pie = LayoutPie(third);
    ASSERT_EQ(pie.size(), 3u);
    EXPECT_EQ((std::tuple{pie[0].sweep, pie[1].start, pie[2].start, pie[2].sweep}), (std::tuple{119, 119, 238, 120}));
    EXPECT_EQ(pie[0].label, "33.1% A");
    EXPECT_EQ((std::vector<int>{pie[0].labelRadius, pie[1].labelRadius, pie[2].labelRadius}),
              (std::vector<int>{100, 115, 100}));

    ChartData nine{"Nine", {}};
    for (int i = 0; i < 9; ++i)
        nine.slices.push_back({"G" + std::to_string(i), i == 4 ? 0.0 : 1.0});
    const std::vector<PieSlice> many = LayoutPie(nine);
    EXPECT_EQ(many[8].brush, 0);
    EXPECT_EQ(many[4].label, "");
    EXPECT_EQ(many[3].label, "12.5% G3");

    EXPECT_TRUE(LayoutPie(ChartData{"None", {}}).empty());
    EXPECT_TRUE(LayoutPie(ChartData{"Zero", {{"A", 0}}}).empty());
}
