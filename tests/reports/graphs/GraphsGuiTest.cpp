// The graph windows opened from the sale screen's Reports menu by keys, their
// drawings read back as pictures, a new range typed in, print and save; and
// the pie behind a summary's "Chart" button.

#include "print/PrintDialogDouble.h"
#include "receivables/PaidRule.h"
#include "reports/graphs/CHourGraphDlg.h"
#include "reports/graphs/CMonthGraphDlg.h"
#include "reports/graphs/CPieChartDlg.h"
#include "reports/graphs/CTrendGraphDlg.h"
#include "reports/graphs/CWeekHourGraphDlg.h"
#include "reports/graphs/GraphCanvasWidget.h"
#include "sale/CSaleDlg.h"
#include "settings/CSummaryDlg.h"
#include "storage/files/InvoiceFile.h"
#include "support/BackOfficeWindow.h"
#include "support/Reachable.h"

#include <QDateEdit>
#include <QFile>
#include <QMenu>

namespace {

struct Graphs : BackOfficeWindow {
    ClockDouble clock{2026, 12, 7, 17, 0};

    void store(const CalendarTime& when, float sales, float cost = 0)
    {
        InvoiceRecord r = ClearedInvoice();
        r.taxableSubtotal = r.total = sales;
        r.totalCost = cost;
        int count = 0;
        ASSERT_EQ(ReadInvoiceCount(local, count), 0);
        ASSERT_GE(AppendInvoice(local, r, count, when), 0);
    }
    // Opens "&Reports" with Alt+R and chooses the item with Enter.
    static void fromMenu(CSaleDlg& screen, const QString& item)
    {
        screen.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
        QTest::keyClick(&screen, Qt::Key_R, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        chooseInMenu(menu, item);
    }
    // The graph as drawn now, and the texts it wrote.
    static QImage picture(QWidget* dlg) { return child<QWidget>(dlg, "graph")->grab().toImage(); }
    static QStringList texts(QWidget* dlg)
    {
        QStringList out;
        for (const GraphText& t : child<GraphCanvasWidget>(dlg, "graph")->texts())
            out << t.text;
        return out;
    }
    // Graph opened from the menu; act() runs in it, then it is closed.
    template <class Dlg> void open(const QString& item, std::function<void(Dlg*)> act)
    {
        CSaleDlg screen(local, header);
        ASSERT_TRUE(screen.Initialize());
        screen.show();
        whenModal<Dlg>([act](Dlg* dlg) {
            EXPECT_EQ(unreachableControls(dlg), QStringList{});
            act(dlg);
            dlg->accept();
        });
        fromMenu(screen, item);
    }
    // The picture and texts of the graph opened from the menu.
    template <class Dlg> std::pair<QImage, QStringList> drawnBy(const QString& item)
    {
        std::pair<QImage, QStringList> drawn;
        open<Dlg>(item, [&](Dlg* dlg) { drawn = {picture(dlg), texts(dlg)}; });
        return drawn;
    }
};

QColor rgb(int r, int g, int b) { return QColor(r, g, b); }

// How many pixels of the square of side 2 * half + 1 around `at` have that colour.
int around(const QImage& image, QPoint at, QColor colour, int half = 4)
{
    int n = 0;
    for (int x = at.x() - half; x <= at.x() + half; ++x)
        for (int y = at.y() - half; y <= at.y() + half; ++y)
            n += image.pixelColor(x, y) == colour;
    return n;
}

}  // namespace

TEST_F(Graphs, HourOfDayBarsThenANewRangeWithNoSalesPrintedAndSaved)
{
    store({2026, 12, 7, 23, 59, 0}, 40);
    store({2026, 12, 7, 10, 0, 0}, 10);
    const std::string png = dir.path() + "hours.png", pdf = dir.path() + "hours.pdf", printed = dir.path() + "p.pdf";
    QStringList before, after;
    QImage shown, emptied;
    PrintDialogDouble dialogs;
    dialogs.intoPdf(printed);
    open<CHourGraphDlg>("Graph Sales by Hour of Day", [&](CHourGraphDlg* dlg) {
        shown = picture(dlg);
        before = texts(dlg);
        files.setNextFileName(png);
        clickDrawn(child<QWidget>(dlg, "save"));
        files.setNextFileName(pdf);
        clickDrawn(child<QWidget>(dlg, "save"));
        clickDrawn(child<QWidget>(dlg, "print"));
        // Down on the month of the last day: a range that ends before the sales.
        auto* last = child<QDateEdit>(dlg, "last_day");
        last->setFocus();
        QTest::keyClick(last, Qt::Key_Down);
        QTest::keyClick(last, Qt::Key_Return);
        EXPECT_TRUE(dlg->isVisible());  // Enter took the range, it did not close the window
        emptied = picture(dlg);
        after = texts(dlg);
    });
    // The 23:59 sale fills the last bar, "11" after "12pm"; 10.00 is a quarter of it.
    EXPECT_EQ(shown.pixelColor(588, 100), rgb(30, 200, 3));
    EXPECT_EQ(shown.pixelColor(301, 140), rgb(116, 0, 46));
    EXPECT_EQ(shown.pixelColor(301, 100), QColor(Qt::white));
    EXPECT_EQ(before.mid(0, 3), (QStringList{"0", "40", "Total Sales By Hour"}));
    EXPECT_EQ(before.mid(15, 2), (QStringList{"12pm", "1"}));
    EXPECT_EQ(before.last(), "11");
    EXPECT_EQ(after.mid(0, 3), (QStringList{"No sales", "0", "1"}));
    EXPECT_EQ(emptied.pixelColor(588, 100), QColor(Qt::white));
    const QImage saved(QString::fromStdString(png));
    EXPECT_EQ(saved.size(), shown.size());
    EXPECT_EQ(saved.pixelColor(588, 100), rgb(30, 200, 3));
    for (const std::string& file : {pdf, printed}) {
        QFile f(QString::fromStdString(file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file;
        EXPECT_TRUE(f.read(5) == "%PDF-") << file;
        EXPECT_GT(f.size(), 2000) << file;
    }
}

TEST_F(Graphs, HourOfWeekShadesEachCellByItsShareOfTheBestHour)
{
    store({2026, 12, 7, 9, 0, 0}, 100);   // a Monday
    store({2026, 12, 13, 17, 0, 0}, 40);  // the Sunday after
    const auto [shown, drawn] = drawnBy<CWeekHourGraphDlg>("Graph Sales by Hour of Week");
    // Rows 9:00 to 5:00 PM, 38 pixels each; columns 74 wide from 80.
    EXPECT_EQ(shown.pixelColor(90, 40), rgb(0, 120, 0));
    EXPECT_EQ(shown.pixelColor(540, 345), rgb(120, 195, 135));
    EXPECT_EQ(shown.pixelColor(90, 80), QColor(Qt::white));
    for (const char* t : {"Sales Percentile by Hour of Week", "Mon", "Thr", "Sun", "100", "40", "9:00", "5:00",
                          "Legend", "No Sale", " 1% to 10%", "91% to 100%"})
        EXPECT_TRUE(drawn.contains(t)) << t;
    EXPECT_FALSE(drawn.contains("8:00"));
    EXPECT_FALSE(drawn.contains("6:00 PM"));
}

TEST_F(Graphs, MonthlyGraphShowsALossAsANegativeMargin)
{
    store({2026, 11, 3, 12, 0, 0}, 300, 200);
    store({2026, 12, 2, 12, 0, 0}, 50, 100);
    const auto [shown, drawn] = drawnBy<CMonthGraphDlg>("Graph Sales by Month");
    for (const char* t : {"Monthly Sales", "Margin", "Height", "50%", "-50%", "12 / 25\n0", "11 / 26\n300", "12 / 26\n50"})
        EXPECT_TRUE(drawn.contains(t)) << t;
    EXPECT_EQ(shown.pixelColor(667, 250), rgb(0, 64, 192));  // November's sales fill their panel
    EXPECT_EQ(shown.pixelColor(720, 250), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(720, 130), rgb(192, 0, 0));  // December's margin below 0
}

TEST_F(Graphs, TrendGraphEndsWithTodayAndBehindTheSecuritySwitch)
{
    store({2026, 12, 7, 9, 0, 0}, 100, 50);
    store({2026, 6, 1, 9, 0, 0}, 80);
    const auto [shown, drawn] = drawnBy<CTrendGraphDlg>("12 Month Trend Graph");
    for (const char* t : {"Margin", "Daily Sales", "Height", "100%", " 1 / 26", "12 / 26"})
        EXPECT_TRUE(drawn.contains(t)) << t;
    EXPECT_EQ(shown.pixelColor(692, 250), rgb(0, 64, 192));
    EXPECT_EQ(shown.pixelColor(692, 100), rgb(0, 128, 0));
    EXPECT_EQ(shown.pixelColor(70 + 176 * 1.71, 100), QColor(Qt::white));  // 1 June: no cost, no margin

    CSaleDlg screen(local, header);
    ASSERT_TRUE(screen.Initialize());
    screen.show();
    local.securityOn = 1;
    ModalCounter<QDialog> none;
    expectMessage(boxes, kSecurityRefusal, [&] { fromMenu(screen, "12 Month Trend Graph"); });
    EXPECT_FALSE(none.opened());
}

TEST_F(Graphs, ChartButtonDrawsNineHatchedSlicesTheNinthInTheFirstBrush)
{
    ChartData chart{"Category Sales", {}};
    for (int i = 0; i < 9; ++i)
        chart.slices.push_back({"G" + std::to_string(i), 10});
    CSummaryDlg summary("Heading\r\n", "G0\t10.00\r\n", nullptr);
    summary.setChart(chart);
    summary.show();
    QImage shown;
    QStringList drawn;
    QString report;
    whenModal<CPieChartDlg>([&](CPieChartDlg* dlg) {
        shown = picture(dlg);
        drawn = texts(dlg);
        report = child<QPlainTextEdit>(dlg, "report_text")->toPlainText();
        EXPECT_EQ(unreachableControls(dlg), QStringList{});
        dlg->accept();
    });
    clickDrawn(child<QWidget>(&summary, "chart"));
    EXPECT_EQ(report, "G0\t10.00\n");
    EXPECT_EQ(drawn.mid(0, 2), (QStringList{"Category Sales", "11.1% G0"}));
    EXPECT_TRUE(drawn.contains("11.1% G8"));
    // Slices of 40 degrees round the centre (200, 205): the ninth's middle at
    // 340 degrees and the fifth's at 180, 60 pixels out.
    const QColor first = rgb(255, 32, 0), fifth = rgb(255, 32, 235);
    EXPECT_GT(around(shown, QPoint(200 + 56, 205 + 21), first), 0);
    EXPECT_EQ(around(shown, QPoint(200 + 56, 205 + 21), fifth), 0);
    EXPECT_GT(around(shown, QPoint(140, 205), fifth), 0);
    EXPECT_EQ(around(shown, QPoint(140, 205), first), 0);
}
