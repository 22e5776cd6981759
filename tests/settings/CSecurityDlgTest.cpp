#include "settings/CSecurityDlg.h"

#include "products/CGetProductDlg.h"
#include "products/CProductsDlg.h"
#include "settings/CGeneralDlg.h"
#include "settings/CPeopleDlg.h"

#include "support/BackOfficeWindow.h"

#include <QRadioButton>

namespace {

struct SecurityWindow : BackOfficeWindow {
    void storePassword(const std::string& password)
    {
        header.securityPassword = password;
        ASSERT_EQ(WriteHeader(local, header), 0);
        header.securityPassword = "stale";  // the window must read the file
    }
    static void type(QWidget& dlg, const char* box, const QString& text)
    {
        QTest::keyClicks(child<QLineEdit>(&dlg, box), text);
    }
    static bool boxesEmpty(QWidget& dlg)
    {
        for (const char* name : {"password", "new_password", "confirm_password"})
            if (!child<QLineEdit>(&dlg, name)->text().isEmpty())
                return false;
        return true;
    }
    // Locked: the new password boxes read-only, the change button and the
    // security switch disabled; unlocked, all of them usable.
    static bool locked(QWidget& dlg, bool lock = true)
    {
        bool all = child<QLineEdit>(&dlg, "new_password")->isReadOnly() == lock &&
                   child<QLineEdit>(&dlg, "confirm_password")->isReadOnly() == lock;
        for (const char* name : {"confirm_change", "security_on", "security_off", "security_note", "security_group"})
            all = all && child<QWidget>(&dlg, name)->isEnabled() != lock;
        return all;
    }
    static void confirm(QWidget& dlg, const QString& password)
    {
        type(dlg, "password", password);
        child<QPushButton>(&dlg, "confirm")->click();
    }
    static void change(QWidget& dlg, const QString& password, const QString& again)
    {
        type(dlg, "new_password", password);
        type(dlg, "confirm_password", again);
        child<QPushButton>(&dlg, "confirm_change")->click();
    }
};

TEST_F(SecurityWindow, OpensLockedUnlocksOnlyWithTheExactPasswordThenSavesTheSwitchAtOnce)
{
    storePassword("Open Sesame");
    local.securityOn = 1;
    ASSERT_TRUE(local.Save());
    CSecurityDlg dlg(local, header);
    dlg.show();
    EXPECT_EQ(header.securityPassword, "Open Sesame");  // re-read on opening
    EXPECT_TRUE(child<QRadioButton>(&dlg, "security_on")->isChecked());
    EXPECT_TRUE(locked(dlg));
    for (auto* name : {"password", "new_password", "confirm_password"})
        EXPECT_EQ(child<QLineEdit>(&dlg, name)->echoMode(), QLineEdit::Password) << name;

    // Wrong case, a prefix and trailing text all fail silently; the boxes empty.
    for (const QString& wrong : {QString("open sesame"), QString("Open"), QString("Open Sesame ")}) {
        type(dlg, "new_password", "x");  // read-only while locked
        confirm(dlg, wrong);
        EXPECT_TRUE(locked(dlg) && boxesEmpty(dlg)) << wrong.toStdString();
    }
    // Enter in the password box confirms and leaves the window open.
    type(dlg, "password", "Open Sesame");
    QTest::keyClick(child<QLineEdit>(&dlg, "password"), Qt::Key_Return);
    EXPECT_TRUE(locked(dlg, false) && boxesEmpty(dlg));
    EXPECT_TRUE(dlg.isVisible());

    // The arrow key moves the switch, as a keyboard user would; each choice is saved at once.
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    auto* on = child<QRadioButton>(&dlg, "security_on");
    on->setFocus();
    QTest::keyClick(on, Qt::Key_Up);
    EXPECT_TRUE(child<QRadioButton>(&dlg, "security_off")->isChecked());
    EXPECT_EQ(reloaded().securityOn, 0);
    on->click();
    EXPECT_EQ(local.securityOn, 1);
    EXPECT_EQ(reloaded().securityOn, 1);
    // Cancel only closes: the choice stays saved.
    child<QPushButton>(&dlg, "cancel")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(reloaded().securityOn, 1);
    EXPECT_EQ(storedHeader().securityPassword, "Open Sesame");
    EXPECT_TRUE(boxes.texts().empty());

    // Security on keeps the protected windows shut: each says so and never opens.
    const std::function<void()> opens[] = {
        [this] { CGeneralDlg::Run(nullptr, local, header); },
        [this] { CPeopleDlg::Run(nullptr, local, PeopleKind::Cashiers); },
        [this] { CProductsDlg::Open(local, header, nullptr); },
        [this] { CFindProductDlg(local, header).OnNewProduct(); },
    };
    ModalGuard guard;
    for (const auto& open : opens)
        expectMessage(boxes, kSecurityRefusal, open);
    EXPECT_FALSE(guard.opened());
}

TEST_F(SecurityWindow, NewPasswordIsCutTo13AndAMismatchOrAnEmptyPairAreSaid)
{
    boxes.answer(MessageBox::Answer::Ok);
    {
        CSecurityDlg dlg(local, header);
        ASSERT_EQ(boxes.texts().size(), 1u);
        EXPECT_EQ(boxes.texts()[0], "There is no Password.\n\nYou may enter a 'New Password' and 'Confirm Password'.");
        EXPECT_TRUE(locked(dlg, false));
        change(dlg, "ABCDEFGHIJKLMN", "ABCDEFGHIJKLMN");
        EXPECT_TRUE(boxesEmpty(dlg));
        EXPECT_EQ(storedHeader().securityPassword, "ABCDEFGHIJKLM");
        EXPECT_EQ(boxes.texts().size(), 1u);  // a set password is not announced
    }
    // Now the window opens locked; the full 14 characters no longer match.
    CSecurityDlg dlg(local, header);
    confirm(dlg, "ABCDEFGHIJKLMN");
    EXPECT_TRUE(locked(dlg));
    confirm(dlg, "ABCDEFGHIJKLM");
    ASSERT_TRUE(locked(dlg, false));

    expectMessage(boxes, "New Password and Confirm Password don't match.\n\nNo change made.",
                  [&] { change(dlg, "new one", "New one"); });
    EXPECT_TRUE(boxesEmpty(dlg));
    EXPECT_EQ(storedHeader().securityPassword, "ABCDEFGHIJKLM");

    // Empty and empty: removed, and said so; Enter in the confirmation box works
    // too. What another register saved meanwhile stays.
    SalesFileHeader other = storedHeader();
    other.todaysNotes = "from the other till";
    ASSERT_EQ(WriteHeader(local, other), 0);
    expectMessage(boxes, "Password Removed!",
                  [&] { QTest::keyClick(child<QLineEdit>(&dlg, "confirm_password"), Qt::Key_Return); });
    EXPECT_EQ(storedHeader().securityPassword, "");
    EXPECT_EQ(storedHeader().todaysNotes, "from the other till");
}

}  // namespace
