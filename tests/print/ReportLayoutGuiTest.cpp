#include "PrintedDocuments.h"
#include "RecordedPrint.h"

#include <cmath>

namespace {

const std::vector<std::int16_t> kWidths{300, 120};
const std::vector<std::uint16_t> kFormats{0, 2};

TEST(ReportLayout, LongReportRepeatsHeaderAndNumbersPagesAtTheBottom)
{
    RecordedPrint print;
    const int pages = LayoutReport(print.canvas(), "\nSales Report\nItem\tAmount\n", numberedLines(100), kWidths, kFormats);
    ASSERT_GE(pages, 2);
    EXPECT_EQ(pages, print.pages());
    const double bottom = print.pageHeight();
    const double h = print.one("Page 1").bottom - print.one("Page 1").top;
    EXPECT_NEAR(h, 18, 1.5);  // Courier 18 units
    int nextBody = 1;
    for (int page = 1; page <= pages; ++page) {
        std::vector<Drawn> onPage = print.texts();
        std::erase_if(onPage, [page](const Drawn& d) { return d.page != page; });
        ASSERT_GE(onPage.size(), 4u);
        // Title under a blank line, across the text width; column headings under it.
        EXPECT_EQ(onPage[0].text, "Sales Report");
        EXPECT_NEAR(onPage[0].left, 75, 0.01);
        EXPECT_NEAR(onPage[0].right, 900, 0.01);
        EXPECT_NEAR(onPage[0].top, 5 * h, 0.5);
        EXPECT_EQ(onPage[1].text, "Item");
        // The body continues where the last page stopped, above the body bottom.
        double lastBottom = onPage[1].bottom;
        for (std::size_t i = 3; i + 1 < onPage.size(); i += 2) {
            EXPECT_EQ(onPage[i].text, strprintf("Item %d", nextBody));
            EXPECT_NEAR(onPage[i].top, lastBottom, 0.5);
            EXPECT_LE(onPage[i].bottom, bottom - 3 * h + 0.5);
            lastBottom = onPage[i].bottom;
            ++nextBody;
        }
        EXPECT_EQ(onPage.back().text, strprintf("Page %d", page));
        EXPECT_NEAR(onPage.back().top, bottom - 2 * h, 0.5);
    }
    EXPECT_EQ(nextBody, 101);

    // A header taller than the page still ends.
    RecordedPrint tall;
    EXPECT_EQ(LayoutReport(tall.canvas(), numberedLines(120), "first\nsecond\nthird\n", kWidths, kFormats), 3);
    EXPECT_EQ(std::pair(tall.one("Page 3").page, tall.one("third").page), std::pair(3, 3));
}

// In page units on A4 and on a 72 mm roll at 203 dpi (575 dots, fewer than
// 992 units): a narrow printer scales the page instead of collapsing it.
TEST(ReportLayout, CellsFollowWidthsAndAlignments)
{
    for (bool roll : {false, true}) {
        RecordedPrint print(roll ? RecordedPrint::roll(200) : QPageSize(QPageSize::A4), roll ? 203 : 600);
        LayoutReport(print.canvas(), "Title\n", "Widget\t12.50\tcentred\textra\n", {200, 100, 150}, {0, 2, 1});
        struct Case {
            const char* text;
            double left, right;
            unsigned flags;
        } const cases[] = {
            {"Widget", 75, 275, kPrintLeft},
            {"12.50", 285, 385, kPrintRight},
            {"centred", 395, 545, kPrintCenter},
        };
        for (const Case& c : cases) {
            const Drawn d = print.one(c.text);
            EXPECT_TRUE(std::abs(d.left - c.left) < 0.01 && std::abs(d.right - c.right) < 0.01 && d.flags == c.flags)
                << c.text << ": " << d.left << "-" << d.right << " " << d.flags << (roll ? " on the roll" : "");
        }
        EXPECT_EQ(print.one("Widget").family, "Liberation Mono");  // "Courier", whatever else is installed
        // A cell beyond the widths is not drawn (nor read past the tables).
        EXPECT_FALSE(print.has("extra"));
        if (roll) {
            EXPECT_GT(print.one("centred").left * print.scale(), 200);  // in dots
        }
    }
}

TEST(ReportLayout, EmptyBodyPrintsOnePageAndLineEndsAreEquivalent)
{
    struct Case {
        const char* header;
        const char* body;
        std::vector<std::string> printed;
    } const cases[] = {
        {"Title\n", "", {"Title", "Page 1"}},
        {"Title\r\n", "One\r\nTwo\r\n", {"Title", "One", "Two", "Page 1"}},
        {"Title\nlost", "One\nnot ended", {"Title", "One", "Page 1"}},
    };
    for (const Case& c : cases) {
        RecordedPrint print;
        EXPECT_EQ(LayoutReport(print.canvas(), c.header, c.body, kWidths, kFormats), 1) << c.body;
        std::vector<std::string> printed;
        for (const Drawn& d : print.texts())
            printed.push_back(d.text);
        EXPECT_EQ(printed, c.printed) << c.body;
    }
}

TEST(ReportLayout, ProductListingHasTitleHeadingsAndRowsOnEveryPage)
{
    std::vector<ListingRow> rows;
    for (int i = 0; i < 150; ++i)
        rows.push_back({strprintf("P%02d", i), "Thing", "1.00", "2.00", "", "", "", "", "", strprintf("%d", i), "",
                        "Acme"});
    for (bool costs : {false, true}) {
        RecordedPrint print;
        const int pages = LayoutProductListing(print.canvas(), rows, costs, "Monday, March 03, 2003");
        ASSERT_GE(pages, 2);
        EXPECT_EQ(print.all("Item#").size(), static_cast<std::size_t>(pages));
        EXPECT_EQ(print.has("Cost"), costs);
        EXPECT_EQ(print.has("%x"), costs);
        EXPECT_EQ(print.all("1.00").size(), costs ? rows.size() : 0u);
        const Drawn title = print.one("Product Listing\nMonday, March 03, 2003\nPage 2");
        EXPECT_EQ((std::pair{title.page, title.flags}), (std::pair{2, unsigned{kPrintCenter}}));
        const Drawn qty = print.one("7");
        EXPECT_NEAR(qty.left, 460, 0.01);
        EXPECT_EQ(qty.flags, kPrintRight);
        EXPECT_EQ(print.one("P149").family, "Liberation Sans");
    }
}

}  // namespace
