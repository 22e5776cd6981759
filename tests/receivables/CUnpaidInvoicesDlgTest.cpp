// The unpaid and overdue lists, and a payment taken from a row.
#include "receivables/CMakePaymentDlg.h"
#include "receivables/CPaymentActivityDlg.h"
#include "receivables/CUnpaidInvoicesDlg.h"
#include "platform/RecordList.h"
#include "receivables/PaidRule.h"
#include "sale/CSaleDlg.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"
#include "support/ModalDriver.h"
#include "support/RegisterFixture.h"
#include "support/StoredRecords.h"
#include "support/WindowKeys.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableView>
#include <QTest>
#include <filesystem>

namespace {

// A table's rows as the texts of one column.
QStringList columnOf(QTableView* table, int column)
{
    QStringList out;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        out << table->model()->index(row, column).data().toString();
    return out;
}

struct UnpaidWindow : RegisterFixture {
    ClockDouble clock{2026, 12, 7, 10, 30};

    // A sale of `total` on terms index `terms`, sold on the given day of November.
    int storeOwed(float total, std::uint8_t terms, int day)
    {
        const int n = storeSale(local, SaleSpec().item("A").total(total).payType("Terms").when({2026, 11, day, 9, 0}));
        InvoiceRecord sale = storedSale(local, n);
        sale.termsIndex = terms, sale.address[InvoiceRecord::kName] = "Cust" + std::to_string(n);
        EXPECT_EQ(UpdateInvoice(local, sale), n);
        return n;
    }
    void pay(int n, float amount, std::uint8_t kind = PaymentRecord::kOnAccount)
    {
        PaymentRecord p;
        p.invoiceNumber = n, p.amount = amount, p.kind = kind;
        ASSERT_GE(AppendPayment(local, p), 0);
    }
};

TEST_F(UnpaidWindow, MenusOpenTheListsAndAPaymentFromARowClosesTheInvoice)
{
    ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
    ASSERT_EQ(ListTerms(local).size(), 2u);  // makes COD and NET 30
    storeOwed(100, 1, 1);  // NET 30 from 1 November: past due
    pay(0, 40);
    storeOwed(25.5f, 0, 20);  // no terms: unpaid, never past due
    storeSale(local, SaleSpec().item("A").total(7));  // paid in cash

    CSaleDlg screen(local, header);
    ASSERT_TRUE(screen.Initialize());
    auto menu = [&](const char* name) { screen.menuBar()->findChild<QAction*>(name)->trigger(); };
    const std::tuple<const char*, QStringList, QString> lists[] = {
        {"action_unpaid_invoices", {"0 60.00 12/01/2026", "1 25.50 "}, "85.50"},
        {"action_overdue_invoices", {"0 60.00 12/01/2026"}, "60.00"}};
    for (const auto& [action, want, wantTotal] : lists) {
        QStringList shown;
        QString total;
        whenModal<CUnpaidInvoicesDlg>([&](CUnpaidInvoicesDlg* list) {
            shown = rowsOf(list->list(), {0, 3, 6});
            total = list->totalText();
            list->accept();
        });
        menu(action);
        EXPECT_EQ(shown, want) << action;
        EXPECT_EQ(total, wantTotal) << action;
    }

    // From the menu's list, Enter on a row opens "Make a Payment" for that invoice.
    int paying = -1;
    whenModal<CUnpaidInvoicesDlg>([&](CUnpaidInvoicesDlg* list) {
        whenModal<CMakePaymentDlg>([&](CMakePaymentDlg* d) { paying = d->list().recordNumber(); d->reject(); });
        chooseRow(list->list(), 1);
        QTest::keyClick(list->list(), Qt::Key_Return);
        list->accept();
    });
    menu("action_make_payment");
    EXPECT_EQ(paying, 1);

    bool activity = false;
    whenModal<CPaymentActivityDlg>([&](CPaymentActivityDlg* d) { activity = d->recordBox()->text() == "-1"; d->accept(); });
    menu("action_payment_activity");
    EXPECT_TRUE(activity);

    // Enter on a row takes the payment; the list is filled again afterwards.
    std::vector<int> opened;
    CUnpaidInvoicesDlg list(local, UnpaidKind::Unpaid, [&](QWidget*, int n) {
        opened.push_back(n);
        pay(n, 60);
        InvoiceRecord sale = storedSale(local, n);
        ASSERT_EQ(UpdateInvoice(local, sale), n);  // the paid rule closes it
    });
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.list()->setCurrentRow(0);
    QTest::keyClick(list.list(), Qt::Key_Return);
    EXPECT_EQ(opened, std::vector<int>{0});
    EXPECT_EQ(rowsOf(list.list(), {0}), QStringList{"1"});
    EXPECT_EQ(list.totalText(), "25.50");
}

TEST_F(UnpaidWindow, PaymentActivityListsDepositsOfTheTypedRecord)
{
    for (auto [sale, kind] : {std::pair{12, 2}, {12, 1}, {3, 2}, {12, 2}, {0, 2}})
        pay(sale, 0, static_cast<std::uint8_t>(kind));
    CPaymentActivityDlg dlg(local);
    const std::pair<const char*, QStringList> cases[] = {
        {"", {"12", "3", "12", "0"}}, {"12", {"12", "12"}}, {"-1", {"12", "3", "12", "0"}}, {"x", {"0"}}};
    for (const auto& [typed, want] : cases) {
        if (*typed) {
            dlg.recordBox()->selectAll();
            QTest::keyClicks(dlg.recordBox(), typed);
        }
        EXPECT_EQ(columnOf(dlg.list(), 0), want) << typed;
    }
    // The dates are shown whole, in a larger font too: the column is as wide as its texts need.
    QFont large = dlg.list()->font();
    large.setPixelSize(30);
    dlg.list()->setFont(large);
    dlg.recordBox()->selectAll();
    QTest::keyClicks(dlg.recordBox(), "-1");
    const int dateWidth = dlg.list()->columnWidth(3);
    dlg.list()->resizeColumnToContents(3);
    EXPECT_GE(dateWidth, dlg.list()->columnWidth(3));
}

TEST_F(UnpaidWindow, AnUnreadablePaymentsFileIsSaidAndNothingIsListedAsOwed)
{
    storeOwed(100, 0, 1);
    std::filesystem::create_directory(local.GetPath("Payments"));
    boxes.allowUnscriptedOk();
    CUnpaidInvoicesDlg list(local, UnpaidKind::Unpaid, {});
    EXPECT_EQ(list.list()->model()->rowCount(), 0) << "every balance would read as the whole total";
    EXPECT_EQ(list.totalText(), "");
    CPaymentActivityDlg activity(local);
    QTest::keyClicks(activity.recordBox(), "12");  // typing does not say it again
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Error opening Payment file.", "Error opening Payment file."}));
}

}  // namespace
