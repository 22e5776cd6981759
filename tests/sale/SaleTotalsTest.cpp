// Sale totals worked out by hand: each expected value is the two-decimal
// figure a store would compute on paper, so the stored float must equal it.
#include "../storage/FileSetTest.h"
#include "sale/SaleTotals.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/InvoiceRecord.h"
#include "support/ProductFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Line {
    float qty, price, markdown;
    std::uint8_t taxStatus;
    float cost = 0;
};

InvoiceRecord sale(std::initializer_list<Line> lines, float rate1 = 0, float rate2 = 0, float discount = 0,
                   float handling = 0, float cashPaid = 0)
{
    InvoiceRecord r;
    std::size_t i = 0;
    for (const Line& l : lines) {
        r.itemNumber[i] = "I" + std::to_string(i);
        std::tie(r.qty[i], r.price[i], r.markdownPercent[i], r.taxStatus[i], r.cost[i]) =
            std::tuple{l.qty, l.price, l.markdown, l.taxStatus, l.cost};
        ++i;
    }
    std::tie(r.taxRate1, r.taxRate2, r.discountPercent, r.handling, r.cashPaid) =
        std::tuple{rate1, rate2, discount, handling, cashPaid};
    return r;
}

struct SaleTotalsOnFiles : FileSetTest {};

SalesFileHeader settings(int formula, bool cents = true)
{
    SalesFileHeader h;
    h.taxFormula = static_cast<std::uint8_t>(formula);
    h.showCents = cents ? 1 : 0;
    return h;
}

}  // namespace

TEST(SaleTotals, HandWorkedCases)
{
    struct Case {
        const char* name;
        SalesFileHeader header;
        InvoiceRecord record;
        float taxable, exempt, tax1, tax2, total, change;
    };
    const Case cases[] = {
        // USA: tax on top. UK: the same taxes are inside the price.
        {"usa both taxes", settings(0), sale({{1, 100, 0, 3}}, 5, 2), 100, 0, 5.00f, 2.00f, 107.00f, -107.00f},
        {"uk both taxes", settings(1), sale({{1, 100, 0, 3}}, 5, 2), 100, 0, 4.76f, 1.96f, 100.00f, -100.00f},
        // 3 x 19.99 = 59.97; 8.25 % of it is 4.947525.
        {"usa cents", settings(0), sale({{3, 19.99f, 0, 1}}, 8.25f), 59.97f, 0, 4.95f, 0, 64.92f, -64.92f},
        // Mixed: 20 at tax 1 (8 %), 10 at tax 2 (3 %), 5 untaxed.
        {"mixed statuses", settings(0), sale({{1, 20, 0, 1}, {2, 5, 0, 2}, {1, 5, 0, 0}}, 8, 3), 30, 5, 1.60f, 0.30f,
         36.90f, -36.90f},
        // 10 % off 10.00 at 10 % tax: 9.00 + 0.90; handling 4.50 is neither discounted nor taxed.
        {"discount and handling", settings(0), sale({{1, 10, 0, 1}}, 10, 0, 10, 4.5f, 20), 9, 0, 0.90f, 0, 14.40f,
         5.60f},
        // Cents off: 3 x 1.50 = 4.5 gives 5, 2 x 1.25 = 2.5 gives 3.
        {"whole units lines", settings(0, false), sale({{3, 1.5f, 0, 0}, {2, 1.25f, 0, 0}}), 0, 8, 0, 0, 8, -8},
        // Cents off: 10 less 15 % is 8.5, which gives 9.
        {"whole units discount", settings(0, false), sale({{1, 10, 0, 0}}, 0, 0, 15), 0, 9, 0, 0, 9, -9},
        // Mark-downs: 100 % gives nothing, 150 % of an untaxed 10 gives -5; a return line of -2 x 4.
        {"markdowns and returns", settings(0), sale({{1, 10, 100, 1}, {1, 10, 150, 0}, {-2, 4, 0, 1}}, 10), -8, -5,
         -0.80f, 0, -13.80f, 13.80f},
        // Any other formula value adds no tax.
        {"unknown formula", settings(7), sale({{1, 50, 0, 3}}, 10, 10), 50, 0, 0, 0, 50, -50},
    };
    for (const Case& c : cases) {
        InvoiceRecord r = c.record;
        RecalculateTotals(r, c.header);
        EXPECT_EQ((std::array{r.taxableSubtotal, r.exemptSubtotal, r.tax1, r.tax2, r.total, r.change}),
                  (std::array{c.taxable, c.exempt, c.tax1, c.tax2, c.total, c.change}))
            << c.name;
    }
}

TEST(SaleTotals, LineAmountsAndCostAreStoredPerLine)
{
    InvoiceRecord r = sale({{3, 2.5f, 0, 1, 1.25f}, {-1, 4, 0, 0, 2}, {2, 9.99f, 10, 1, 5}});
    RecalculateTotals(r, settings(0));
    // 90 % of 19.98 = 17.982; cost 3.75 - 2 + 10.
    EXPECT_EQ((std::array{r.extended[0], r.extended[1], r.extended[2], r.extended[3], r.totalCost}),
              (std::array{7.50f, -4.00f, 17.98f, 0.0f, 11.75f}));
}

TEST(SaleTotals, DiscountLevelsReplaceTheTypedDiscountAtTheirThresholds)
{
    SalesFileHeader h = settings(0);
    h.salesDiscountOn = 1;
    h.discountSubtotal = {0, 100, 500, 0, 0, 0};
    h.discountPercent = {0, 5, 10, 0, 0, 0};
    SalesFileHeader damaged = h;  // a level whose percent or threshold is not a number never applies
    damaged.discountPercent[2] = std::numeric_limits<float>::quiet_NaN();
    damaged.discountSubtotal[1] = std::numeric_limits<float>::infinity();
    const SalesFileHeader none = settings(0);  // without levels the typed 7 % stays
    const struct {
        const SalesFileHeader& header;
        float price, discount, total;
    } cases[] = {
        {h, 499.99f, 5, 474.99f},  // 499.99 less 24.9995
        {h, 500.00f, 10, 450.00f}, {h, 99.99f, 0, 99.99f},  // no level reached: the typed 7 % is dropped
        {h, 100.00f, 5, 95.00f},   {damaged, 600, 0, 600},  {none, 100, 7, 93},
    };
    for (const auto& c : cases) {
        InvoiceRecord r = sale({{1, c.price, 0, 0}}, 0, 0, 7);
        RecalculateTotals(r, c.header);
        EXPECT_EQ((std::array{r.discountPercent, r.exemptSubtotal, r.total}), (std::array{c.discount, c.total, c.total}))
            << c.price;
    }
}

TEST(SaleTotals, AbsurdNumbersNeverGiveNanOrInf)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    InvoiceRecord r = sale({{nan, 5, 0, 1}, {1e30f, 1e10f, 0, 1}, {1, inf, 0, 0}, {2, 3, 0, 1}}, nan, 5, 0, inf);
    RecalculateTotals(r, settings(0));
    for (float v : {r.extended[0], r.extended[2], r.taxableSubtotal, r.exemptSubtotal, r.tax1, r.tax2, r.change,
                    r.totalCost})
        EXPECT_TRUE(std::isfinite(v)) << v;
    // Inputs that are not numbers count as 0, and so does a line too large for
    // a float; the sound line is still counted, at the rate that is a number.
    EXPECT_EQ((std::array{r.extended[1], r.extended[3], r.taxRate1, r.handling, r.total}),
              (std::array{0.0f, 6.0f, 0.0f, 0.0f, 6.0f}));
}

TEST(SaleTotals, NumberTextsFollowTheCRulesAndNeverShowANegativeZero)
{
    const SalesFileHeader cents = settings(0);
    const SalesFileHeader whole = settings(1, false);
    const struct {
        const SalesFileHeader& header;
        double value;
        bool taxed;
        const char* text;
    } amounts[] = {
        {cents, 12.5, true, "12.50"},  {cents, 12.5, false, "012.50"}, {cents, -3, false, "-03.00"},
        {cents, 0, false, "00.00"},    {cents, -0.0, false, "00.00"},  {cents, -0.0, true, "0.00"},
        {cents, -0.004, true, "0.00"}, {cents, -0.004, false, "00.00"}, {cents, 1400059723776.0, true, "1400059723776.00"},
        {whole, 12.6, true, "13"},     {whole, 12.6, false, "013"},    {whole, -3.2, false, "-03"},
        {whole, -0.4, true, "0"},      {cents, std::nan(""), true, "0.00"}, {cents, -HUGE_VAL, false, "00.00"},
    };
    for (const auto& a : amounts)
        EXPECT_EQ(AmountText(a.header, a.value, a.taxed), a.text) << a.value;
    const struct {
        const char* text;
        double value;
    } reads[] = {{"12.50", 12.5}, {" +2.5x", 2.5}, {"-2", -2}, {"12,50", 12}, {"abc", 0}, {"", 0},
                 {"nan", 0},      {"-inf", 0},     {"1e400", 0}};
    for (const auto& r : reads)
        EXPECT_EQ(ReadNumber(r.text), r.value) << r.text;
    // The double below -1.005 prints as -1.00.
    EXPECT_EQ((std::array{RoundToCents(4.947525), RoundToCents(-1.005), RoundToCents(1e40)}),
              (std::array{4.95f, -1.00f, 0.0f}));
    EXPECT_EQ((std::array{TaxLabel(settings(0)), TaxLabel(settings(1)), TaxLabel(settings(2))}),
              (std::array<std::string, 3>{"Tax", "v.a.t.", "Tax"}));
}

TEST(SaleTotals, PriceAtLevelFallsBackToTheFirstLowerPositivePrice)
{
    ProductRecord p;
    p.price = {5, 0, 3, 0, -1, 0};
    // Levels past 5 are taken as 5, below 0 as 0.
    const std::pair<int, float> cases[] = {{0, 5}, {1, 5}, {2, 3}, {5, 3}, {9, 3}, {-2, 5}};
    for (const auto& [level, price] : cases)
        EXPECT_EQ(PriceAtLevel(p, level), price) << level;
    p.price = {-2, 0, 0, 0, 0, 0};
    EXPECT_EQ(PriceAtLevel(p, 3), -2.0f);  // price[0] as stored
}

TEST(SaleTotals, SalePeriodIncludesItsFirstAndLastDay)
{
    SalesFileHeader h;
    h.saleDatesOn = 1;
    h.saleFirstDay = OleDate::fromCalendar(2026, 12, 1, 0, 0, 0);
    h.saleLastDay = OleDate::fromCalendar(2026, 12, 6, 23, 59, 59);
    SalesFileHeader off = h, noEnd = h;
    off.saleDatesOn = 0;
    noEnd.saleLastDay = OleDate{};
    const struct {
        const SalesFileHeader& header;
        CalendarTime now;
        bool on;
    } cases[] = {{h, {2026, 12, 1, 0, 0, 0}, true},      {h, {2026, 12, 6, 23, 59, 59}, true},
                 {h, {2026, 11, 30, 23, 59, 59}, false}, {h, {2026, 12, 7, 0, 0, 0}, false},
                 {off, {2026, 12, 3, 12, 0, 0}, false},  {noEnd, {2026, 12, 3, 12, 0, 0}, false}};
    for (const auto& c : cases)
        EXPECT_EQ(SalePeriodOn(c.header, c.now), c.on) << c.now.month << "/" << c.now.day;
}

TEST_F(SaleTotalsOnFiles, TaxRatesBySimpleTaxZoneNameAndMissingTable)
{
    SalesFileHeader h, simple;
    h.simpleTax = 0;
    std::tie(simple.simpleTax, simple.simpleTax1, simple.simpleTax2) = std::tuple{1u, 6.5f, 1.0f};
    const auto rates = [&](const SalesFileHeader& header, const char* zone) {
        InvoiceRecord r;
        r.taxRate1 = r.taxRate2 = 77;
        LookupTaxRates(local, header, r, zone);
        return std::pair(r.taxRate1, r.taxRate2);
    };
    EXPECT_EQ(rates(h, "Zone A"), std::pair(0.0f, 0.0f));  // no tax table at all: untaxed
    for (const TaxTableRecord& zone : {TaxTableRecord{"Zone A", 5, 2}, {"zone a", 9, 9}, {"Zone A", 1, 1}})
        ASSERT_EQ(AppendTaxZone(local, zone), 0);
    const struct {
        const SalesFileHeader& header;
        const char* name;
        float rate1, rate2;
    } cases[] = {{h, "Zone A", 5, 2}, {h, "zone a", 9, 9}, {h, "ZONE A", 0, 0},
                 {h, "", 0, 0},       {h, "Zone", 0, 0},   {simple, "Zone A", 6.5f, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(rates(c.header, c.name), std::pair(c.rate1, c.rate2)) << c.name;
    // A tax table cut short in its header reads as no table.
    const auto bytes = readBytes(local.GetPath("Tax Table"));
    writeBytes(local.GetPath("Tax Table"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 10));
    EXPECT_EQ(rates(h, "Zone A"), std::pair(0.0f, 0.0f));
}

TEST_F(SaleTotalsOnFiles, RepricingTakesTheLevelPriceByItemOrBarCodeAndKeepsVanishedLines)
{
    const auto product = [](const char* item, const char* barCode, std::array<float, 6> prices) {
        ProductRecord p = makeProduct(item, 0, barCode);
        p.price = prices;
        return p;
    };
    // A later record with the same item number never wins.
    writeProductFile(local.GetPath("Products"), {product("A", "", {10, 8, 0, 0, 0, 0}),
                                                 product("B", "123", {4, 0, 0, 0, 0, 0}),
                                                 product("A", "", {99, 99, 99, 99, 99, 99})});
    InvoiceRecord r;
    r.itemNumber = {"a", "123", "GONE", "", "", "B"};
    r.price = {1, 1, 7, 1, 1, 1};
    r.qty[0] = 3;
    RepriceLines(local, r, 1);
    // Level 1 empty falls back to level 0; an item no longer in the file keeps
    // its price; an empty slot is untouched.
    EXPECT_EQ((std::array{r.price[0], r.price[1], r.price[2], r.price[3], r.price[5], r.qty[0]}),
              (std::array{8.0f, 4.0f, 7.0f, 1.0f, 4.0f, 3.0f}));
    RepriceLines(local, r, 0);
    EXPECT_EQ(r.price[0], 10.0f);
}
