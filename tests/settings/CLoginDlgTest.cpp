#include "settings/CLoginDlg.h"

#include "settings/CSummaryDlg.h"
#include "storage/files/ListFiles.h"

#include "support/BackOfficeWindow.h"
#include "support/StoredRecords.h"

#include <QComboBox>

namespace {

// Chooses the cashier in the list, types the password and presses Enter; a
// refused password keeps the window open, which is then cancelled.
void logInAs(const QString& name, const QString& password, bool refused = false)
{
    whenModal<CLoginDlg>([name, password, refused](CLoginDlg* dlg) {
        auto* list = child<QComboBox>(dlg, "cashier");
        EXPECT_GE(list->findText(name), 0) << name.toStdString();
        list->setCurrentIndex(list->findText(name));
        auto* box = child<QLineEdit>(dlg, "login_password");
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
        QTest::keyClicks(box, password);
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(dlg->isVisible(), refused);
        if (refused) {
            EXPECT_TRUE(box->text().isEmpty());
            child<QPushButton>(dlg, "cancel")->click();
        }
    });
}

CalendarTime at(int hour, int minute)
{
    return CalendarTime{.year = 2026, .month = 12, .day = 6, .hour = hour, .minute = minute};
}

struct CashierLogIn : BackOfficeWindow {
    // Mary (password "m") logged in at this register at 9:00 on 6 December
    // 2026; John's password is "Jpw".
    void maryIsLoggedIn(bool mustLogIn)
    {
        header.mustLogInCashier = mustLogIn;
        ASSERT_GE(AppendCashier(local, {"Mary", "m"}), 0);
        ASSERT_GE(AppendCashier(local, {"John", "Jpw"}), 0);
        local.loggedInCashier = "Mary";
        local.loginTime = kNine;
        ASSERT_TRUE(local.Save());
    }
    const OleDate kNine = OleDate::fromCalendar(2026, 12, 6, 9, 0, 0);
    ClockDouble clock{2026, 12, 6, 12, 0, 0};
    InvoiceRecord sale = ClearedInvoice();
};

TEST_F(CashierLogIn, JohnOverMaryShowsMarysSalesSinceHerLogInThenTheLogInMessage)
{
    maryIsLoggedIn(true);
    // The report passes Mary and her log-in time on: the rules are CashierLogout's.
    storeSale(local, SaleSpec().total(1).cashier("Mary").when(at(8, 59)));  // before her log-in
    storeSale(local, SaleSpec().total(2).cashier("Mary").when(at(9, 0)));

    std::string report;
    std::size_t boxesBeforeReport = 99;
    logInAs("John", "Jpw");
    whenModal<CSummaryDlg>([&](CSummaryDlg* dlg) {
        boxesBeforeReport = boxes.texts().size();
        auto* text = child<QPlainTextEdit>(dlg, "summary_text");
        EXPECT_TRUE(text->isReadOnly());
        report = text->toPlainText().toStdString();
        EXPECT_TRUE(child<QPushButton>(dlg, "print")->isEnabled());
        child<QPushButton>(dlg, "ok")->click();
    });
    expectMessage(boxes, "Log-in cashier John", [&] { EXPECT_TRUE(CLoginDlg::LogIn(nullptr, local, header, sale)); });
    EXPECT_EQ(boxesBeforeReport, 0u);
    EXPECT_NE(report.find("1      \t     2.00\tCash"), std::string::npos) << report;
    EXPECT_EQ(report.find("0      \t"), std::string::npos) << report;
    const OleDate noon = OleDate::fromCalendar(2026, 12, 6, 12, 0, 0);
    EXPECT_EQ((std::tuple{local.loggedInCashier, sale.cashier, local.loginTime}), (std::tuple{"John", "John", noon}));
    const CLocalFile after = reloaded();
    EXPECT_EQ((std::pair{after.loggedInCashier, after.loginTime}), (std::pair{std::string("John"), noon}));

    // Without a required log-in there is neither report nor message; with one
    // and nobody logged in before, the message alone.
    ModalCounter<CSummaryDlg> summaries;
    boxes.clear();
    header.mustLogInCashier = 0;
    logInAs("Mary", "m");
    EXPECT_TRUE(CLoginDlg::LogIn(nullptr, local, header, sale));
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(reloaded().loggedInCashier, "Mary");
    header.mustLogInCashier = 1;
    local.loggedInCashier.clear();
    logInAs("John", "Jpw");
    expectMessage(boxes, "Log-in cashier John", [&] { EXPECT_TRUE(CLoginDlg::LogIn(nullptr, local, header, sale)); });
    EXPECT_EQ(summaries.count(), 0);
}

TEST_F(CashierLogIn, WrongPasswordOrCancelChangesNothing)
{
    // Without a cashier file the list is empty, no log-in succeeds and no file is made.
    whenModal<CLoginDlg>([](CLoginDlg* dlg) {
        EXPECT_EQ(child<QComboBox>(dlg, "cashier")->count(), 0);
        press(dlg, "ok");
        EXPECT_TRUE(dlg->isVisible());
        press(dlg, "cancel");
    });
    expectMessage(boxes, "Password did not match.",
                  [&] { EXPECT_FALSE(CLoginDlg::LogIn(nullptr, local, header, sale)); });
    EXPECT_FALSE(fileExists(local.GetPath("Cashiers")));

    maryIsLoggedIn(true);
    sale.cashier = "Mary";
    // Cancel, with the list sorted ignoring case.
    ASSERT_GE(AppendCashier(local, {"anne", "a"}), 0);
    QStringList listed;
    whenModal<CLoginDlg>([&](CLoginDlg* dlg) {
        auto* list = child<QComboBox>(dlg, "cashier");
        for (int i = 0; i < list->count(); ++i)
            listed << list->itemText(i);
        press(dlg, "cancel");
    });
    EXPECT_FALSE(CLoginDlg::LogIn(nullptr, local, header, sale));
    EXPECT_EQ(listed, (QStringList{"anne", "John", "Mary"}));
    // Wrong case, another cashier's password, and none.
    for (const char* wrong : {"jpw", "m", ""}) {
        boxes.answer(MessageBox::Answer::Ok);
        logInAs("John", wrong, true);
        EXPECT_FALSE(CLoginDlg::LogIn(nullptr, local, header, sale)) << wrong;
    }
    EXPECT_EQ(boxes.texts(), std::vector<std::string>(4, "Password did not match."));
    EXPECT_EQ((std::tuple{local.loggedInCashier, sale.cashier, local.loginTime}), (std::tuple{"Mary", "Mary", kNine}));
    EXPECT_EQ(reloaded().loggedInCashier, "Mary");
}

}  // namespace
