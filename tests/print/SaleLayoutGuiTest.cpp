#include "PrintedDocuments.h"
#include "RecordedPrint.h"
#include "platform/PrintFrame.h"
#include "print/SaleLayout.h"
#include "storage/files/InvoiceFile.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

bool at(const Drawn& d, double left, double top)
{
    return std::abs(d.left - left) < 0.01 && std::abs(d.top - top) < 0.01;
}

// Every text is drawn on the print, or none is.
void expectDrawn(RecordedPrint& print, std::initializer_list<std::string> texts, bool drawn = true)
{
    for (const std::string& t : texts)
        EXPECT_EQ(print.has(t), drawn) << '"' << t << '"';
}

// A logo that cannot be read is reported, and the invoice prints without it.
// A sale not yet dated prints no date.
TEST(SaleLayout, InvoiceCellsStandWhereTheFormPutsThem)
{
    SalesFileHeader h = printedHeader();
    h.logoPath = "/nonexistent/logo.bmp";
    RecordedPrint print, undated;
    InvoiceRecord notDated = printedSale();
    std::tie(notDated.year, notDated.saleTime) = std::pair{0, OleDate{}};
    EXPECT_FALSE(LayoutFullPage(undated.canvas(), notDated, printedHeader(), SaleDocument::Receipt).logoFailed);
    EXPECT_TRUE(LayoutFullPage(print.canvas(), printedSale(), h, SaleDocument::Receipt).logoFailed);
    EXPECT_EQ(print.pages(), 1);
    EXPECT_EQ((std::pair{print.has("03/03/03"), undated.has("03/03/03")}), (std::pair{true, false}));
    std::string address = AddressBlock(printedSale());
    std::erase(address, '\r');
    // Text position (left, top) in page units: cells are shrunk by 10 where the
    // form says so; table cells and headings keep 4 units clear of the frame.
    struct Case {
        std::string text;
        double left, top;
        int weight;
    } const cases[] = {
        {"Corner Shop\n1 Main St\nSpringfield\n", 100, 100, 400},
        {"Thank You for Shopping at ACME\nWe are Open 24 Hours a Day!\n", 370, 100, 400},
        {address, 400, 250, 400},
        {" PAYMENT", 194, 380, 800},
        {"Visa", 200, 390, 400},
        {"A1", 94, 460, 400},
        {"Tax% 8.00 ", 664, 430 + 23 * 30, 400},
        {"Ship/Handing ", 664, 430 + 24 * 30, 400},
        {"5.40 ", 774, 430 + 25 * 30, 400},
        {"No returns after 30 days", 100, 1070, 400},
    };
    for (const Case& c : cases) {
        const Drawn d = print.one(c.text);
        EXPECT_TRUE(at(d, c.left, c.top)) << c.text << " at " << d.left << ", " << d.top;
        EXPECT_EQ((std::pair{d.weight, d.family}), (std::pair{c.weight, std::string("Liberation Sans")})) << c.text;
    }
    // Line amounts in the TOTAL column carry the tax-exempt mark.
    const char* const amounts[] = {"5.00 ", "05.00 ", "-05.00 "};
    for (int row = 0; row < 3; ++row) {
        const std::vector<Drawn> drawn = print.all(amounts[row]);
        const auto inColumn = [row](const Drawn& d) { return at(d, 774, 460 + 30 * row); };
        EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(), inColumn), 1) << amounts[row];
    }
    EXPECT_FALSE(print.has(" QUOTE"));
}

TEST(SaleLayout, WithoutCentsAmountsLoseTheirDecimalsButRollQuantitiesKeepOne)
{
    SalesFileHeader h = printedHeader();
    h.showCents = 0;
    h.showTaxesSeparately = 1;
    RecordedPrint invoice;
    RecordedPrint roll(RecordedPrint::roll(400), 203);
    LayoutFullPage(invoice.canvas(), printedSale(), h, SaleDocument::Receipt);
    LayoutRoll(roll.canvas(), printedSale("cash"), h);
    expectDrawn(invoice, {"05 ", "-05 ", "5 ", "Tax% 6.00 ", "Tax% 2.00 "});
    expectDrawn(invoice, {"5.40 "}, false);
    expectDrawn(roll, {"  #A1,  1.0 @ 5", "05", "-05", "Cash Paid 10, Change 5", "  Tax at %6.00", "  Tax at %2.00"});
}

TEST(SaleLayout, RollReceiptLinesFollowTheSale)
{
    struct Case {
        const char* payType;
        float discount, handling;
        const char* customer;
        int year;  // 0: not yet dated
        std::initializer_list<std::string> present, absent;
    } const cases[] = {
        {"Visa", 0, 0, "Retail", 2003, {"Paid with Visa", "Monday, March 03, 2003"},
         {"  Discount%", "  Ship/Handing", "Customer: Retail"}},
        {"CASH", 10, 2, "Jane Doe", 0,
         {"Cash Paid 10.00, Change 4.60", "  Discount%", "10.00", "  Ship/Handing", "Customer: Jane Doe"},
         {"Paid with CASH", "Monday, March 03, 2003"}},
    };
    for (const Case& c : cases) {
        InvoiceRecord r = printedSale(c.payType);
        r.discountPercent = c.discount;
        r.handling = c.handling;
        r.address[InvoiceRecord::kName] = c.customer;
        r.year = c.year;
        RecordedPrint print(RecordedPrint::roll(400), 203);
        LayoutRoll(print.canvas(), r, printedHeader());
        SCOPED_TRACE(c.payType);
        expectDrawn(print, c.present);
        expectDrawn(print, c.absent, false);
        expectDrawn(print, {"  #A1,  1.0 @ 5.00", "5.00", "05.00", "-05.00", "  Subtotal", "  Tax at %8.00", "  Total",
                            "Salesperson: Bob", "Cashier: Ann"});
    }
}

// A long description wraps and the next text starts under it; a line without
// a description still prints; a roll longer than its page goes on.
TEST(SaleLayout, RollWrapsLongDescriptionsAndContinuesOnTheNextPage)
{
    InvoiceRecord r = printedSale();
    r.description[0] = "A very long description that cannot fit on one line of a narrow roll at all";
    r.description[1].clear();  // charged, but with no description
    r.markdownPercent[2] = 12.5f;
    for (std::size_t i = 3; i < InvoiceRecord::kLines; ++i)
        std::tie(r.itemNumber[i], r.description[i], r.qty[i]) = std::tuple{strprintf("I%zu", i), "Line", 1.0f};
    const SalesFileHeader h = printedHeader();
    RecordedPrint print(RecordedPrint::roll(80), 203);
    const SaleLayoutResult result = LayoutRoll(print.canvas(), r, h);

    const Drawn description = print.one(r.description[0]);
    const Drawn detail = print.one("  #A1,  1.0 @ 5.00");
    const double line = detail.bottom - detail.top;
    EXPECT_NEAR(line * print.scale(), h.rollFontSize, 1.5);  // device units
    EXPECT_GT(detail.top - description.top, 1.5 * line);  // wrapped over two lines or more
    EXPECT_NEAR(detail.top, description.bottom, 0.01);
    expectDrawn(print, {"  #B2,  2.0 @ 2.50", "  #C3,  -1.0 @ 5.00 - 12.5%", "  #I19,  1.0 @ 0.00"});
    EXPECT_GE(result.pages, 2);
    EXPECT_EQ(result.pages, print.pages());
    for (const Drawn& d : print.texts())
        EXPECT_LE(d.bottom, print.pageHeight() + 0.01) << d.text;
    EXPECT_EQ(print.one("No returns after 30 days").page, result.pages);
}

// A logo prints at the size its file gives it, whatever the printer's dots
// per inch, and never runs past the page's right edge.
TEST(SaleLayout, LogoPrintsAtItsPhysicalSizeWithinThePage)
{
    TempDir dir;
    QImage logo(200, 50, QImage::Format_RGB32);  // 2 x 0.5 inches at 100 dots per inch
    logo.setDotsPerMeterX(3937);
    ASSERT_TRUE(logo.save(QString::fromStdString(dir.file("logo.png"))));
    struct Case {
        int pageDots, dpi;
        double x, height;  // dots on the page; the width keeps the logo's proportions
    } const cases[] = {{2000, 300, 0, 150}, {2000, 600, 100, 300}, {400, 300, 100, 75}};
    for (const Case& c : cases) {
        QImage page(c.pageDots, 1000, QImage::Format_RGB32);
        page.setDotsPerMeterX(qRound(c.dpi / 0.0254));
        QPainter painter(&page);
        PainterCanvas canvas(painter, page);
        double height = 0;
        ASSERT_TRUE(canvas.bitmap(dir.file("logo.png"), c.x, 0, height));
        EXPECT_NEAR(height, c.height, 1) << c.pageDots << " dots across at " << c.dpi;
    }
}

}  // namespace
