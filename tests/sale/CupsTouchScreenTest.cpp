// The touch screen's reprint on the private CUPS server.
#include "print/CupsQueues.h"
#include "print/PrintDialogDouble.h"
#include "sale/CTouchSaleDlg.h"
#include "support/ModalDriver.h"
#include "support/Reachable.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"

using namespace cupstest;

namespace {

using CupsTouchScreen = SaleScreenFixture;

// "Print Copy" reprints the sale shown on the queue chosen in the print
// dialog; the drawer, which a finished sale opens, stays shut.
TEST_F(CupsTouchScreen, PrintCopyReprintsTheShownSaleWithoutAKick)
{
    ASSERT_TRUE(fs::is_directory(kCaptureDir)) << "the CUPS test server is not running";
    GenerousAnswerBound bound;
    ASSERT_FALSE(local.Load());
    local.receiptStyle = 1;
    local.drawerMethod = 1;
    ASSERT_TRUE(local.Save());
    noCashierChoice();
    ASSERT_EQ(storeSale(local, SaleSpec().item("A").total(10)), 0);
    open();
    JobWatch jobs;
    jobs.forget();
    PrintDialogDouble dialogs;
    dialogs.chooseQueue("receipt");
    whenModal<CTouchSaleDlg>([](CTouchSaleDlg* touch) {
        for (const char* command : {"Prev Sale", "Print Copy", "Close"})
            clickDrawn(touch->button(command));
    });
    clickDrawn(dlg->control(SaleIds::kTouch));
    EXPECT_TRUE(decodeEscPos(jobs.expectJobs({1, 0, 0})[0]).valid);
}

}  // namespace
