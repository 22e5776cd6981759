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

    // Payment activity lists every sale's payments; typing a record number lists its own.
    pay(12, 0);  // a deposit on a sale the file does not hold
    QStringList listed;
    int dateWidth = 0, dateNeeds = 0;
    whenModal<CPaymentActivityDlg>([&](CPaymentActivityDlg* d) {
        listed << d->recordBox()->text() << columnOf(d->list(), 0);
        d->recordBox()->selectAll();
        QTest::keyClicks(d->recordBox(), "x");  // no number: record 0
        listed << columnOf(d->list(), 0);
        // The dates are shown whole, in a larger font too: the column is as wide as its texts need.
        QFont large = d->list()->font();
        large.setPixelSize(30);
        d->list()->setFont(large);
        d->recordBox()->selectAll();
        QTest::keyClicks(d->recordBox(), "-1");
        dateWidth = d->list()->columnWidth(3);
        d->list()->resizeColumnToContents(3);
        dateNeeds = d->list()->columnWidth(3);
        d->accept();
    });
    menu("action_payment_activity");
    EXPECT_EQ(listed, (QStringList{"-1", "0", "12", "0"}));
    EXPECT_GE(dateWidth, dateNeeds);

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
