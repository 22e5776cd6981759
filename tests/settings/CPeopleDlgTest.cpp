#include "settings/CPeopleDlg.h"
#include "settings/CTermsDlg.h"
#include "settings/CTextListDlg.h"

#include "storage/files/ListFiles.h"

#include "support/BackOfficeWindow.h"

#include <QTreeWidget>

namespace {

using PeopleWindow = BackOfficeWindow;

QStringList column(QWidget* dlg, int col) { return rowsOf(child<QTreeWidget>(dlg, "list"), {col}); }
void chooseRow(QWidget* dlg, int row) { chooseRow(child<QTreeWidget>(dlg, "list"), row); }

TEST_F(PeopleWindow, CashiersAreAddedChosenReplacedAndDeletedAndSalespeopleNeedNoGate)
{
    ASSERT_EQ(AppendCashier(local, {"Ann", "a1"}), 0);
    ASSERT_EQ(AppendCashier(local, {"Bob", "b1"}), 0);
    whenModal<CPeopleDlg>([this](CPeopleDlg* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Cashier Names");
        for (const char* blank : {"", "   "}) {
            retype(dlg, "name", blank);
            expectMessage(boxes, "Can't save.\nType a name first.", [&] { press(dlg, "save"); });
        }
        retype(dlg, "name", "Mary");
        retype(dlg, "password", QString(30, 'p'));  // kept to 23 characters
        press(dlg, "save");  // nothing chosen: appended
        EXPECT_EQ(column(dlg, 0), (QStringList{"Ann", "Bob", "Mary"}));

        chooseRow(dlg, 1);
        EXPECT_EQ(child<QLineEdit>(dlg, "name")->text(), "Bob");
        retype(dlg, "password", "b2");
        boxes.answer(MessageBox::Answer::Yes);
        chooseRow(dlg, 0);  // "Save changes first?" Yes: Bob keeps his place
        EXPECT_EQ(column(dlg, 1), (QStringList{"a1", "b2", QString(23, 'p')}));
        EXPECT_EQ(child<QLineEdit>(dlg, "name")->text(), "Ann");

        // Another register deletes Ann (Mary moves into her place) before the save.
        ASSERT_EQ(DeleteCashier(local, "Ann"), ChangeResult::Done);
        retype(dlg, "password", "a2");
        boxes.answer(MessageBox::Answer::Ok);
        press(dlg, "save");
        EXPECT_TRUE(boxes.saw("This name is no longer in the list"));
        EXPECT_EQ(column(dlg, 0), (QStringList{"Mary", "Bob"}));

        retype(dlg, "name", "BOB");  // deleted without regard to case
        boxes.answer(MessageBox::Answer::Yes);
        press(dlg, "delete");
        EXPECT_EQ(column(dlg, 0), (QStringList{"Mary"}));
        press(dlg, "ok");
    });
    CPeopleDlg::Run(nullptr, local, PeopleKind::Cashiers);
    EXPECT_EQ(FillCashierBox(local), (std::vector<std::string>{"Mary"}));
    EXPECT_TRUE(CheckCashierPassword(local, "Mary", std::string(23, 'p')));

    // Salespeople are not behind the security gate, and have no password.
    local.securityOn = 1;
    whenModal<CPeopleDlg>([](CPeopleDlg* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Sales Personnel");
        EXPECT_EQ(dlg->findChild<QLineEdit*>("password"), nullptr);
        retype(dlg, "name", "Sam");
        press(dlg, "save");
        retypeAndEnter(dlg, "name", "Samuel");  // Enter saves; the saved entry stays chosen: replaced
        press(dlg, "ok");
    });
    CPeopleDlg::Run(nullptr, local, PeopleKind::Salespeople);
    EXPECT_EQ(FillSalespersonBox(local), (std::vector<std::string>{"Samuel"}));
}

TEST_F(PeopleWindow, TextListRefusedStaysOpenThenStoresFromAFreshHeader)
{
    header.categories = "Stale\r\n";  // the window reads the file
    whenModal<CTextListDlg>([this](CTextListDlg* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Add or Edit Types of Payment");
        auto* box = child<QPlainTextEdit>(dlg, "list");
        EXPECT_TRUE(box->toPlainText().startsWith("Cash\nCheck\n"));
        retype(dlg, "list", "Cash");
        for (const QString& line : {QString("Gift Card"), QString(24, 'x')}) {
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, line);
        }
        expectMessage(boxes, "Can't save.\nA Pay Type is to long.", [&] { press(dlg, "ok"); });
        EXPECT_TRUE(dlg->isVisible());
        QTest::keyClick(box, Qt::Key_Backspace);  // 23 characters, no final line break
        press(dlg, "ok");
    });
    EXPECT_TRUE(CTextListDlg::Run(nullptr, local, header, kPaymentTypeList));
    EXPECT_EQ(storedHeader().paymentTypes, "Cash\r\nGift Card\r\n" + std::string(23, 'x') + "\r\n");
    EXPECT_EQ(storedHeader().categories, SalesFileHeader().categories);
}

TEST_F(PeopleWindow, TermsAreAddedCheckedAndTheFirstTwoKept)
{
    whenModal<CTermsDlg>([this](CTermsDlg* dlg) {
        EXPECT_EQ(column(dlg, 1), (QStringList{"COD", "NET 30"}));  // a new file
        EXPECT_EQ(column(dlg, 4), (QStringList{"0", "30"}));
        retype(dlg, "discount_percent", "2");
        retype(dlg, "discount_days", "10");
        retype(dlg, "net_days", "-1");
        expectMessage(boxes, kTermsRefused, [&] { press(dlg, "save"); });
        retype(dlg, "net_days", "30");
        press(dlg, "save");
        EXPECT_EQ(column(dlg, 1), (QStringList{"COD", "NET 30", "2/10 NET 30"}));
        chooseRow(dlg, 1);
        boxes.answer(MessageBox::Answer::Ok);  // NET 30 is kept
        press(dlg, "delete");
        chooseRow(dlg, 2);
        boxes.answer(MessageBox::Answer::Yes);
        press(dlg, "delete");
        press(dlg, "ok");
    });
    CTermsDlg terms(local);
    terms.exec();
    std::vector<std::string> kept;
    for (const TermsRecord& t : ListTerms(local))
        kept.push_back(t.name);
    EXPECT_EQ(kept, (std::vector<std::string>{"COD", "NET 30"}));
}

}  // namespace
