// The sales history windows from the sale screen's menus: Find Sales with a
// listed sale opened and totalled, a period summary and a range summary saved
// as PDF, and the drawer count typed in.

#include "reports/CDrawerReconcileDlg.h"
#include "reports/CFindSalesDlg.h"
#include "reports/CSalesRangeDlg.h"
#include "reports/CSalesSummaryDlg.h"
#include "sale/CSaleDisplayDlg.h"
#include "sale/CSaleDlg.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"
#include "storage/records/DefaultsRecord.h"
#include "support/BackOfficeWindow.h"
#include "support/StoredRecords.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <clocale>
#include <filesystem>

namespace {

struct ReportsWindows : BackOfficeWindow {
    ClockDouble clock{2026, 12, 7, 17, 0};
    const CalendarTime today{2026, 12, 7, 10, 0}, before{2026, 12, 1, 10, 0};

    void SetUp() override
    {
        BackOfficeWindow::SetUp();
        std::setlocale(LC_NUMERIC, "C");  // as the register sets it at start-up, whatever the user's locale
    }

    void menu(CSaleDlg& screen, const char* name)
    {
        auto* action = screen.menuBar()->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }
    static QString text(QWidget* dlg, const char* name) { return child<QWidget>(dlg, name)->property("text").toString(); }
};

TEST_F(ReportsWindows, FindSalesListsOpensAndTotalsTheSalesItFinds)
{
    storeSale(local, SaleSpec().item("BLUE-1").total(12.5f).cashier("Ann").when(before));
    storeSale(local, SaleSpec().item("RED-2").total(4).cashier("Bob").when(today));
    storeSale(local, SaleSpec().item("blue-3").total(7.25f).cashier("Bob").payType("Visa").when(today));
    CSaleDlg screen(local, header);
    ASSERT_TRUE(screen.Initialize());
    // Another window's width, and a 0 where the list's first width belongs.
    ASSERT_EQ(WriteDefaultWords(local, 0, {77}), 0);
    ASSERT_EQ(WriteDefaultWords(local, DefaultsRecord::kFindSalesWidths, {0}), 0);

    QStringList found, todays, settings, help;
    QString opened, totalShown, countShown;
    whenModal<CFindSalesDlg>([&](CFindSalesDlg* dlg) {
        auto* list = child<QTableView>(dlg, "sales_list");
        EXPECT_GT(list->columnWidth(0), 0);  // the built-in width, never a hidden column
        retype(dlg, "item", "blue");
        press(dlg, "search");
        found = rowsOf(list, {0, 1, 3, 4});
        if (list->model()->rowCount() != 2) {
            ADD_FAILURE() << found.join(",").toStdString();
            return dlg->reject();
        }
        // A click on a row opens that sale read-only, with every slot of it.
        whenModal<CSaleDisplayDlg>([&](CSaleDisplayDlg* sale) {
            auto* lines = child<QTableWidget>(sale, "display_lines");
            opened = QStringList{text(sale, "display_record"), QString::number(lines->rowCount()),
                                 lines->item(0, 0)->text(), text(sale, "display_total"), text(sale, "display_cashier")}
                         .join(' ');
            sale->reject();
        });
        clickListRow(list, 1);
        whenModal<CSalesSummaryDlg>([&](CSalesSummaryDlg* sums) {
            totalShown = text(sums, "total");
            countShown = text(sums, "number_of_sales");
            sums->accept();
        });
        press(dlg, "sales_total");
        press(dlg, "clear");
        EXPECT_EQ(text(dlg, "item"), "");
        press(dlg, "todays_sales");
        todays = rowsOf(list, {0});
        list->horizontalHeader()->resizeSection(6, 123);
        // Its own menu: the main menu's settings, working from here, and help items each showing its text.
        ModalGuard cashiers;
        for (QAction* a : dlg->findChild<QMenuBar*>()->findChild<QMenu*>("menu_settings")->actions()) {
            settings << a->text();
            if (a->text() == "Cashiers")
                a->trigger();
        }
        EXPECT_TRUE(cashiers.opened());
        for (QAction* a : dlg->findChild<QMenuBar*>()->findChild<QMenu*>("menu_help")->actions()) {
            help << a->text();
            boxes.answer(MessageBox::Answer::Ok);
            a->trigger();
            EXPECT_EQ(boxes.texts().back().rfind(a->text().toStdString() + "\n\n", 0), 0u) << boxes.texts().back();
        }
        press(dlg, "done");
    });
    menu(screen, "action_find_sale");
    QStringList mainSettings;
    for (QAction* a : screen.menuBar()->findChild<QMenu*>("menu_settings")->actions())
        mainSettings << a->text();
    EXPECT_EQ(settings, mainSettings);
    EXPECT_EQ(help, (QStringList{"Today's Sales", "Search", "Sales Total", "Use Date", "Low Margin Check",
                                 "How to View a Sale", "How to Limit a Selection by Dates"}));
    EXPECT_EQ(found, (QStringList{"2 7.25 Bob Visa", "0 12.50 Ann Cash"}));
    EXPECT_EQ(opened, "0 20 BLUE-1 12.50 Ann");
    EXPECT_EQ((std::pair{totalShown, countShown}), (std::pair{QString("19.75"), QString("2")}));
    EXPECT_EQ(todays, (QStringList{"2", "1"}));
    DefaultsRecord defaults;
    ReadDefaults(local, defaults);
    EXPECT_EQ(defaults.words[DefaultsRecord::kFindSalesWidths + 6], 123u);
    EXPECT_EQ(defaults.words[0], 77u);
}

TEST_F(ReportsWindows, PeriodAndRangeSummariesAndTheirPdfBehindTheSecuritySwitch)
{
    storeSale(local, SaleSpec().item("A").total(10).when(before));
    storeSale(local, SaleSpec().item("B").total(2.5f).when(today));
    CSaleDlg screen(local, header);
    ASSERT_TRUE(screen.Initialize());

    QString total, title;
    whenModal<CSalesSummaryDlg>([&](CSalesSummaryDlg* dlg) {
        total = text(dlg, "total");
        title = text(dlg, "title");
        dlg->accept();
    });
    menu(screen, "action_sales_today");
    EXPECT_EQ((std::pair{title, total}), (std::pair{QString("Sales Today"), QString("2.50")}));

    // A range of days, then its summary saved as PDF.
    const std::string pdf = dir.path() + "range.pdf";
    files.setNextFileName(pdf);
    whenModal<CSalesRangeDlg>([&](CSalesRangeDlg* range) {
        child<QCalendarWidget>(range, "first_day")->setSelectedDate(QDate(2026, 12, 1));
        child<QCalendarWidget>(range, "last_day")->setSelectedDate(QDate(2026, 12, 6));
        press(range, "ok");
    });
    whenModal<CSalesSummaryDlg>([&](CSalesSummaryDlg* dlg) {
        total = text(dlg, "total");
        title = text(dlg, "title");
        press(dlg, "pdf");
        dlg->accept();
    });
    menu(screen, "action_sales...");
    // The day names follow the user's locale; the days are the ones chosen.
    EXPECT_TRUE(title.contains(QRegularExpression("^\\w+, \\w+ 01, 2026\nto \\w+, \\w+ 06, 2026$"))) << title.toStdString();
    EXPECT_EQ(total, "10.00");
    EXPECT_GT(std::filesystem::file_size(pdf), 0u);
    // The window offers the range chosen last.
    QDate first;
    whenModal<CSalesRangeDlg>([&](CSalesRangeDlg* range) {
        first = child<QCalendarWidget>(range, "first_day")->selectedDate();
        range->reject();
    });
    menu(screen, "action_sales...");
    EXPECT_EQ(first, QDate(2026, 12, 1));

    local.securityOn = 1;
    ModalCounter<CSalesSummaryDlg> none;
    expectMessage(boxes, kSecurityRefusal, [&] { menu(screen, "action_sales_this_year"); });

    // Find Sales under security hides the margin check and refuses the total.
    CFindSalesDlg find(local, header);
    find.show();
    EXPECT_FALSE(child<QWidget>(&find, "low_margin")->isVisible());
    EXPECT_FALSE(child<QWidget>(&find, "margin_limit")->isVisible());
    EXPECT_TRUE(child<QWidget>(&find, "security_on_limit")->isVisible());
    expectMessage(boxes, kSecurityRefusal, [&] { press(&find, "sales_total"); });
    expectMessage(boxes, "There are no Sales listed to print.", [&] {
        for (QAction* action : find.findChildren<QAction*>())
            if (action->text() == "Print Sales List")
                action->trigger();
    });
    EXPECT_FALSE(none.opened());
}

TEST_F(ReportsWindows, DrawerCountIsLiveAsTheCashierTypesAndNarrowsToOneCashier)
{
    CashierRecord ann;
    ann.name = "Ann";
    ASSERT_GE(AppendCashier(local, ann), 0);
    storeSale(local, SaleSpec().total(20).payType("Visa").cashier("Ann").when(today));
    storeSale(local, SaleSpec().total(5).payType("Cash").cashier("Bob").when(today));
    storeSale(local, SaleSpec().total(8).payType("Cash").cashier("Ann").when(today));
    CSaleDlg screen(local, header);
    ASSERT_TRUE(screen.Initialize());

    QStringList shown, annOnly;
    whenModal<CDrawerReconcileDlg>([&](CDrawerReconcileDlg* dlg) {
        retype(dlg, "pennies", "250");
        retype(dlg, "quarters", "3");
        retype(dlg, "twenties", "2");
        retype(dlg, "drawer_start", "x");  // no number: 0
        for (const char* box : {"total_coins", "total_bills", "actual_cash", "calculated_cash", "calculated_other",
                                "error"})
            shown << text(dlg, box).trimmed();
        auto* cashier = child<QComboBox>(dlg, "cashier");
        cashier->setFocus();
        QTest::keyClick(cashier, Qt::Key_Down);
        for (const char* box : {"calculated_cash", "calculated_other", "error"})
            annOnly << text(dlg, box).trimmed();
        dlg->accept();
    });
    menu(screen, "action_cash_drawer_reconciliation");
    EXPECT_EQ(shown, (QStringList{"3.25", "40.00", "43.25", "13.00", "20.00", "10.25"}));
    EXPECT_EQ(annOnly, (QStringList{"8.00", "20.00", "15.25"}));
}

}  // namespace
