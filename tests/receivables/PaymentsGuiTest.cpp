// Split, deposit and on-account payments through the real windows, from the keyboard.
#include "receivables/CDepositDlg.h"
#include "receivables/CMakePaymentDlg.h"
#include "receivables/CPaymentDlg.h"
#include "receivables/CSplitPaymentDlg.h"
#include "receivables/PaidRule.h"
#include "sale/SaleTotals.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"

#include "support/BackOfficeWindow.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"

#include <QAction>
#include <QCheckBox>
#include <QMenuBar>
#include <QTreeWidget>
#include <tuple>

using namespace SaleIds;

namespace {

QString boxText(QWidget* dlg, const char* name) { return dlg->findChild<QLineEdit*>(name)->text(); }

void choose(QWidget* dlg, const QString& type)
{
    auto* combo = dlg->findChild<QComboBox*>("paytype");
    combo->setCurrentIndex(combo->findText(type));
}

// One payment through "Add Payment": the type chosen, the amount typed and Enter.
void addPayment(QWidget* list, const QString& type, const QString& amount)
{
    whenModal<CPaymentDlg>([type, amount](CPaymentDlg* p) {
        choose(p, type);
        retypeAndEnter(p, "amount", amount);
    });
    press(list, "add_payment");
}

struct PaymentScreen : SaleScreenFixture {
    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        clock.set(2026, 12, 7, 10, 30);
        noCashierChoice();
        addProducts({saleProduct("A", 10.28f, 0)});
        local.loggedInCashier = "Ann";
        ASSERT_TRUE(local.Save());
        open();
    }
    void ringUp(const QString& type)
    {
        typeInto(kItem, "A");
        choosePayType(type);
    }
};

TEST_F(PaymentScreen, ASaleWhosePaymentsWereCancelledIsKeptWholeWhateverFollows)
{
    const struct {
        const char* type;
        const char* then;
        long long paidCents;
        std::uint8_t paid;
        std::function<void(PaymentScreen&)> abandon;
    } cases[] = {
        // F9 again: the split lists the payment already taken, and the rest
        // finishes the sale over the same record.
        {"Split", "finished again", 1028, 1, [](PaymentScreen& t) {
             whenModal<CSplitPaymentDlg>([](CSplitPaymentDlg* d) {
                 EXPECT_EQ(d->findChild<QTreeWidget*>("payments")->topLevelItemCount(), 1);
                 EXPECT_EQ(boxText(d, "balance"), "6.28");
                 addPayment(d, "Visa", "6.28");
                 press(d, "ok");
             });
             t.key(Qt::Key_F9);
             EXPECT_TRUE(t.dlg->state().showingNew());
         }},
        {"Split", "Clear This Sale", 400, 0, [](PaymentScreen& t) { t.menu("action_clear_sale"); }},
        {"Deposit", "Exit", 400, 0, [](PaymentScreen& t) { t.menu("action_exit"); }},
        {"Split", "paged away and back", 400, 0, [](PaymentScreen& t) {
             t.key(Qt::Key_PageUp);
             t.key(Qt::Key_Home);
         }},
        {"Deposit", "a crash", 400, 0, [](PaymentScreen& t) { t.dlg.reset(); }},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + ", then " + c.then);
        open();  // the program started again after each
        ringUp(c.type);
        whenModal<CPaymentListDlg>([](CPaymentListDlg* d) {
            addPayment(d, "Cash", "4");
            QTest::keyClick(d, Qt::Key_Escape);
        });
        key(Qt::Key_F9);
        EXPECT_EQ(dlg->state().current.itemNumber[0], "A") << "the screen keeps the sale";
        c.abandon(*this);
        const InvoiceRecord stored = storedSale(local, n);
        EXPECT_EQ(std::tuple(stored.itemNumber[0], stored.qty[0], stored.total), std::tuple("A", 1.0f, 10.28f));
        EXPECT_EQ(SumPaymentCentsForSale(local, n), c.paidCents);
        EXPECT_EQ(stored.paid, c.paid);
        for (const PaymentRecord& p : PaymentsOfSale(local, n))
            EXPECT_EQ(p.cashier, "Ann");
        EXPECT_EQ(storedStock(local, "A"), 9 - n);
        ++n;
    }
    EXPECT_EQ(storedSales(local), n);
}

TEST_F(PaymentScreen, ADepositLeavesTheSaleOwingUntilAPaymentToThisSale)
{
    ringUp("Deposit");
    boxes.answer(MessageBox::Answer::Ok);
    whenModal<CDepositDlg>([this](CDepositDlg* d) {
        press(d, "ok");
        EXPECT_TRUE(boxes.saw("No payment was made."));
        addPayment(d, "Cash", "5");
        press(d, "ok");
    });
    key(Qt::Key_F9);
    EXPECT_EQ(storedSale(local, 0).paid, 0);
    ASSERT_EQ(PaymentsOfSale(local, 0).size(), 1u);
    EXPECT_EQ(PaymentsOfSale(local, 0)[0].kind, PaymentRecord::kOnAccount);

    // The sale shown; another register changes it; another cashier takes the rest.
    key(Qt::Key_PageUp);
    ASSERT_FALSE(dlg->state().showingNew());
    InvoiceRecord other = storedSale(local, 0);
    other.address[InvoiceRecord::kName] = "Changed elsewhere";
    ASSERT_EQ(UpdateInvoice(local, other), 0);
    local.loggedInCashier = "Bea";
    auto* pay = dlg->menuBar()->findChild<QAction*>("action_pay_this_sale");
    ASSERT_TRUE(pay->isEnabled());
    whenModal<CPaymentDlg>([](CPaymentDlg* p) {
        choose(p, "Visa");
        QTest::keyClicks(p->findChild<QLineEdit*>("amount"), "5.28");
        press(p, "ok");
    });
    pay->trigger();
    const InvoiceRecord after = storedSale(local, 0);
    EXPECT_EQ(after.paid, 1);
    EXPECT_EQ(after.address[InvoiceRecord::kName], "Changed elsewhere");
    EXPECT_EQ(after.cashier, "Ann");
    ASSERT_EQ(PaymentsOfSale(local, 0).size(), 2u);
    EXPECT_EQ(PaymentsOfSale(local, 0)[1].cashier, "Bea");
    EXPECT_EQ(dlg->state().current.paid, 1) << "the screen shows the sale as stored now";
    EXPECT_FALSE(pay->isEnabled());
}

TEST_F(PaymentScreen, MakeAPaymentEditsAPaymentAndGrantsTheTermsDiscountWhenPaidInFull)
{
    header.salesDiscountOn = 1;  // a level that would give 10 % today: the sale keeps its own rates
    header.discountSubtotal[0] = 1;
    header.discountPercent[0] = 10;
    // A sale on terms of 2/10 NET 30: one line of 100.00 taxed at 5 %.
    TermsRecord terms;
    std::tie(terms.discountPercent, terms.discountDays, terms.netDays) = std::tuple{2, 10, 30};
    ASSERT_EQ(AppendTerms(local, terms), 0);
    InvoiceRecord sale = ClearedInvoice();
    std::tie(sale.payType, sale.termsIndex, sale.itemNumber[0], sale.qty[0], sale.price[0], sale.taxStatus[0],
             sale.taxRate1) = std::tuple{"Terms", terms.id, "A", 1.0f, 100.0f, std::uint8_t{1}, 5.0f};
    RecalculateTotals(sale, SalesFileHeader{});
    int count = 0;
    ASSERT_EQ(AppendInvoice(local, sale, count, {2026, 12, 1, 9, 0, 0, 2, 334}), 0);
    PaymentRecord first;
    first.amount = 50, first.payType = "Cash", first.cashier = "Old";
    ASSERT_EQ(AppendPayment(local, first), 0);

    whenModal<CMakePaymentDlg>([this](CMakePaymentDlg* d) {
        EXPECT_EQ(boxText(d, "terms_discount"), "2.00");
        EXPECT_EQ(boxText(d, "balance"), "55.00");
        auto* table = d->findChild<QTreeWidget*>("payments");
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Down);
        whenModal<CPaymentDlg>([this](CPaymentDlg* p) {
            QLineEdit* amount = p->findChild<QLineEdit*>("amount");
            EXPECT_EQ(amount->text(), "50.00");
            choose(p, "Split");
            expectMessage(boxes, "Can't use this as a payment type", [&] { press(p, "ok"); });
            choose(p, "Check");
            retype(p, "amount", "90");
            press(p, "ok");
        });
        QTest::keyClick(table, Qt::Key_Return);
        EXPECT_EQ(boxText(d, "balance"), "15.00");

        QTest::keyClick(d->findChild<QCheckBox*>("apply_discount"), Qt::Key_Space);
        EXPECT_EQ(boxText(d, "total"), "102.90");  // 98.00 and the tax of the time of sale
        expectMessage(boxes, "Terms discount is not allowed\nunless the Invoice is paid in full..\n",
                      [&] { press(d, "ok"); });
        addPayment(d, "Cash", "12.90");
        press(d, "ok");
    });
    EXPECT_TRUE(CMakePaymentDlg::Open(dlg.get(), local, header, 0));
    const InvoiceRecord settled = storedSale(local, 0);
    EXPECT_EQ(settled.discountPercent, 2);
    EXPECT_EQ((std::tuple{settled.total, settled.taxRate1, settled.paid}), (std::tuple{102.9f, 5.0f, std::uint8_t{1}}));
    const std::vector<PaymentRecord> paid = PaymentsOfSale(local, 0);
    ASSERT_EQ(paid.size(), 2u);
    EXPECT_EQ(paid[0].amount, 90);
    EXPECT_EQ(paid[0].payType, "Check");
    EXPECT_EQ(paid[0].cashier, "Old") << "an edit keeps the payment's cashier";
}

}  // namespace
