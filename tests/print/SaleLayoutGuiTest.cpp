#include "InvoiceFile.h"
#include "InvoiceRecord.h"
#include "RecordedPrint.h"
#include "SaleLayout.h"
#include "SalesFileHeader.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

namespace {

// Three lines: a taxed 5.00, an untaxed 5.00 and an untaxed return of -5.00.
InvoiceRecord sale(const char* payType = "Visa")
{
    InvoiceRecord r;
    auto line = [&r](std::size_t i, const char* item, const char* text, float qty, float price, std::uint8_t taxed) {
        r.itemNumber[i] = item;
        r.description[i] = text;
        r.qty[i] = qty;
        r.price[i] = price;
        r.extended[i] = qty * price;
        r.taxStatus[i] = taxed;
    };
    line(0, "A1", "Taxed thing", 1, 5, 1);
    line(1, "B2", "Untaxed thing", 2, 2.5f, 0);
    line(2, "C3", "Returned thing", -1, 5, 0);
    r.taxableSubtotal = 5;
    r.exemptSubtotal = 0;
    r.taxRate1 = 6;
    r.taxRate2 = 2;
    r.tax1 = 0.30f;
    r.tax2 = 0.10f;
    r.total = 5.40f;
    r.cashPaid = 10;
    r.change = 4.60f;
    r.payType = payType;
    r.cashier = "Ann";
    r.salesperson = "Bob";
    r.recordNumber = 42;
    r.address[InvoiceRecord::kName] = "Retail";
    r.year = 2003;
    r.month = 3;
    r.day = 3;
    r.saleTime = OleDate::fromCalendar(2003, 3, 3, 10, 0, 0);
    return r;
}

SalesFileHeader header()
{
    SalesFileHeader h;
    h.companyName = "Corner Shop";
    h.companyAddress = "1 Main St\r\nSpringfield\r\n";
    return h;
}

// A logo that cannot be read is reported, and the invoice prints without it.
TEST(SaleLayout, InvoiceCellsStandWhereTheFormPutsThem)
{
    SalesFileHeader h = header();
    h.logoPath = "/nonexistent/logo.bmp";
    RecordedPrint print;
    EXPECT_FALSE(LayoutFullPage(RecordedPrint().canvas(), sale(), header(), SaleDocument::Receipt).logoFailed);
    EXPECT_TRUE(LayoutFullPage(print.canvas(), sale(), h, SaleDocument::Receipt).logoFailed);
    EXPECT_EQ(print.pages(), 1);
    // Text position (left, top) in page units: cells are shrunk by 10 where the
    // form says so; table cells span their whole frame.
    struct Case {
        const char* text;
        double left, top;
        int weight;
    } const cases[] = {
        {"Corner Shop\n1 Main St\nSpringfield\n", 100, 100, 400},
        {"Thank You for Shopping at ACME\nWe are Open 24 Hours a Day!\n", 370, 100, 400},
        {" DATE", 90, 380, 800},
        {" PAYMENT", 190, 380, 800},
        {"Visa", 200, 390, 400},
        {" CASHIER", 665, 380, 800},
        {" ITEM#", 90, 430, 800},
        {"TOTAL  ", 770, 430, 800},
        {"A1", 90, 460, 400},
        {"Discount% ", 660, 430 + 21 * 30, 400},
        {"Tax% 8.00 ", 660, 430 + 23 * 30, 400},
        {"Ship/Handing ", 660, 430 + 24 * 30, 400},
        {"Total ", 660, 430 + 25 * 30, 400},
        {"5.40 ", 770, 430 + 25 * 30, 400},
        {"No returns after 30 days", 100, 1070, 400},
    };
    for (const Case& c : cases) {
        const Drawn d = print.one(c.text);
        EXPECT_NEAR(d.left, c.left, 0.01) << c.text;
        EXPECT_NEAR(d.top, c.top, 0.01) << c.text;
        EXPECT_EQ(d.weight, c.weight) << c.text;
        EXPECT_EQ(d.family, "Liberation Sans") << c.text;
    }
    std::string address = AddressBlock(sale());
    std::erase(address, '\r');
    const Drawn customer = print.one(address);
    EXPECT_NEAR(customer.left, 400, 0.01);
    EXPECT_NEAR(customer.top, 250, 0.01);
    // Line amounts in the TOTAL column carry the tax-exempt mark.
    const char* const amounts[] = {"5.00 ", "05.00 ", "-05.00 "};
    for (int row = 0; row < 3; ++row) {
        int found = 0;
        for (const Drawn& d : print.all(amounts[row]))
            found += std::abs(d.left - 770) < 0.01 && std::abs(d.top - (460 + 30 * row)) < 0.01;
        EXPECT_EQ(found, 1) << amounts[row];
    }
    EXPECT_FALSE(print.has(" QUOTE"));
}

TEST(SaleLayout, QuoteAndPackingSlipChangeTheirOwnParts)
{
    RecordedPrint quote;
    LayoutFullPage(quote.canvas(), sale(), header(), SaleDocument::Quote);
    EXPECT_NEAR(quote.one(" QUOTE").left, 190, 0.01);
    EXPECT_TRUE(quote.has("Quote"));
    EXPECT_FALSE(quote.has("Visa"));

    RecordedPrint slip;
    LayoutFullPage(slip.canvas(), sale(), header(), SaleDocument::PackingSlip);
    EXPECT_NEAR(slip.one(" RECORD#").left, 190, 0.01);
    EXPECT_NEAR(slip.one(" CASHIER").left, 540, 0.01);
    EXPECT_NEAR(slip.one(" QTY  ").right, 740, 0.01);
    for (const char* absent : {" PAYMENT", "PRICE  ", "TOTAL  ", "Total ", "Subtotal ", "05.00 "})
        EXPECT_FALSE(slip.has(absent)) << absent;
    EXPECT_TRUE(slip.has(" 2.00 "));
    EXPECT_TRUE(slip.has("No returns after 30 days"));
}

TEST(SaleLayout, WithoutCentsAmountsLoseTheirDecimalsButRollQuantitiesKeepOne)
{
    SalesFileHeader h = header();
    h.showCents = 0;
    h.showTaxesSeparately = 1;
    RecordedPrint invoice;
    RecordedPrint roll(RecordedPrint::roll(400), 203);
    LayoutFullPage(invoice.canvas(), sale(), h, SaleDocument::Receipt);
    LayoutRoll(roll.canvas(), sale("cash"), h);
    for (const char* t : {"05 ", "-05 ", "5 ", "Tax% 6.00 ", "Tax% 2.00 "})
        EXPECT_TRUE(invoice.has(t)) << t;
    EXPECT_FALSE(invoice.has("5.40 "));
    for (const char* t : {"  #A1,  1.0 @ 5", "05", "-05", "Cash Paid 10, Change 5", "  Tax at %6.00", "  Tax at %2.00"})
        EXPECT_TRUE(roll.has(t)) << t;
}

TEST(SaleLayout, RollReceiptLinesFollowTheSale)
{
    struct Case {
        const char* payType;
        float discount, handling;
        const char* customer;
        std::vector<std::string> present, absent;
    } const cases[] = {
        {"Visa", 0, 0, "Retail", {"Paid with Visa"}, {"  Discount%", "  Ship/Handing", "Customer: Retail"}},
        {"CASH", 10, 2, "Jane Doe", {"Cash Paid 10.00, Change 4.60", "  Discount%", "10.00", "  Ship/Handing", "Customer: Jane Doe"},
         {"Paid with CASH"}},
    };
    for (const Case& c : cases) {
        InvoiceRecord r = sale(c.payType);
        r.discountPercent = c.discount;
        r.handling = c.handling;
        r.address[InvoiceRecord::kName] = c.customer;
        RecordedPrint print(RecordedPrint::roll(400), 203);
        LayoutRoll(print.canvas(), r, header());
        for (const std::string& t : c.present)
            EXPECT_TRUE(print.has(t)) << c.payType << ": " << t;
        for (const std::string& t : c.absent)
            EXPECT_FALSE(print.has(t)) << c.payType << ": " << t;
        for (const char* always : {"  #A1,  1.0 @ 5.00", "5.00", "05.00", "-05.00", "  Subtotal", "  Tax at %8.00",
                                   "  Total", "Monday, March 03, 2003", "Salesperson: Bob", "Cashier: Ann"})
            EXPECT_TRUE(print.has(always)) << always;
    }
}

TEST(SaleLayout, RollMovesDownByWrappedHeightAndPrintsLinesWithoutDescription)
{
    InvoiceRecord r = sale();
    r.description[0] = "A very long description that cannot fit on one line of a narrow roll at all";
    r.description[1].clear();  // charged, but with no description
    r.markdownPercent[2] = 12.5f;
    SalesFileHeader h = header();
    RecordedPrint print(RecordedPrint::roll(400), 203);
    LayoutRoll(print.canvas(), r, h);

    const Drawn description = print.one(r.description[0]);
    const Drawn detail = print.one("  #A1,  1.0 @ 5.00");
    const double line = detail.bottom - detail.top;
    EXPECT_NEAR(line * print.scale(), h.rollFontSize, 1.5);  // device units
    EXPECT_GT(detail.top - description.top, 1.5 * line);  // wrapped over two lines or more
    EXPECT_NEAR(detail.top, description.bottom, 0.01);
    EXPECT_TRUE(print.has("  #B2,  2.0 @ 2.50"));
    EXPECT_TRUE(print.has("  #C3,  -1.0 @ 5.00 - 12.5%"));
}

TEST(SaleLayout, LongRollContinuesOnTheNextPage)
{
    InvoiceRecord r = sale();
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        r.itemNumber[i] = strprintf("I%zu", i);
        r.description[i] = strprintf("Line %zu", i);
        r.qty[i] = 1;
    }
    RecordedPrint print(RecordedPrint::roll(80), 203);
    const SaleLayoutResult result = LayoutRoll(print.canvas(), r, header());
    EXPECT_GE(result.pages, 2);
    EXPECT_EQ(result.pages, print.pages());
    for (const Drawn& d : print.texts())
        EXPECT_LE(d.bottom, print.pageHeight() + 0.01) << d.text;
    EXPECT_EQ(print.one("No returns after 30 days").page, result.pages);
}

}  // namespace
