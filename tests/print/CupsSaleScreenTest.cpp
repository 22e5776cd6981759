// The sale screen printing on the private CUPS server: printer faults after
// F9 and on "Open Drawer", and the reprints of a stored sale.
#include "CupsQueues.h"
#include "PrintDialogDouble.h"
#include "platform/ReceiptPrinter.h"
#include "support/ModalDriver.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"

#include <QPushButton>

#include <future>

using namespace cupstest;

namespace {

using namespace SaleIds;

struct CupsSaleScreen : SaleScreenFixture {
    GenerousAnswerBound bound;
    JobWatch jobs;

    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        ASSERT_TRUE(queuesReady()) << "the CUPS test server is not running";
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
    // The message of a sale stored without its kick and receipt.
    static std::string notPrinted(const std::string& reason)
    {
        return "The sale is stored. The drawer did not open and the receipt did not print: " + reason +
               "\n\nTo print it again when the printer is ready, show the sale with Page Up and choose File, Print "
               "Sales Copy...; File, Open Drawer opens the drawer.";
    }
    // Rings up one A paid in cash and finishes the sale; how long the window was away.
    qint64 sell()
    {
        typeInto(kItem, "A");
        choosePayType("Cash");
        typeInto(kPaid, "20");
        return msAway([this] { key(Qt::Key_F9); });
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
        EXPECT_LT(msAway([this] { menu("action_open_drawer"); }), 30000);
        f.mend();
        EXPECT_EQ(storedSales(local), ++stored);
        ASSERT_EQ(boxes.texts().size(), 2u);
        EXPECT_EQ(boxes.texts()[0], notPrinted(f.reason));
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

TEST_F(CupsSaleScreen, SilentServerAroundThePrintDialogLeavesTheWindowAndPrintsNothingLater)
{
    local.receiptStyle = 0;  // the copy is a full-page invoice
    local.receiptsToPrint = 0;
    ASSERT_TRUE(local.Save());
    open();
    sell();
    key(Qt::Key_PageUp);
    // The register's own bound: a stopped server gives the same verdict however slow the machine.
    ReceiptPrinter::setAnswerBound(2000);
    boxes.allowUnscriptedOk();
    for (const bool whileDialogOpen : {false, true}) {
        SCOPED_TRACE(whileDialogOpen ? "stopped while the dialog is open" : "stopped before the command");
        jobs.forget();
        boxes.clear();
        if (whileDialogOpen) {
            whenModal<QDialog>([](QDialog* dialog) {
                EXPECT_EQ(dialog->objectName(), "print_dialog");
                ::kill(cupsdPid(), SIGSTOP);
                QTest::mouseClick(dialog->findChild<QPushButton*>("print_ok"), Qt::LeftButton);
            });
        } else {
            ::kill(cupsdPid(), SIGSTOP);
        }
        const qint64 away = msAway([this] { menu("action_print_sales_copy"); });
        ::kill(cupsdPid(), SIGCONT);
        EXPECT_LT(away, 30000);  // a hang waits out the print service's 60-second timeout
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{
                                     "Nothing was printed: the print service (CUPS) did not answer within 2 seconds."});
        jobs.expectJobs({0, 0, 0});
    }
}

TEST_F(CupsSaleScreen, AKickTheServerTakesAfterTheBoundIsCancelled)
{
    // The sending thread is held once the server has created the kick's job,
    // until the window has given up waiting.
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<int> held{0};
    ReceiptPrinter::setJobCreatedHook([&held, released](int job) {
        if (held.exchange(job) == 0)
            released.wait();
    });
    boxes.allowUnscriptedOk();
    sell();
    release.set_value();
    ReceiptPrinter::setJobCreatedHook({});
    ASSERT_GT(held.load(), 0);
    EXPECT_EQ(jobStateOnceItIs("receipt", held, IPP_JSTATE_CANCELED), IPP_JSTATE_CANCELED);
    EXPECT_EQ(jobs.submitted(), (std::vector<int>{1, 0, 0}));  // the kick's job alone, the receipt never sent
    EXPECT_TRUE(capturedFiles().empty());
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{notPrinted("the print service (CUPS) did not answer within 10 seconds.")});
}

}  // namespace
