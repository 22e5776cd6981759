// The five windows that ask a grouped report for its key, each opened from the
// Reports menu, its key chosen from the keyboard and OK clicked where it is
// drawn; the report's text then shows in its summary window and copies as
// columns.

#include "GroupedSales.h"
#include "reports/CWideSummaryDlg.h"
#include "reports/grouped/CReportSelectDlg.h"
#include "sale/CSaleDlg.h"
#include "settings/CSummaryDlg.h"
#include "support/BackOfficeWindow.h"
#include "support/Reachable.h"

#include <QAction>
#include <QCalendarWidget>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <clocale>

namespace {

struct GroupedReportWindows : BackOfficeWindow {
    void SetUp() override
    {
        BackOfficeWindow::SetUp();
        std::setlocale(LC_NUMERIC, "C");  // as the register sets it at start-up, whatever the user's locale
        storeGroupedStore(local);
    }
};

TEST_F(GroupedReportWindows, EachKeyWindowFromTheKeyboardToItsReport)
{
    const struct {
        const char* action;
        const char* title;
        int downs;  // presses of Down in a list; -1 types "denver"
        bool chart;
        const char* shows;
    } table[] = {
        {"action_category_sales_by_product", "Report By Category", 1, false,
         "Category: Books\n\nDescription  "},
        {"action_vendor_sales_by_product", "Report By Vendor", 1, false, "Vendor: Acme\n\nDescription"},
        {"action_customer_sales_list", "Customer Report", -1, false, "Search:\tdenver\n\nFound"},
        {"action_cashier_sales_by_categories", "Cashier Report", 2, true, "Search: Joanne\n\nBooks\n"},
        {"action_salesperson_sales_by_product", "Salesperson Report", 1, false, "  Commission\nAB12 "},
    };
    CSaleDlg screen(local, header);
    ASSERT_TRUE(screen.Initialize());
    for (const auto& row : table) {
        SCOPED_TRACE(row.action);
        QString shown, copied;
        bool charted = false;
        const auto read = [&](QDialog* summary) {
            shown = child<QPlainTextEdit>(summary, "summary_text")->toPlainText();
            clickDrawn(child<QWidget>(summary, "copy_columns"));
            copied = QGuiApplication::clipboard()->text();
            summary->accept();
        };
        whenModal<CReportSelectDlg>([&](CReportSelectDlg* dlg) {
            EXPECT_EQ(dlg->windowTitle(), row.title);
            EXPECT_EQ(unreachableControls(dlg), QStringList{});
            child<QCalendarWidget>(dlg, "first_day")->setSelectedDate(QDate(2026, 3, 1));
            child<QCalendarWidget>(dlg, "last_day")->setSelectedDate(QDate(2026, 3, 31));
            QWidget* key = QApplication::focusWidget();
            if (row.downs < 0)
                QTest::keyClicks(key, "denver");
            for (int i = 0; i < row.downs; ++i)
                QTest::keyClick(key, Qt::Key_Down);
            if (row.chart)
                whenModal<CSummaryDlg>([&](CSummaryDlg* summary) {
                    charted = child<QWidget>(summary, "chart")->isEnabled();
                    read(summary);
                });
            else
                whenModal<CWideSummaryDlg>([&](CWideSummaryDlg* summary) { read(summary); });
            clickDrawn(child<QWidget>(dlg, "ok"));
        });
        screen.menuBar()->findChild<QAction*>(row.action)->trigger();
        EXPECT_TRUE(shown.contains(row.shows)) << shown.toStdString();
        EXPECT_EQ(charted, row.chart);
        // The copy has the same lines with the padding taken out of the cells.
        EXPECT_EQ(copied.count('\n'), shown.count('\n'));
        EXPECT_FALSE(copied.contains("  \t")) << copied.toStdString();
    }
    // A product table without its category asks for one.
    whenModal<CReportSelectDlg>([&](CReportSelectDlg* dlg) { QTest::keyClick(dlg, Qt::Key_Return); });
    ModalCounter<CWideSummaryDlg> none;
    expectMessage(boxes, "Please select a Category and Date Range.",
                  [&] { screen.menuBar()->findChild<QAction*>("action_category_sales_by_product")->trigger(); });
    EXPECT_FALSE(none.opened());
}

}  // namespace
