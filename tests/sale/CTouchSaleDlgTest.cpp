// The touch screen opened from the sale screen and driven by mouse clicks.
#include "sale/CTouchSaleDlg.h"
#include "settings/CLoginDlg.h"
#include "support/ModalDriver.h"
#include "support/Reachable.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"

#include <QGroupBox>
#include <QTreeWidget>

namespace {

struct TouchScreen : SaleScreenFixture {
    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        noCashierChoice();
        ProductRecord a = saleProduct("A", 0), b = saleProduct("B", 0);
        for (ProductRecord* p : {&a, &b}) {
            p->category = "Books";
            p->showOnTouch = 1;
        }
        addProducts({a, b});
        for (const char* name : {"Ann", "Bob"})
            ASSERT_GE(AppendCashier(local, CashierRecord{name, "pw"}), 0);
        open();
    }
    // Opens the touch screen with the sale screen's "Touch" button and acts on it.
    void onTouchScreen(const std::function<void(CTouchSaleDlg*)>& act)
    {
        whenModal<CTouchSaleDlg>([&](CTouchSaleDlg* t) {
            act(t);
            click(t, "Close");
        });
        clickDrawn(dlg->control(SaleIds::kTouch));
    }
    static void click(CTouchSaleDlg* t, const QString& name)
    {
        QPushButton* b = t->button(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        clickDrawn(b);
    }
};

TEST_F(TouchScreen, ASaleFromButtonsAndTheKeypadIsStored)
{
    onTouchScreen([&](CTouchSaleDlg* t) {
        EXPECT_EQ(unreachableControls(t), QStringList{});
        EXPECT_EQ(t->button("category_1177")->text(), "Books");
        for (const char* product : {"product_1159", "product_1159", "product_1160"})
            click(t, product);
        auto* item = t->findChild<QLineEdit*>("item_1723");
        EXPECT_EQ(t->focusWidget(), item);  // every command gives the focus back to the box
        QTest::keyClicks(item, "a");
        QTest::keyClick(item, Qt::Key_Return);
        EXPECT_EQ(item->text(), "");
        QTreeWidget* list = t->list();  // touch the first line, then one more of it
        clickDrawn(list->viewport(), list->visualItemRect(list->topLevelItem(0)).center());
        click(t, "+");
        for (int i = 0; i < 4; ++i)
            click(t, "key9");
        EXPECT_EQ(t->keypad()->title(), "99.99");
        click(t, "Pay Type?");
        EXPECT_EQ(t->button("Pay Type?")->text(), "Cash");
        click(t, "Paid Amnt");
        ASSERT_EQ(list->topLevelItemCount(), 3 + 4);
        EXPECT_EQ(list->topLevelItem(6)->text(2).left(17), "Paid Cash: 99.99 ");
        click(t, "Finish Sale");
        EXPECT_EQ(list->topLevelItemCount(), 4);  // only the totals of the next sale
        EXPECT_EQ(t->button("Pay Type?")->text(), "Pay Type?");
        click(t, "Prev Sale");
        EXPECT_FALSE(t->button("product_1159")->isEnabled());
        EXPECT_EQ(t->button("category_1177")->property("colour").value<QColor>(), QColor(240, 230, 210));
    });
    ASSERT_EQ(storedSales(local), 1);
    const InvoiceRecord stored = storedSale(local, 0);
    EXPECT_EQ((std::tuple{stored.itemNumber[0], stored.itemNumber[1], stored.itemNumber[2], stored.qty[0], stored.cashPaid}),
              (std::tuple<std::string, std::string, std::string, float, float>{"A", "B", "A", 3, 99.99f}));
    EXPECT_EQ(storedStock(local, "A"), 6);
    // The sale screen shows what the touch screen left: the stored sale.
    EXPECT_FALSE(dlg->state().showingNew());
}

TEST_F(TouchScreen, CashierNameRunsTheLogInWhileItIsRequired)
{
    for (const bool required : {false, true}) {
        SCOPED_TRACE(required ? "log-in required" : "no log-in");
        header.mustLogInCashier = required;
        boxes.allowUnscriptedOk();
        onTouchScreen([&](CTouchSaleDlg* t) {
            if (required)
                whenModal<CLoginDlg>([](CLoginDlg* login) {
                    login->findChild<QComboBox*>("cashier")->setCurrentText("Bob");
                    QTest::keyClicks(login->findChild<QLineEdit*>("login_password"), "pw");
                    login->accept();
                });
            t->button("Cashier Name?")->click();  // no events run before the log-in opens
            EXPECT_EQ(t->button("Cashier Name?")->text(), required ? "Bob" : "Ann");
        });
        EXPECT_EQ(local.loggedInCashier, required ? "Bob" : "");
    }
}

}  // namespace
