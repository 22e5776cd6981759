#include "CLoginDlg.h"

#include "CSummaryDlg.h"
#include "ListFiles.h"
#include "ModalDriver.h"
#include "RegisterFixture.h"
#include "StoredRecords.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Chooses the cashier by typing the start of the name into the list, as a
// keyboard user does, types the password and presses Enter.
void logInAs(const QString& name, const QString& password)
{
    whenModal<CLoginDlg>([name, password](CLoginDlg* dlg) {
        auto* list = dlg->findChild<QComboBox*>("cashier");
        const int index = list->findText(name);
        EXPECT_GE(index, 0) << name.toStdString();
        list->setCurrentIndex(index);
        auto* box = dlg->findChild<QLineEdit*>("login_password");
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
        QTest::keyClicks(box, password);
        QTest::keyClick(box, Qt::Key_Return);
    });
}

CalendarTime at(int year, int month, int day, int hour, int minute)
{
    return CalendarTime{.year = year, .month = month, .day = day, .hour = hour, .minute = minute};
}

struct CashierLogIn : RegisterFixture {
    void SetUp() override
    {
        RegisterFixture::SetUp();
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
    }

    void addCashier(const std::string& name, const std::string& password)
    {
        ASSERT_GE(AppendCashier(local, CashierRecord{name, password}), 0);
    }
    // Mary logged in at this register at 9:00 on 6 December 2026.
    void maryIsLoggedIn()
    {
        local.loggedInCashier = "Mary";
        local.loginTime = OleDate::fromCalendar(2026, 12, 6, 9, 0, 0);
        ASSERT_TRUE(local.Save());
    }
    ClockDouble clock{2026, 12, 6, 12, 0, 0};
    InvoiceRecord sale = ClearedInvoice();
};

TEST_F(CashierLogIn, ListIsSortedAndMissingCashierFileLeavesItEmpty)
{
    {
        CLoginDlg dlg(local);
        EXPECT_EQ(dlg.findChild<QComboBox*>("cashier")->count(), 0);
        EXPECT_FALSE(fileExists(local.GetPath("Cashiers")));
    }
    // With no cashiers no log-in can succeed.
    boxes.answer(MessageBox::Answer::Ok);
    whenModal<CLoginDlg>([](CLoginDlg* dlg) { dlg->findChild<QPushButton*>("ok")->click(); });
    EXPECT_FALSE(CLoginDlg::LogIn(nullptr, local, header, sale));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Password did not match."});
    EXPECT_EQ(local.loggedInCashier, "");

    for (const char* name : {"mary", "John", "Anne", "bob"})
        addCashier(name, "pw");
    CLoginDlg dlg(local);
    auto* list = dlg.findChild<QComboBox*>("cashier");
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->itemText(i);
    EXPECT_EQ(shown, (QStringList{"Anne", "bob", "John", "mary"}));
}

TEST_F(CashierLogIn, JohnOverMaryShowsMarysSalesSinceHerLogInThenTheLogInMessage)
{
    header.mustLogInCashier = 1;
    addCashier("Mary", "m");
    addCashier("John", "Jpw");
    maryIsLoggedIn();
    storeSale(local, SaleSpec().total(1).cashier("Mary").when(at(2026, 12, 6, 8, 59)));   // 0: before her log-in
    storeSale(local, SaleSpec().total(2).cashier("Mary").when(at(2026, 12, 6, 9, 0)));    // 1: at her log-in
    storeSale(local, SaleSpec().total(3).cashier("John").when(at(2026, 12, 6, 10, 0)));   // 2: John's
    storeSale(local, SaleSpec().total(4).cashier("Mary").when(at(2026, 12, 6, 12, 0)));   // 3: now
    storeSale(local, SaleSpec().total(5).cashier("Mary").when(at(2026, 12, 6, 12, 1)));   // 4: later than now

    std::string report;
    std::size_t boxesBeforeReport = 99;
    logInAs("John", "Jpw");
    whenModal<CSummaryDlg>([&](CSummaryDlg* dlg) {
        boxesBeforeReport = boxes.texts().size();
        auto* text = dlg->findChild<QPlainTextEdit*>("summary_text");
        EXPECT_TRUE(text->isReadOnly());
        report = text->toPlainText().toStdString();
        EXPECT_FALSE(dlg->findChild<QPushButton*>("print")->isEnabled());
        dlg->findChild<QPushButton*>("ok")->click();
    });
    boxes.answer(MessageBox::Answer::Ok);
    EXPECT_TRUE(CLoginDlg::LogIn(nullptr, local, header, sale));

    EXPECT_EQ(boxesBeforeReport, 0u);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Log-in cashier John"});
    // Only Mary's sales 1 and 3 lie in her time.
    for (const char* line : {"Cashier:Mary", "1      \t     2.00\tCash", "3      \t     4.00\tCash"})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    for (const char* line : {"0      \t", "2      \t", "4      \t"})
        EXPECT_EQ(report.find(line), std::string::npos) << line << "\n" << report;

    const OleDate noon = OleDate::fromCalendar(2026, 12, 6, 12, 0, 0);
    EXPECT_EQ((std::tuple{local.loggedInCashier, sale.cashier, local.loginTime}), (std::tuple{"John", "John", noon}));
    const CLocalFile after = reloaded();
    EXPECT_EQ((std::pair{after.loggedInCashier, after.loginTime}), (std::pair{std::string("John"), noon}));
}

TEST_F(CashierLogIn, WrongPasswordOrCancelChangesNothing)
{
    header.mustLogInCashier = 1;
    addCashier("Mary", "m");
    addCashier("John", "Jpw");
    maryIsLoggedIn();
    sale.cashier = "Mary";
    // Wrong case, another cashier's password, none, and Cancel.
    for (const char* wrong : std::initializer_list<const char*>{"jpw", "m", "", nullptr}) {
        if (wrong) {
            boxes.answer(MessageBox::Answer::Ok);
            logInAs("John", wrong);
        } else {
            whenModal<CLoginDlg>([](CLoginDlg* dlg) { dlg->findChild<QPushButton*>("cancel")->click(); });
        }
        EXPECT_FALSE(CLoginDlg::LogIn(nullptr, local, header, sale)) << (wrong ? wrong : "cancel");
    }
    EXPECT_EQ(boxes.texts(), std::vector<std::string>(3, "Password did not match."));
    EXPECT_EQ((std::tuple{local.loggedInCashier, sale.cashier, local.loginTime}),
              (std::tuple{"Mary", "Mary", OleDate::fromCalendar(2026, 12, 6, 9, 0, 0)}));
    EXPECT_EQ(reloaded().loggedInCashier, "Mary");
}

TEST_F(CashierLogIn, WithoutRequiredLogInThereIsNoReportAndNoMessage)
{
    header.mustLogInCashier = 0;
    addCashier("Mary", "m");
    addCashier("John", "Jpw");
    maryIsLoggedIn();
    storeSale(local, SaleSpec().total(2).cashier("Mary").when(at(2026, 12, 6, 10, 0)));
    clock.set(2026, 12, 6, 13, 30, 15);
    ModalCounter<CSummaryDlg> summaries;
    logInAs("John", "Jpw");
    EXPECT_TRUE(CLoginDlg::LogIn(nullptr, local, header, sale));
    EXPECT_EQ(summaries.count(), 0);
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(reloaded().loggedInCashier, "John");
    EXPECT_EQ(reloaded().loginTime, OleDate::fromCalendar(2026, 12, 6, 13, 30, 15));

    // Required log-in with nobody logged in before: the message, but no report.
    header.mustLogInCashier = 1;
    local.loggedInCashier.clear();
    boxes.answer(MessageBox::Answer::Ok);
    logInAs("Mary", "m");
    EXPECT_TRUE(CLoginDlg::LogIn(nullptr, local, header, sale));
    EXPECT_EQ(summaries.count(), 0);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Log-in cashier Mary"});
    EXPECT_EQ(sale.cashier, "Mary");
}

}  // namespace
