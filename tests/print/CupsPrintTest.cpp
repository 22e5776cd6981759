// Printing on the private CUPS server of cups-server.sh: queues "receipt",
// "office" (the default) and "spare", each capturing its jobs as files.
#include "CLocalFile.h"
#include "CReportPrinter.h"
#include "CSalePrinter.h"
#include "InvoiceRecord.h"
#include "ModalDriver.h"
#include "PlatformDoubles.h"
#include "PrintDialogDouble.h"
#include "ReceiptPrinter.h"
#include "SalesFileHeader.h"
#include "TempDir.h"
#include "TextFormat.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

#include <cups/cups.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string kCaptureDir = CUPS_TEST_DIR "/capture";
const std::string kKick("\x1B\x70\x00\x19\xFA", 5);
const char* const kQueues[] = {"receipt", "office", "spare"};

struct Capture {
    std::string queue, bytes;
    bool isPdf() const { return bytes.rfind("%PDF", 0) == 0; }
};

std::string readAll(const std::string& path)
{
    const std::vector<std::uint8_t> b = readBytes(path);
    return {b.begin(), b.end()};
}

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// Jobs the server knows of on each queue, finished or not.
std::vector<int> jobCounts()
{
    std::vector<int> out;
    for (const char* q : kQueues) {
        cups_job_t* jobs = nullptr;
        const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, q, 0, CUPS_WHICHJOBS_ALL);
        cupsFreeJobs(n, jobs);
        out.push_back(std::max(n, 0));
    }
    return out;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

class CupsPrinting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::is_directory(kCaptureDir)) << "the CUPS test server is not running";
        for (const auto& entry : fs::directory_iterator(kCaptureDir))
            fs::remove(entry.path());
        run("cupsaccept receipt office spare 2>&1");
        ASSERT_TRUE(ReceiptPrinter::QueueExists("receipt"));
        jobsBefore_ = jobCounts();
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
        local.paths[CLocalFile::kPrinterDeviceSlot] = "receipt";
        local.drawerMethod = 1;
        header.companyName = "Corner Shop";
        header.companyAddress = "1 Main St\r\nSpringfield\r\n";
        std::tie(sale.itemNumber[0], sale.description[0], sale.qty[0], sale.taxStatus[0], sale.payType) =
            std::tuple{"A1", "Hammer", 1.0f, 1, "Cash"};
        sale.price[0] = sale.extended[0] = sale.taxableSubtotal = sale.total = 12.5f;
        std::tie(sale.cashPaid, sale.change) = std::pair{20.0f, 7.5f};
    }

    // Jobs submitted since the test began on receipt, office and spare.
    std::vector<int> newJobs()
    {
        std::vector<int> now = jobCounts();
        for (std::size_t i = 0; i < now.size(); ++i)
            now[i] -= jobsBefore_[i];
        return now;
    }

    // Waits for `count` captured jobs, driven by the capture folder's events
    // (bounded so a lost job cannot hang the run); returns them in job order.
    std::vector<Capture> captures(std::size_t count)
    {
        const int fd = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(fd, kCaptureDir.c_str(), IN_MOVED_TO);
        auto present = [] {
            std::vector<std::string> files;
            for (const auto& entry : fs::directory_iterator(kCaptureDir))
                if (entry.path().filename().string()[0] != '.')
                    files.push_back(entry.path().filename().string());
            return files;
        };
        char buf[4096];
        for (int events = 0; present().size() < count && events < 600; ++events) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) > 0)
                while (read(fd, buf, sizeof buf) > 0) {
                }
        }
        close(fd);
        std::vector<std::string> files = present();  // named <queue>-<job id>
        auto id = [](const std::string& name) { return name.substr(name.rfind('-')); };
        std::sort(files.begin(), files.end(), [&](const auto& a, const auto& b) { return id(a) < id(b); });
        std::vector<Capture> out;
        for (const std::string& f : files)
            out.push_back({f.substr(0, f.rfind('-')), readAll(kCaptureDir + "/" + f)});
        return out;
    }

    // The text of a captured PDF; its first page rendered to build/artifacts when named.
    std::string pdfText(const Capture& c, const std::string& artifact = {})
    {
        const std::string pdf = dir.file("job.pdf");
        writeBytes(pdf, {c.bytes.begin(), c.bytes.end()});
        if (!artifact.empty()) {
            fs::create_directories(TEST_ARTIFACTS);
            run("pdftoppm -png -r 100 -f 1 -l 1 -singlefile " + pdf + " " TEST_ARTIFACTS "/" + artifact);
        }
        return run("pdftotext -layout " + pdf + " -");
    }
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    InvoiceRecord sale;
    MessageBoxDouble boxes;

private:
    std::vector<int> jobsBefore_;
};

TEST_F(CupsPrinting, EachSaleDocumentIsOneJobAfterItsOwnKick)
{
    struct Case {
        int style, method;
        const char* command;
        std::string kick;
        const char* artifact;
    } const cases[] = {
        {0, 1, "", kKick, "receipt-invoice"},
        {1, 2, "1B700132FA", "\x1B\x70\x01\x32\xFA", "receipt-roll"},
        {1, 0, "1B700019FA", "", ""},
    };
    for (const Case& c : cases) {
        SetUp();
        local.receiptStyle = static_cast<std::uint8_t>(c.style);
        local.drawerMethod = static_cast<std::uint8_t>(c.method);
        local.drawerCommand = c.command;
        local.receiptsToPrint = 2;
        local.packingSlips = 1;
        EXPECT_EQ(CSalePrinter::PrintSaleDocuments(nullptr, local, header, sale), 3);
        const bool kicks = !c.kick.empty();
        EXPECT_EQ(newJobs(), (std::vector<int>{kicks ? 6 : 3, 0, 0})) << c.command;
        const std::vector<Capture> jobs = captures(kicks ? 6 : 3);
        ASSERT_EQ(jobs.size(), kicks ? 6u : 3u);
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            EXPECT_EQ(jobs[i].queue, "receipt");
            if (kicks && i % 2 == 0)
                EXPECT_EQ(jobs[i].bytes, c.kick) << i;
            else
                EXPECT_TRUE(jobs[i].isPdf()) << i;
        }
        const std::string text = pdfText(jobs[kicks ? 1 : 0], c.artifact);
        EXPECT_TRUE(contains(text, "Hammer") && contains(text, "Corner Shop")) << text;
        if (c.style == 0) {
            EXPECT_TRUE(contains(text, "PAYMENT")) << text;
            EXPECT_FALSE(contains(pdfText(jobs.back()), "PAYMENT"));  // the packing slip
        } else {
            EXPECT_TRUE(contains(text, "Cash Paid 20.00, Change 7.50")) << text;
        }
    }
    EXPECT_EQ(ReceiptPrinter::DefaultQueue(), "office");
}

TEST_F(CupsPrinting, OpenDrawerKicksAndPrintsItsSlipOnlyWithAMethod)
{
    ClockDouble clock(2026, 12, 6, 9, 30, 0);
    local.drawerMethod = 0;
    CSalePrinter::OpenDrawer(nullptr, local);
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 0}));

    local.drawerMethod = 1;
    CSalePrinter::OpenDrawer(nullptr, local);
    EXPECT_EQ(newJobs(), (std::vector<int>{2, 0, 0}));
    const std::vector<Capture> jobs = captures(2);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].bytes, kKick);
    EXPECT_TRUE(contains(pdfText(jobs[1]), "Drawer Opened on"));
}

TEST_F(CupsPrinting, MissingOrRefusingQueuePrintsNothingAndSaysSo)
{
    local.receiptsToPrint = 1;
    local.paths[CLocalFile::kPrinterDeviceSlot] = "gone";
    boxes.allowUnscriptedOk();
    EXPECT_EQ(CSalePrinter::PrintSaleDocuments(nullptr, local, header, sale), 0);
    CSalePrinter::OpenDrawer(nullptr, local);
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_TRUE(boxes.saw("The receipt printer \"gone\" is not available."));

    boxes.clear();
    local.paths[CLocalFile::kPrinterDeviceSlot] = "receipt";
    run("cupsreject receipt 2>&1");
    EXPECT_EQ(CSalePrinter::PrintSaleDocuments(nullptr, local, header, sale), 0);
    run("cupsaccept receipt 2>&1");
    EXPECT_EQ(boxes.texts().size(), 1u);
    EXPECT_TRUE(boxes.saw("The printer \"receipt\" refused the job"));
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 0}));
}

TEST_F(CupsPrinting, DialogsOpenOnTheReceiptPrinterAndCancelPrintsNothing)
{
    PrintDialogDouble dialogs;
    dialogs.cancel();
    EXPECT_FALSE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::Receipt));
    dialogs.cancel();
    CSalePrinter::ChooseReceiptPrinter(nullptr, local);
    EXPECT_EQ(local.paths[CLocalFile::kPrinterDeviceSlot], "receipt");
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 0}));

    dialogs.chooseQueue("spare");
    CSalePrinter::ChooseReceiptPrinter(nullptr, local);
    EXPECT_EQ(dialogs.openedOn(), (std::vector<std::string>{"receipt", "receipt", "receipt"}));
    CLocalFile stored(dir.path());
    ASSERT_FALSE(stored.Load());
    EXPECT_EQ(stored.paths[CLocalFile::kPrinterDeviceSlot], "spare");
    EXPECT_EQ(stored.paths[CLocalFile::kPrinterPortSlot], "capture:" + kCaptureDir);
    EXPECT_EQ(ReceiptPrinter::DefaultQueue(), "office");

    // A sales copy on the queue chosen in the dialog, with its kick.
    dialogs.chooseQueue("office");
    EXPECT_TRUE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::Quote));
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 2, 0}));
    const std::vector<Capture> jobs = captures(2);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].bytes, kKick);
    EXPECT_TRUE(contains(pdfText(jobs[1]), "QUOTE"));

    // Into a PDF file: no job and no kick.
    FileDialogDouble files;
    files.setNextFileName(dir.file("slip.pdf"));
    EXPECT_TRUE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::PackingSlip, {},
                                              PrintOutput::Pdf));
    EXPECT_EQ(readAll(dir.file("slip.pdf")).rfind("%PDF", 0), 0u);
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 2, 0}));
}

TEST_F(CupsPrinting, ReportPrintsOnTheChosenPrinterOrIntoAPdf)
{
    std::string body;
    for (int i = 1; i <= 100; ++i)
        body += strprintf("Item %d\t%d.00\n", i, i);
    auto print = [&body](CReportPrinter::Output output) {
        CReportPrinter::PrintReport(nullptr, "Sales\nItem\tAmount\n", body, {300, 120}, {0, 2}, output);
    };
    PrintDialogDouble dialogs;
    dialogs.cancel();
    print(CReportPrinter::Output::Printer);
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 0}));

    dialogs.chooseQueue("spare");
    print(CReportPrinter::Output::Printer);
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 1}));
    const std::vector<Capture> jobs = captures(1);
    ASSERT_EQ(jobs.size(), 1u);
    ASSERT_TRUE(jobs[0].isPdf());
    const std::string text = pdfText(jobs[0], "report-page");
    const auto pages = std::count(text.begin(), text.end(), '\f');  // pdftotext ends every page with a form feed
    EXPECT_GE(pages, 2);
    EXPECT_TRUE(contains(text, "Page 1") && contains(text, "Item 1 ")) << text;

    int previewPages = 0;
    whenModal<QPrintPreviewDialog>([&previewPages](QPrintPreviewDialog* preview) {
        if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
            previewPages = pages->pageCount();
        preview->reject();
    });
    print(CReportPrinter::Output::Preview);
    EXPECT_EQ(previewPages, pages);

    FileDialogDouble files;
    files.setNextFileName(dir.file("report.pdf"));
    print(CReportPrinter::Output::Pdf);
    EXPECT_EQ(readAll(dir.file("report.pdf")).rfind("%PDF", 0), 0u);
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 1}));
}

}  // namespace
