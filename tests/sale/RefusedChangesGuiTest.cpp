// Changes the files refuse, through the sale screen: each names the file and
// why, says that nothing changed, and nothing did.
#include "receivables/CPaymentDlg.h"
#include "storage/files/PaymentFile.h"
#include "storage/io/FileWait.h"
#include "support/ModalDriver.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"
#include "support/WindowKeys.h"

using namespace SaleIds;

using RefusedChange = SaleScreenFixture;

TEST_F(RefusedChange, EachRefusalNamesTheFileAndWhyAndNothingChanges)
{
    const int waitBefore = FileWait::waitBeforeAsking();
    FileWait::setWaitBeforeAsking(0);  // asked at once whether to keep waiting
    ASSERT_EQ(storeSale(local, SaleSpec().item("A").total(10).payType("Terms")), 0);
    addProducts({saleProduct("A", 10)});
    noCashierChoice();
    open();
    boxes.allowUnscriptedOk();
    DataFile otherRegister;  // holds the payments file; the cashier stops waiting
    auto holdPayments = [&] {
        ASSERT_EQ(otherRegister.tryOpen(local.GetPath("Payments"), OpenMode::OpenOrCreate), FileCause::None);
        boxes.answer(MessageBox::Answer::No);
    };
    auto told = [&] { return boxes.texts().empty() ? std::string() : boxes.texts().back(); };
    key(Qt::Key_PageUp);
    whenModal<CPaymentDlg>([&](CPaymentDlg* p) {
        retype(p, "amount", "4");
        holdPayments();
        press(p, "ok");
    });
    dlg->findChild<QAction*>("action_pay_this_sale")->trigger();
    otherRegister.close();
    EXPECT_EQ(told(),
              "The payment was not stored: another register is using the payments file.\n\nNothing was changed.");
    EXPECT_TRUE(PaymentsOfSale(local, 0).empty());

    key(Qt::Key_Home);
    typeInto(kItem, "A");
    choosePayType("Cash");
    typeInto(kPaid, "20");
    holdPayments();
    key(Qt::Key_F9);
    otherRegister.close();
    const std::string kept =
        ".\n\nNothing was stored and no stock was taken. The sale stays on the screen; Finish Sale F9 tries again.";
    EXPECT_EQ(told(),
              "The sale could not be saved: another register is using the payments file and the wait was given up" +
                  kept);
    // Any one file call failing on the way to the disk refuses the whole sale.
    long n = 1;
    for (; n < 400 && storedSales(local) == 1; ++n) {
        boxes.clear();
        FileFaults::arm(n, FileFaults::Action::Fail, true);
        key(Qt::Key_F9);
        FileFaults::disarm();
        if (storedSales(local) == 1) {
            EXPECT_TRUE(told().rfind("The sale could not be saved: ", 0) == 0 && told().find(kept) != std::string::npos &&
                        storedStock(local, "A") == 10 && dlg->state().current.itemNumber[0] == "A")
                << n << ": " << told();
        }
    }
    EXPECT_GT(n, 5);
    EXPECT_EQ(storedStock(local, "A"), 9);
    FileWait::setWaitBeforeAsking(waitBefore);
}
