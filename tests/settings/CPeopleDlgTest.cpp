#include "CPeopleDlg.h"
#include "CTermsDlg.h"
#include "CTextListDlg.h"

#include "ListFiles.h"
#include "SetupWindowFixture.h"

#include <QTreeWidget>

namespace {

using PeopleWindow = SetupWindow;

QStringList column(QWidget* dlg, int col) { return rowsOf(child<QTreeWidget>(dlg, "list"), {col}); }
void chooseRow(QWidget* dlg, int row) { chooseRow(child<QTreeWidget>(dlg, "list"), row); }

TEST_F(PeopleWindow, CashiersAreAddedChosenReplacedAndDeletedFromTheKeyboard)
{
    ASSERT_EQ(AppendCashier(local, {"Ann", "a1"}), 0);
    ASSERT_EQ(AppendCashier(local, {"Bob", "b1"}), 0);
    boxes.answer(MessageBox::Answer::Ok);   // the empty name
    boxes.answer(MessageBox::Answer::Yes);  // save changes first
    boxes.answer(MessageBox::Answer::Ok);   // Ann is gone
    boxes.answer(MessageBox::Answer::Yes);  // delete
    whenModal<CPeopleDlg>([this](CPeopleDlg* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Cashier Names");
        press(dlg, "save");
        EXPECT_TRUE(boxes.saw("Type a name first."));
        retype(dlg, "name", "Mary");
        retype(dlg, "password", "secret");
        press(dlg, "save");  // nothing chosen: appended
        EXPECT_EQ(column(dlg, 0), (QStringList{"Ann", "Bob", "Mary"}));

        chooseRow(dlg, 1);
        EXPECT_EQ(child<QLineEdit>(dlg, "name")->text(), "Bob");
        retype(dlg, "password", "b2");
        chooseRow(dlg, 0);  // "Save changes first?" Yes: Bob keeps his place
        EXPECT_EQ(column(dlg, 1), (QStringList{"a1", "b2", "secret"}));
        EXPECT_EQ(child<QLineEdit>(dlg, "name")->text(), "Ann");

        // Another register deletes Ann (Mary moves into her place) before the save.
        ASSERT_EQ(DeleteCashier(local, "Ann"), ChangeResult::Done);
        retype(dlg, "password", "a2");
        press(dlg, "save");
        EXPECT_TRUE(boxes.saw("This name is no longer in the list"));
        EXPECT_EQ(column(dlg, 0), (QStringList{"Mary", "Bob"}));

        retype(dlg, "name", "BOB");  // deleted without regard to case
        press(dlg, "delete");
        EXPECT_EQ(column(dlg, 0), (QStringList{"Mary"}));
        press(dlg, "ok");
    });
    CPeopleDlg::Run(nullptr, local, PeopleKind::Cashiers);
    EXPECT_EQ(FillCashierBox(local), (std::vector<std::string>{"Mary"}));
}

TEST_F(PeopleWindow, SalespeopleAreNotBehindTheSecurityGate)
{
    local.securityOn = 1;
    whenModal<CPeopleDlg>([](CPeopleDlg* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Sales Personnel");
        EXPECT_EQ(dlg->findChild<QLineEdit*>("password"), nullptr);
        retype(dlg, "name", "Sam");
        press(dlg, "save");
        retype(dlg, "name", "Samuel");
        press(dlg, "save");  // the saved entry stays chosen: replaced
        press(dlg, "ok");
    });
    CPeopleDlg::Run(nullptr, local, PeopleKind::Salespeople);
    EXPECT_EQ(FillSalespersonBox(local), (std::vector<std::string>{"Samuel"}));
}

TEST_F(PeopleWindow, TextListRefusedStaysOpenThenStoresFromAFreshHeader)
{
    header.categories = "Stale\r\n";  // the window reads the file
    boxes.answer(MessageBox::Answer::Ok);
    whenModal<CTextListDlg>([this](CTextListDlg* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Add or Edit Types of Payment");
        auto* box = child<QPlainTextEdit>(dlg, "list");
        EXPECT_TRUE(box->toPlainText().startsWith("Cash\nCheck\n"));
        retype(dlg, "list", "Cash");
        for (const QString& line : {QString("Gift Card"), QString(24, 'x')}) {
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, line);
        }
        press(dlg, "ok");
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_TRUE(boxes.saw("Can't save.\nA Pay Type is to long."));
        QTest::keyClick(box, Qt::Key_Backspace);  // 23 characters, no final line break
        press(dlg, "ok");
    });
    EXPECT_TRUE(CTextListDlg::Run(nullptr, local, header, kPaymentTypeList));
    EXPECT_EQ(stored().paymentTypes, "Cash\r\nGift Card\r\n" + std::string(23, 'x') + "\r\n");
    EXPECT_EQ(stored().categories, SalesFileHeader().categories);
}

TEST_F(PeopleWindow, TermsAreAddedCheckedAndTheFirstTwoKept)
{
    boxes.answer(MessageBox::Answer::Ok);   // out of range
    boxes.answer(MessageBox::Answer::Ok);   // NET 30 kept
    boxes.answer(MessageBox::Answer::Yes);  // delete 2/10 NET 30
    whenModal<CTermsDlg>([this](CTermsDlg* dlg) {
        EXPECT_EQ(column(dlg, 3), (QStringList{"0", "30"}));  // a new file: COD and NET 30
        retype(dlg, "discount_percent", "2");
        retype(dlg, "discount_days", "10");
        retype(dlg, "net_days", "70000");
        press(dlg, "save");
        EXPECT_TRUE(boxes.saw(kTermsRefused));
        retype(dlg, "net_days", "30");
        press(dlg, "save");
        EXPECT_EQ(column(dlg, 0), (QStringList{"0", "1", "2"}));
        chooseRow(dlg, 1);
        press(dlg, "delete");
        chooseRow(dlg, 2);
        press(dlg, "delete");
        press(dlg, "ok");
    });
    CTermsDlg terms(local);
    terms.exec();
    EXPECT_EQ(FillTermsBox(local), (std::vector<std::string>{"COD", "NET 30"}));
}

}  // namespace
