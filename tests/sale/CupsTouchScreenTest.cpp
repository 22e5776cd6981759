// The touch screen's reprint on the private CUPS server.
#include "print/CupsQueues.h"
#include "print/PrintDialogDouble.h"
#include "sale/CTouchSaleDlg.h"
#include "support/ModalDriver.h"
#include "support/Reachable.h"
#include "support/SaleScreenFixture.h"

using namespace cupstest;

namespace {

struct CupsTouchScreen : SaleScreenFixture {
    GenerousAnswerBound bound;
    JobWatch jobs;
};

// "Print Copy" reprints the sale shown as it printed at the finish, on the
// queue chosen in the print dialog, and leaves the drawer shut.
TEST_F(CupsTouchScreen, PrintCopyReprintsTheShownSaleWithoutAKick)
{
    ASSERT_TRUE(fs::is_directory(kCaptureDir)) << "the CUPS test server is not running";
    run("cupsaccept", {"receipt"});
    run("cupsenable", {"receipt"});
    ASSERT_FALSE(local.Load());
    noCashierChoice();
    local.paths[CLocalFile::kPrinterDeviceSlot] = "receipt";
    local.receiptStyle = 1;
    local.receiptsToPrint = 1;
    local.drawerMethod = 1;
    ASSERT_TRUE(local.Save());
    addProducts({saleProduct("A", 10)});
    open();
    jobs.forget();
    typeInto(SaleIds::kItem, "A");
    choosePayType("Cash");
    typeInto(SaleIds::kPaid, "20");
    key(Qt::Key_F9);
    const std::vector<std::string> sold = jobs.expectJobs({2, 0, 0});
    EXPECT_EQ(sold[0], kKick);

    jobs.forget();
    PrintDialogDouble dialogs;
    dialogs.chooseQueue("receipt");
    whenModal<CTouchSaleDlg>([](CTouchSaleDlg* touch) {
        for (const char* command : {"Prev Sale", "Print Copy", "Close"})
            clickDrawn(touch->button(command));
    });
    clickDrawn(dlg->control(SaleIds::kTouch));
    const std::vector<std::string> copy = jobs.expectJobs({1, 0, 0});
    EXPECT_EQ(copy[0], sold[1]);
}

}  // namespace
