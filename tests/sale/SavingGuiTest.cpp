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
        std::function<int()> stored;  // how many changes the files hold
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
            EXPECT_EQ(note->text(), "Saving...");
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
        EXPECT_EQ(during.started(), 1) << c.held;
        EXPECT_TRUE(boxes.saw("Another register is using this file")) << c.held;
        EXPECT_EQ(c.stored(), 1) << c.held;
        EXPECT_EQ(dlg->findChild<QLabel*>("waiting_note"), nullptr);
        EXPECT_TRUE(dlg->isVisible());
    }
    EXPECT_EQ(storedStock(local, "A"), 9);
    FileWait::setWaitBeforeAsking(waitBefore);
}
