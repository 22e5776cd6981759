// The sale screen printing on the private CUPS server: printer faults after
// F9 and on "Open Drawer", and the reprints of a stored sale.
#include "CupsQueues.h"
#include "PrintDialogDouble.h"
#include "platform/ReceiptPrinter.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"

#include <QElapsedTimer>

#include <functional>

using namespace cupstest;

namespace {

using namespace SaleIds;

struct CupsSaleScreen : SaleScreenFixture {
    GenerousAnswerBound bound;
    JobWatch jobs;

    void SetUp() override
    {
        SaleScreenFixture::SetUp();
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
    }
    // Rings up one A paid in cash and finishes the sale; how long the window was away.
    qint64 sell()
    {
        typeInto(kItem, "A");
        choosePayType("Cash");
        typeInto(kPaid, "20");
        QElapsedTimer took;
        took.start();
        key(Qt::Key_F9);
        return took.elapsed();
    }
};

TEST_F(CupsSaleScreen, QueueNotReadyGetsNoJobAndOneMessageWhileTheSaleIsStored)
{
    const QString capture = QString::fromStdString("capture:" + kCaptureDir);
    struct Fault {
        const char* queue;
        std::function<void()> make, mend;
        const char* reason;
    } const faults[] = {
        {"receipt", [] { run("cupsdisable", {"receipt"}); }, [] { run("cupsenable", {"receipt"}); },
         "the printer \"receipt\" is paused (stopped) in the print service."},
        {"receipt", [] { run("cupsreject", {"receipt"}); }, [] { run("cupsaccept", {"receipt"}); },
         "the printer \"receipt\" is not accepting jobs."},
        {"doomed",
         [capture] {
             run("lpadmin", {"-p", "doomed", "-E", "-v", capture, "-m", "raw"});
             run("lpadmin", {"-x", "doomed"});
         },
         [] {}, "the printer \"doomed\" is not available."},
        {"receipt", [] { ::kill(cupsdPid(), SIGSTOP); }, [] { ::kill(cupsdPid(), SIGCONT); },
         "the print service (CUPS) did not answer within 10 seconds."},
    };
    boxes.allowUnscriptedOk();
    int stored = storedSales(local);
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.reason);
        local.paths[CLocalFile::kPrinterDeviceSlot] = f.queue;
        jobs.forget();
        boxes.clear();
        f.make();
        // A hang waits out the print service's 60-second timeout, or more.
        EXPECT_LT(sell(), 30000);
        QElapsedTimer drawer;
        drawer.start();
        menu("action_open_drawer");
        EXPECT_LT(drawer.elapsed(), 30000);
        f.mend();
        EXPECT_EQ(storedSales(local), ++stored);
        ASSERT_EQ(boxes.texts().size(), 2u);
        EXPECT_EQ(boxes.texts()[0], std::string("The sale is stored. The drawer did not open and the receipt did not "
                                                "print: ") +
                                        f.reason +
                                        "\n\nTo print it again when the printer is ready, show the sale with Page Up "
                                        "and choose File, Print Sales Copy...; File, Open Drawer opens the drawer.");
        EXPECT_EQ(boxes.texts()[1], std::string("The drawer did not open: ") + f.reason);
        jobs.expectJobs({0, 0, 0});
    }
}

TEST_F(CupsSaleScreen, SalesCopyAndPackingListReprintTheShownSaleWithoutAKick)
{
    EXPECT_FALSE(dlg->findChild<QAction*>("action_print_sales_copy")->isEnabled());
    sell();
    const std::vector<std::string> sold = jobs.expectJobs({2, 0, 0});
    EXPECT_EQ(sold[0], kKick);
    EXPECT_TRUE(decodeEscPos(sold[1]).valid);

    key(Qt::Key_PageUp);
    PrintDialogDouble dialogs;
    dialogs.chooseQueue("receipt");
    jobs.forget();
    menu("action_print_sales_copy");
    const std::vector<std::string> copy = jobs.expectJobs({1, 0, 0});
    EXPECT_EQ(copy[0], sold[1]);  // the stored sale, as it printed

    dialogs.chooseQueue("office");
    jobs.forget();
    menu("action_print_packing_list");
    EXPECT_TRUE(isPdf(jobs.expectJobs({0, 1, 0})[0]));
    EXPECT_EQ(dialogs.openedOn(), (std::vector<std::string>{"receipt", "receipt"}));
    EXPECT_TRUE(boxes.texts().empty());
}

}  // namespace
