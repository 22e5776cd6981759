// Changes the files refuse, through the sale screen: each names the file and
// why, says that nothing changed, and nothing did.
#include "receivables/CPaymentDlg.h"
#include "storage/files/PaymentRecord.h"
#include "storage/io/FileWait.h"
#include "support/ModalDriver.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"
#include "support/WindowKeys.h"

using namespace SaleIds;

namespace {

// Another register holds the payments file; asked at once whether to keep
// waiting, the cashier says No.
struct RefusedChange : SaleScreenFixture {
    int waitBefore = FileWait::waitBeforeAsking();
    DataFile otherRegister;
    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        addProducts({saleProduct("A", 10)});
        boxes.allowUnscriptedOk();
        boxes.answer(MessageBox::Answer::No);
        FileWait::setWaitBeforeAsking(0);
        ASSERT_EQ(otherRegister.tryOpen(local.GetPath("Payments"), OpenMode::OpenOrCreate), FileCause::None);
    }
    void TearDown() override
    {
        FileWait::setWaitBeforeAsking(waitBefore);
        SaleScreenFixture::TearDown();
    }
};

TEST_F(RefusedChange, ARefusedFinishSaysWhichFileAndWhyAndStoresNothing)
{
    noCashierChoice();
    open();
    typeInto(kItem, "A");
    choosePayType("Cash");
    typeInto(kPaid, "20");
    key(Qt::Key_F9);
    otherRegister.close();
    const std::string kept =
        ".\n\nNothing was stored and no stock was taken. The sale stays on the screen; Finish Sale F9 tries again.";
    EXPECT_EQ(boxes.texts().back(),
              "The sale could not be saved: another register is using the payments file and the wait was given up" +
                  kept);
    // Any one file call failing on the way to the disk refuses the whole sale.
    long n = 1;
    for (; n < 400 && storedSales(local) == 0; ++n) {
        boxes.clear();
        FileFaults::arm(n, FileFaults::Action::Fail, true);
        key(Qt::Key_F9);
        FileFaults::disarm();
        const std::string told = boxes.texts().empty() ? "" : boxes.texts().back();
        if (storedSales(local) == 0)
            EXPECT_TRUE(told.rfind("The sale could not be saved: ", 0) == 0 && told.find(kept) != std::string::npos &&
                        storedStock(local, "A") == 10 && text(kItem) == "A")
                << n << ": " << told;
    }
    EXPECT_GT(n, 5);
    EXPECT_EQ(storedStock(local, "A"), 9);
}

TEST_F(RefusedChange, ARefusedPaymentSaysWhichFileAndWhyAndStoresNothing)
{
    otherRegister.close();  // taken again while the payment is entered
    ASSERT_EQ(storeSale(local, SaleSpec().item("A").total(10).payType("Terms").paid(0)), 0);
    open();
    key(Qt::Key_PageUp);
    whenModal<CPaymentDlg>([this](CPaymentDlg* p) {
        retype(p, "amount", "4");
        ASSERT_EQ(otherRegister.tryOpen(local.GetPath("Payments"), OpenMode::ReadWrite), FileCause::None);
        press(p, "ok");
    });
    dlg->findChild<QAction*>("action_pay_this_sale")->trigger();
    otherRegister.close();
    EXPECT_EQ(boxes.texts().back(),
              "The payment was not stored: another register is using the payments file.\n\nNothing was changed.");
    EXPECT_TRUE(PaymentsOfSale(local, 0).empty());
    EXPECT_EQ(storedSale(local, 0).paid, 0);
}

}  // namespace
