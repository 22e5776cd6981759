#include "CGeneralDlg.h"

#include "CLocalFile.h"
#include "CSaleDlg.h"
#include "ProductFile.h"
#include "SaleKeys.h"
#include "ModalDriver.h"
#include "PlatformDoubles.h"
#include "PromptBridge.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class GeneralWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUserPrompt(&bridge);
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
    }
    void TearDown() override { setUserPrompt(nullptr); }

    SalesFileHeader stored() const
    {
        SalesFileHeader h;
        EXPECT_EQ(ReadHeader(local, h), 0);
        return h;
    }
    template <class T> static T* child(QWidget* dlg, const char* name)
    {
        T* w = dlg->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Replaces a box's text from the keyboard.
    static void retype(QWidget* dlg, const char* name, const QString& text)
    {
        auto* box = child<QLineEdit>(dlg, name);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
    static void toggle(QWidget* dlg, const char* name) { QTest::keyClick(child<QCheckBox>(dlg, name), Qt::Key_Space); }

    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    PromptBridge bridge;
    MessageBoxDouble boxes;
};

TEST_F(GeneralWindow, KeyboardEditsAreStoredAndOtherSettingsKept)
{
    SalesFileHeader other = stored();
    other.lowMarginPercent = 12.5f;
    other.rollFontSize = 30;
    ASSERT_EQ(WriteHeader(local, other), 0);
    local.drawerCommand = "07";
    header.lowMarginPercent = 99;  // stale: the window reads the file

    whenModal<CGeneralDlg>([this](CGeneralDlg* dlg) {
        EXPECT_EQ(child<QLineEdit>(dlg, "low_margin")->text(), "12.50");
        EXPECT_EQ(child<QLineEdit>(dlg, "roll_font_size")->text(), "30");
        EXPECT_EQ(child<QLineEdit>(dlg, "drawer_command_text")->text(), "07");
        // Another register changes a setting this window does not show.
        SalesFileHeader meanwhile = stored();
        meanwhile.todaysNotes = "Inventory on Friday\r\n";
        EXPECT_EQ(WriteHeader(local, meanwhile), 0);

        // Tab runs down the columns and reaches every group and OK.
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg));
        QStringList order;
        for (int i = 0; i < 30 && QApplication::focusWidget(); ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        int at = -1;
        for (const char* name : {"must_select_cashier", "show_cents", "tax_usa", "simple_tax", "style_invoice",
                                 "margin_watch", "receipts_0", "packing_slips", "drawer_none", "ok"}) {
            EXPECT_GT(order.indexOf(name), at) << name;
            at = order.indexOf(name);
        }
        toggle(dlg, "must_select_cashier");
        child<QCheckBox>(dlg, "show_salesperson")->setChecked(false);
        toggle(dlg, "must_select_salesperson");
        EXPECT_TRUE(child<QCheckBox>(dlg, "show_salesperson")->isChecked());
        QTest::keyClick(child<QRadioButton>(dlg, "style_roll"), Qt::Key_Space);
        retype(dlg, "roll_font_size", "18.7");
        retype(dlg, "low_margin", "forty");
        QTest::keyClick(child<QSpinBox>(dlg, "packing_slips"), Qt::Key_Up);
        child<QRadioButton>(dlg, "drawer_command")->setFocus();
        QTest::keyClick(child<QRadioButton>(dlg, "drawer_command"), Qt::Key_Space);
        retype(dlg, "drawer_command_text", "1B700019FA12345");
        QTest::keyClick(child<QLineEdit>(dlg, "drawer_command_text"), Qt::Key_Return);
    });
    EXPECT_TRUE(CGeneralDlg::Run(nullptr, local, header));

    const SalesFileHeader h = stored();
    EXPECT_EQ(h.todaysNotes, "Inventory on Friday\r\n");
    EXPECT_EQ(h.mustSelectCashier, 0u);
    EXPECT_EQ(h.mustSelectSalesperson, 1u);
    EXPECT_EQ(h.showSalesperson, 1u);
    EXPECT_EQ(h.rollFontSize, 18);
    EXPECT_EQ(h.lowMarginPercent, 0.0f);
    EXPECT_EQ(header.todaysNotes, h.todaysNotes);  // the in-memory header is what was stored
    CLocalFile reloaded(dir.path());
    ASSERT_FALSE(reloaded.Load());
    EXPECT_EQ(reloaded.receiptStyle, 1);
    EXPECT_EQ(reloaded.packingSlips, 1);
    EXPECT_EQ(reloaded.drawerMethod, 2);
    EXPECT_EQ(reloaded.drawerCommand, "1B700019FA1");
}

TEST_F(GeneralWindow, BrokenRuleReopensAndCancelThenStoresNothing)
{
    const char* const cashRule = "When the 'Must enter Cash Paid' requirement box is set,";
    boxes.answer(MessageBox::Answer::Ok);
    whenModal<CGeneralDlg>([this](CGeneralDlg* dlg) {
        toggle(dlg, "show_change_calc");  // on by default: now off, with cash paid required
        whenModal<CGeneralDlg>([this](CGeneralDlg* again) {
            // Reopened with the entries as typed.
            EXPECT_FALSE(child<QCheckBox>(again, "show_change_calc")->isChecked());
            child<QPushButton>(again, "cancel")->click();
        });
        child<QPushButton>(dlg, "ok")->click();
    });
    EXPECT_FALSE(CGeneralDlg::Run(nullptr, local, header));
    EXPECT_TRUE(boxes.saw(cashRule));
    EXPECT_EQ(stored().showChangeCalc, 1u);
}

TEST_F(GeneralWindow, SecurityOnKeepsTheWindowShut)
{
    local.securityOn = 1;
    boxes.answer(MessageBox::Answer::Ok);
    ModalGuard guard;
    EXPECT_FALSE(CGeneralDlg::Run(nullptr, local, header));
    EXPECT_FALSE(guard.opened());
    EXPECT_TRUE(boxes.saw("Security is on."));
}

TEST_F(GeneralWindow, SaleScreenMenuOpensItAndRecalculatesTheSale)
{
    ClockDouble clock;
    ProductRecord product;
    product.itemNumber = "A100";
    product.description = "Hammer";
    product.price[0] = 10.25f;
    ASSERT_EQ(EnsureProductFile(local), 0);
    ASSERT_EQ(AppendProduct(local, product), 0);
    CSaleDlg screen(local, header);
    ASSERT_TRUE(screen.Initialize());
    screen.show();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    auto* item = qobject_cast<QLineEdit*>(screen.control(SaleIds::kItem));
    item->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(item, "A100");
    QTest::keyClick(item, Qt::Key_Return);
    auto* total = qobject_cast<QLineEdit*>(screen.control(SaleIds::kTotal));
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->text(), "10.25");

    whenModal<CGeneralDlg>([](CGeneralDlg* dlg) {
        auto* cents = child<QCheckBox>(dlg, "show_cents");
        cents->setFocus();
        QTest::keyClick(cents, Qt::Key_Space);
        QTest::keyClick(cents, Qt::Key_Return);
    });
    screen.findChild<QAction*>("action_general")->trigger();
    EXPECT_EQ(stored().showCents, 0u);
    EXPECT_EQ(total->text(), "10");
}

}  // namespace
