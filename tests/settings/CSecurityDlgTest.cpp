#include "CSecurityDlg.h"

#include "CLocalFile.h"
#include "RegisterFixture.h"
#include "SalesFileHeader.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kNoPassword = "There is no Password.\n\nYou may enter a 'New Password' and 'Confirm Password'.";

struct SecurityWindow : RegisterFixture {
    void SetUp() override
    {
        RegisterFixture::SetUp();
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
    }
    std::string storedPassword() const { return storedHeader().securityPassword; }
    void storePassword(const std::string& password)
    {
        header.securityPassword = password;
        ASSERT_EQ(WriteHeader(local, header), 0);
        header.securityPassword = "stale";  // the window must read the file
    }
    int storedSecurity() const { return reloaded().securityOn; }

    template <class T> static T* child(QWidget& dlg, const char* name)
    {
        T* w = dlg.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void type(QWidget& dlg, const char* box, const QString& text)
    {
        QTest::keyClicks(child<QLineEdit>(dlg, box), text);
    }
    static bool boxesEmpty(QWidget& dlg)
    {
        return child<QLineEdit>(dlg, "password")->text().isEmpty() &&
               child<QLineEdit>(dlg, "new_password")->text().isEmpty() &&
               child<QLineEdit>(dlg, "confirm_password")->text().isEmpty();
    }
    // Locked: the new password boxes read-only, the change button and the
    // security switch disabled; unlocked, all of them usable.
    static bool lockedIs(QWidget& dlg, bool lock)
    {
        return child<QLineEdit>(dlg, "new_password")->isReadOnly() == lock &&
               child<QLineEdit>(dlg, "confirm_password")->isReadOnly() == lock &&
               child<QPushButton>(dlg, "confirm_change")->isEnabled() != lock &&
               child<QRadioButton>(dlg, "security_on")->isEnabled() != lock &&
               child<QRadioButton>(dlg, "security_off")->isEnabled() != lock &&
               child<QLabel>(dlg, "security_note")->isEnabled() != lock &&
               child<QGroupBox>(dlg, "security_group")->isEnabled() != lock;
    }
    static bool locked(QWidget& dlg) { return lockedIs(dlg, true); }
    static bool unlocked(QWidget& dlg) { return lockedIs(dlg, false); }
    static void confirm(QWidget& dlg, const QString& password)
    {
        type(dlg, "password", password);
        child<QPushButton>(dlg, "confirm")->click();
    }
};

TEST_F(SecurityWindow, OpensLockedAndUnlocksOnlyWithTheExactPassword)
{
    storePassword("Open Sesame");
    local.securityOn = 1;
    CSecurityDlg dlg(local, header);
    dlg.show();
    EXPECT_EQ(header.securityPassword, "Open Sesame");  // re-read on opening
    EXPECT_TRUE(child<QRadioButton>(dlg, "security_on")->isChecked());
    EXPECT_TRUE(locked(dlg));
    for (auto* name : {"password", "new_password", "confirm_password"})
        EXPECT_EQ(child<QLineEdit>(dlg, name)->echoMode(), QLineEdit::Password) << name;

    // Wrong case, a prefix and trailing text all fail silently; the boxes empty.
    for (const QString& wrong : {QString("open sesame"), QString("Open"), QString("Open Sesame ")}) {
        type(dlg, "new_password", "x");  // read-only while locked
        confirm(dlg, wrong);
        EXPECT_TRUE(locked(dlg)) << wrong.toStdString();
        EXPECT_TRUE(boxesEmpty(dlg));
    }
    EXPECT_TRUE(boxes.texts().empty());

    // Enter in the password box confirms and leaves the window open.
    type(dlg, "password", "Open Sesame");
    QTest::keyClick(child<QLineEdit>(dlg, "password"), Qt::Key_Return);
    EXPECT_TRUE(unlocked(dlg));
    EXPECT_TRUE(boxesEmpty(dlg));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(SecurityWindow, NoPasswordUnlocksAtOnceAndLongPasswordIsCutTo13)
{
    {
        boxes.answer(MessageBox::Answer::Ok);
        CSecurityDlg dlg(local, header);
        ASSERT_EQ(boxes.texts(), std::vector<std::string>{kNoPassword});
        EXPECT_TRUE(child<QRadioButton>(dlg, "security_off")->isChecked());
        EXPECT_TRUE(unlocked(dlg));
        type(dlg, "new_password", "ABCDEFGHIJKLMN");
        type(dlg, "confirm_password", "ABCDEFGHIJKLMN");
        child<QPushButton>(dlg, "confirm_change")->click();
        EXPECT_TRUE(boxesEmpty(dlg));
        EXPECT_EQ(header.securityPassword, "ABCDEFGHIJKLM");
        EXPECT_EQ(storedPassword(), "ABCDEFGHIJKLM");
        EXPECT_EQ(boxes.texts().size(), 1u);  // a set password is not announced
    }
    // Now the window opens locked; the full 14 characters no longer match.
    CSecurityDlg dlg(local, header);
    EXPECT_TRUE(locked(dlg));
    confirm(dlg, "ABCDEFGHIJKLMN");
    EXPECT_TRUE(locked(dlg));
    confirm(dlg, "ABCDEFGHIJKLM");
    EXPECT_TRUE(unlocked(dlg));
    EXPECT_EQ(boxes.texts().size(), 1u);
}

TEST_F(SecurityWindow, MismatchChangesNothingAndEmptyPairRemovesThePassword)
{
    storePassword("old");
    CSecurityDlg dlg(local, header);
    confirm(dlg, "old");
    ASSERT_TRUE(unlocked(dlg));

    boxes.answer(MessageBox::Answer::Ok);
    type(dlg, "new_password", "new one");
    type(dlg, "confirm_password", "New one");
    child<QPushButton>(dlg, "confirm_change")->click();
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{"New Password and Confirm Password don't match.\n\nNo change made."});
    EXPECT_TRUE(boxesEmpty(dlg));
    EXPECT_EQ(storedPassword(), "old");

    // Empty and empty: removed, and said so; Enter in the confirmation box works
    // too. What another register saved meanwhile stays.
    SalesFileHeader other = storedHeader();
    other.todaysNotes = "from the other till";
    ASSERT_EQ(WriteHeader(local, other), 0);
    boxes.clear();
    boxes.answer(MessageBox::Answer::Ok);
    QTest::keyClick(child<QLineEdit>(dlg, "confirm_password"), Qt::Key_Return);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Password Removed!"});
    EXPECT_EQ(storedPassword(), "");
    EXPECT_EQ(storedHeader().todaysNotes, "from the other till");
}

TEST_F(SecurityWindow, SecuritySwitchIsSavedAtOnceAndSurvivesARestart)
{
    storePassword("pw");
    CSecurityDlg dlg(local, header);
    dlg.show();
    confirm(dlg, "pw");
    ASSERT_TRUE(unlocked(dlg));

    child<QRadioButton>(dlg, "security_on")->click();
    EXPECT_EQ(local.securityOn, 1);
    EXPECT_EQ(storedSecurity(), 1);
    // The arrow key moves the choice back, as a keyboard user would.
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    child<QRadioButton>(dlg, "security_on")->setFocus();
    QTest::keyClick(child<QRadioButton>(dlg, "security_on"), Qt::Key_Up);
    EXPECT_TRUE(child<QRadioButton>(dlg, "security_off")->isChecked());
    EXPECT_EQ(storedSecurity(), 0);
    child<QRadioButton>(dlg, "security_on")->click();
    // Cancel only closes: the choice stays saved.
    child<QPushButton>(dlg, "cancel")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(storedSecurity(), 1);
    EXPECT_EQ(storedPassword(), "pw");
    EXPECT_TRUE(boxes.texts().empty());
}

}  // namespace
