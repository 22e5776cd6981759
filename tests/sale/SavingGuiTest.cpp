// Saving while another register holds a file: the sale screen stays alive,
// takes no second command, shows that it waits, asks whether to keep waiting,
// and stores the change once when the file is let go.
#include "receivables/CPaymentDlg.h"
#include "storage/files/PaymentFile.h"
#include "storage/io/FileWait.h"
#include "support/ModalDriver.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"
#include "support/WhileWorking.h"
#include "support/WindowKeys.h"

#include <QLabel>

using namespace SaleIds;

using Saving = SaleScreenFixture;

TEST_F(Saving, AHeldFileIsWaitedForWithTheNoteAndTheQuestionAndTheChangeIsStoredOnce)
{
    struct Case {
        const char* held;
        std::function<void()> prepare, change;
        std::function<int()> done;  // how many times the change was made
        const char* note = "Saving...";
    };
    const auto toStoredSale = [&] { key(Qt::Key_PageUp); };
    // The command's own question comes after the wait for the sales file.
    const auto command = [&](const char* action) {
        return [this, action] {
            boxes.answer(MessageBox::Answer::Ok);
            menu(action);
        };
    };
    const Case cases[] = {
        {"Payments",
         [&] {
             key(Qt::Key_PageUp);
             whenModal<CPaymentDlg>([](CPaymentDlg* p) {
                 retype(p, "amount", "4");
                 press(p, "ok");
             });
         },
         [&] { menu("action_pay_this_sale"); },
         [&] { return static_cast<int>(PaymentsOfSale(local, 0).size()); }},
        {"Invoices",
         [&] {
             typeInto(kItem, "A");
             choosePayType("Cash");
             typeInto(kPaid, "20");
         },
         [&] { key(Qt::Key_F9); },
         [&] { return storedSales(local) - 1; }},
        {"Invoices", toStoredSale, command("action_edit_sale"),
         [&] { return dlg->state().editingStored() ? 1 : 0; }, "Reading..."},
        {"Invoices", toStoredSale, command("action_void_sale"),
         [&] { return storedSale(local, 1).description[0].rfind("VOIDED - ", 0) == 0 ? 1 : 0; }, "Reading..."},
    };
    const int waitBefore = FileWait::waitBeforeAsking();
    FileWait::setWaitBeforeAsking(0);  // the question comes at once
    ASSERT_EQ(storeSale(local, SaleSpec().item("A").total(10).payType("Terms")), 0);
    addProducts({saleProduct("A", 10)});
    noCashierChoice();
    for (const Case& c : cases) {
        open();
        c.prepare();
        DataFile otherRegister;
        ASSERT_EQ(otherRegister.tryOpen(local.GetPath(c.held), OpenMode::OpenOrCreate), FileCause::None);
        boxes.clear();
        boxes.onShow([&](const std::string& text) {
            if (text.find("Keep waiting?") != std::string::npos)
                otherRegister.close();
        });
        boxes.answer(MessageBox::Answer::Yes);
        WhileWorking during([&] {
            QLabel* note = BackgroundWork::note();
            ASSERT_NE(note, nullptr);
            EXPECT_FALSE(note->isVisible()) << c.held;
            BackgroundWork::takeNextStep();
            EXPECT_EQ(note->text(), c.note);
            EXPECT_TRUE(note->isVisible());
            EXPECT_EQ(dlg->childAt(note->geometry().center()), note) << "the note is covered";
            // Taken by nothing while the change is on its way.
            QTest::keyClick(dlg->control(kItem), Qt::Key_F9);
            EXPECT_FALSE(dlg->close());
            BackgroundWork::takeNextStep();
            EXPECT_EQ(note->text(), BackgroundWork::kStillWaitingNote);
        });
        c.change();
        boxes.onShow(nullptr);
        EXPECT_GE(during.started(), 1) << c.held;
        EXPECT_TRUE(boxes.saw("Another register is using this file")) << c.held;
        EXPECT_EQ(c.done(), 1) << c.held;
        EXPECT_EQ(dlg->findChild<QLabel*>("waiting_note"), nullptr);
        EXPECT_TRUE(dlg->isVisible());
    }
    EXPECT_EQ(storedStock(local, "A"), 10);  // sold, then voided
    FileWait::setWaitBeforeAsking(waitBefore);
}
