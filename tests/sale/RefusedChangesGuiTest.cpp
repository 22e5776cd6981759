// Changes the files refuse, through the sale screen: each says which file
// and why, and that nothing changed, and nothing did.
#include "receivables/CPaymentDlg.h"
#include "storage/files/PaymentRecord.h"
#include "storage/io/DataFile.h"
#include "storage/io/FileWait.h"
#include "support/ModalDriver.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"
#include "support/WindowKeys.h"

#include <QAction>

using namespace SaleIds;

namespace {

const char* const kKeptOnScreen =
    ".\n\nNothing was stored and no stock was taken. The sale stays on the screen; Finish Sale F9 tries again.";

struct RefusedChange : SaleScreenFixture {
    int waitBefore = FileWait::waitBeforeAsking();
    DataFile otherRegister;

    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        noCashierChoice();
        addProducts({saleProduct("A", 10)});
        FileWait::setWaitBeforeAsking(0);  // asked at once whether to keep waiting
        boxes.allowUnscriptedOk();
    }
    void TearDown() override
    {
        FileFaults::disarm();
        FileWait::setWaitBeforeAsking(waitBefore);
        SaleScreenFixture::TearDown();
    }
    // Another register holds a file; the cashier's answer to waiting is No.
    void heldElsewhere(const char* kind)
    {
        ASSERT_EQ(otherRegister.tryOpen(local.GetPath(kind), OpenMode::OpenOrCreate), FileCause::None);
        boxes.answer(MessageBox::Answer::No);
    }
};

TEST_F(RefusedChange, ARefusedFinishSaysWhichFileAndWhyAndStoresNothing)
{
    open();
    typeInto(kItem, "A");
    choosePayType("Cash");
    typeInto(kPaid, "20");
    heldElsewhere("Payments");
    key(Qt::Key_F9);
    otherRegister.close();
    ASSERT_FALSE(boxes.texts().empty());
    EXPECT_EQ(boxes.texts().back(), std::string("The sale could not be saved: another register is using the "
                                                "payments file and the wait was given up") +
                                        kKeptOnScreen);
    EXPECT_EQ(storedSales(local), 0);

    // Any one file call failing on the way to the disk refuses the whole sale.
    long n = 1;
    for (; n < 400; ++n) {
        boxes.clear();
        FileFaults::arm(n, FileFaults::Action::Fail, true);
        key(Qt::Key_F9);
        FileFaults::disarm();
        if (storedSales(local) != 0)
            break;
        ASSERT_FALSE(boxes.texts().empty()) << n;
        const std::string& told = boxes.texts().back();
        EXPECT_EQ(told.rfind("The sale could not be saved: ", 0), 0u) << n << ": " << told;
        EXPECT_NE(told.find(kKeptOnScreen), std::string::npos) << n << ": " << told;
        EXPECT_EQ(storedStock(local, "A"), 10) << n;
        EXPECT_EQ(text(kItem), "A") << n;
    }
    EXPECT_GT(n, 5);
    EXPECT_EQ(storedStock(local, "A"), 9);
}

TEST_F(RefusedChange, ARefusedPaymentSaysWhichFileAndWhyAndStoresNothing)
{
    ASSERT_EQ(storeSale(local, SaleSpec().item("A").total(10).payType("Terms").paid(0)), 0);
    open();
    key(Qt::Key_PageUp);
    whenModal<CPaymentDlg>([this](CPaymentDlg* p) {
        auto* type = child<QComboBox>(p, "paytype");
        type->setCurrentIndex(type->findText("Cash"));
        retype(p, "amount", "4");
        heldElsewhere("Payments");
        press(p, "ok");
    });
    dlg->findChild<QAction*>("action_pay_this_sale")->trigger();
    otherRegister.close();
    ASSERT_FALSE(boxes.texts().empty());
    EXPECT_EQ(boxes.texts().back(), "The payment was not stored: another register is using the payments file."
                                    "\n\nNothing was changed.");
    EXPECT_TRUE(PaymentsOfSale(local, 0).empty());
    EXPECT_EQ(storedSale(local, 0).paid, 0);
}

}  // namespace
