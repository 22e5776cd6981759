#include "settings/CLoginDlg.h"

#include "settings/CSummaryDlg.h"
#include "storage/files/ListFiles.h"

#include "support/BackOfficeWindow.h"
#include "support/StoredRecords.h"

#include <QComboBox>

namespace {

// Chooses the cashier in the list, types the password and presses Enter.
void logInAs(const QString& name, const QString& password)
{
    whenModal<CLoginDlg>([name, password](CLoginDlg* dlg) {
        auto* list = child<QComboBox>(dlg, "cashier");
        EXPECT_GE(list->findText(name), 0) << name.toStdString();
        list->setCurrentIndex(list->findText(name));
        auto* box = child<QLineEdit>(dlg, "login_password");
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
        QTest::keyClicks(box, password);
        QTest::keyClick(box, Qt::Key_Return);
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

TEST_F(CashierLogIn, ListIsSortedAndMissingCashierFileLeavesItEmpty)
{
    // With no cashiers the list is empty and no log-in can succeed.
    whenModal<CLoginDlg>([](CLoginDlg* dlg) {
        EXPECT_EQ(child<QComboBox>(dlg, "cashier")->count(), 0);
        press(dlg, "ok");
    });
    expectMessage(boxes, "Password did not match.",
                  [&] { EXPECT_FALSE(CLoginDlg::LogIn(nullptr, local, header, sale)); });
    EXPECT_FALSE(fileExists(local.GetPath("Cashiers")));
    EXPECT_EQ(local.loggedInCashier, "");
    for (const char* name : {"mary", "John", "Anne", "bob"})
        ASSERT_GE(AppendCashier(local, {name, "pw"}), 0);
    CLoginDlg dlg(local);
    auto* list = child<QComboBox>(&dlg, "cashier");
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->itemText(i);
    EXPECT_EQ(shown, (QStringList{"Anne", "bob", "John", "mary"}));
}

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
        EXPECT_FALSE(child<QPushButton>(dlg, "print")->isEnabled());
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
}

TEST_F(CashierLogIn, WrongPasswordOrCancelChangesNothing)
{
    maryIsLoggedIn(true);
    sale.cashier = "Mary";
    // Wrong case, another cashier's password, none, and Cancel.
    for (const char* wrong : std::initializer_list<const char*>{"jpw", "m", "", nullptr}) {
        if (wrong) {
            boxes.answer(MessageBox::Answer::Ok);
            logInAs("John", wrong);
        } else {
            whenModal<CLoginDlg>([](CLoginDlg* dlg) { child<QPushButton>(dlg, "cancel")->click(); });
        }
        EXPECT_FALSE(CLoginDlg::LogIn(nullptr, local, header, sale)) << (wrong ? wrong : "cancel");
    }
    EXPECT_EQ(boxes.texts(), std::vector<std::string>(3, "Password did not match."));
    EXPECT_EQ((std::tuple{local.loggedInCashier, sale.cashier, local.loginTime}), (std::tuple{"Mary", "Mary", kNine}));
    EXPECT_EQ(reloaded().loggedInCashier, "Mary");
}

TEST_F(CashierLogIn, WithoutRequiredLogInThereIsNoReportAndNoMessage)
{
    maryIsLoggedIn(false);
    storeSale(local, SaleSpec().total(2).cashier("Mary").when(at(10, 0)));
    clock.set(2026, 12, 6, 13, 30, 15);
    ModalCounter<CSummaryDlg> summaries;
    logInAs("John", "Jpw");
    EXPECT_TRUE(CLoginDlg::LogIn(nullptr, local, header, sale));
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ((std::pair{reloaded().loggedInCashier, reloaded().loginTime}),
              (std::pair{std::string("John"), OleDate::fromCalendar(2026, 12, 6, 13, 30, 15)}));

    // Required log-in with nobody logged in before: the message, but no report.
    header.mustLogInCashier = 1;
    local.loggedInCashier.clear();
    logInAs("Mary", "m");
    expectMessage(boxes, "Log-in cashier Mary", [&] { EXPECT_TRUE(CLoginDlg::LogIn(nullptr, local, header, sale)); });
    EXPECT_EQ(summaries.count(), 0);
    EXPECT_EQ(sale.cashier, "Mary");
}

}  // namespace
