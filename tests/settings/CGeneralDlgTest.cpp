#include "settings/CGeneralDlg.h"

#include "support/BackOfficeWindow.h"

#include <QRadioButton>
#include <QSpinBox>

namespace {

using GeneralWindow = BackOfficeWindow;

TEST_F(GeneralWindow, KeyboardEditsAreStoredAndOtherSettingsKept)
{
    SalesFileHeader other = storedHeader();
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
        SalesFileHeader meanwhile = storedHeader();
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
        retype(dlg, "roll_font_size", "18");
        retype(dlg, "low_margin", "forty");
        QTest::keyClick(child<QSpinBox>(dlg, "packing_slips"), Qt::Key_Up);
        child<QRadioButton>(dlg, "drawer_command")->setFocus();
        QTest::keyClick(child<QRadioButton>(dlg, "drawer_command"), Qt::Key_Space);
        child<QRadioButton>(dlg, "roll_58")->setFocus();
        QTest::keyClick(child<QRadioButton>(dlg, "roll_58"), Qt::Key_Space);
        // Six bytes in spaced hexadecimal need 12 characters, and a margin that
        // is no number: each said, and the window opens again as typed.
        whenModal<CGeneralDlg>([this](CGeneralDlg* again) {
            EXPECT_EQ(child<QLineEdit>(again, "drawer_command_text")->text(), "1B 70 00 19 FA 12");
            EXPECT_TRUE(child<QRadioButton>(again, "roll_58")->isChecked());
            whenModal<CGeneralDlg>([this](CGeneralDlg* third) {
                EXPECT_EQ(child<QLineEdit>(third, "low_margin")->text(), "forty");
                retypeAndEnter(third, "low_margin", "3,75");  // a decimal comma reads as the point
            });
            retypeAndEnter(again, "drawer_command_text", "1B 70 00 19 FA");
        });
        retypeAndEnter(dlg, "drawer_command_text", "1B 70 00 19 FA 12");
    });
    boxes.answer(MessageBox::Answer::Ok);
    boxes.answer(MessageBox::Answer::Ok);
    EXPECT_TRUE(CGeneralDlg::Run(nullptr, local, header));
    EXPECT_TRUE(boxes.saw("The drawer command is too long: the register keeps 11 characters, and the command needs 12."));
    EXPECT_TRUE(boxes.saw("The box \"Low Margin %\" takes a number.\n\n\"forty\" is not one."));

    const SalesFileHeader h = storedHeader();
    EXPECT_EQ(h.todaysNotes, "Inventory on Friday\r\n");
    EXPECT_EQ(header.todaysNotes, h.todaysNotes);  // the in-memory header is what was stored
    EXPECT_EQ((std::tuple{h.mustSelectCashier, h.mustSelectSalesperson, h.showSalesperson, h.rollFontSize}),
              (std::tuple{0u, 1u, 1u, 18u}));
    EXPECT_EQ(h.lowMarginPercent, 3.75f);
    const CLocalFile after = reloaded();
    EXPECT_EQ((std::tuple{int{after.receiptStyle}, int{after.packingSlips}, int{after.drawerMethod},
                          int{after.rollWidthMm}}),
              (std::tuple{1, 1, 2, 58}));
    EXPECT_EQ(after.drawerCommand, "1B700019FA");
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
    EXPECT_EQ(storedHeader().showChangeCalc, 1u);
}

}  // namespace
