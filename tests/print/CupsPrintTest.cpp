// Sale documents, the drawer kick and reports on a private CUPS server (the
// ctest fixture started by cups-server.sh): queues "receipt", "office" (the
// machine's default) and "spare", each capturing its jobs as files.
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
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

const std::string kCaptureDir = CUPS_TEST_DIR "/capture";
const std::string kKick("\x1B\x70\x00\x19\xFA", 5);

struct Capture {
    std::string queue;
    std::string bytes;
    bool isPdf() const { return bytes.rfind("%PDF", 0) == 0; }
};

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// Every job the server knows of on a queue, finished or not.
int jobCount(const char* queue)
{
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(n, jobs);
    return std::max(n, 0);
}

class CupsPrinting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::is_directory(kCaptureDir)) << "the CUPS test server is not running";
        for (const auto& entry : fs::directory_iterator(kCaptureDir))
            fs::remove(entry.path());
        run("cupsaccept receipt office spare 2>&1");
        ASSERT_TRUE(ReceiptPrinter::QueueExists("receipt"));
        jobsBefore_.clear();
        for (const char* q : {"receipt", "office", "spare"})
            jobsBefore_.push_back(jobCount(q));
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
        local.paths[CLocalFile::kPrinterDeviceSlot] = "receipt";
        local.drawerMethod = 1;
        header.companyName = "Corner Shop";
        header.companyAddress = "1 Main St\r\nSpringfield\r\n";
        sale.itemNumber[0] = "A1";
        sale.description[0] = "Hammer";
        sale.qty[0] = 1;
        sale.price[0] = sale.extended[0] = 12.5f;
        sale.taxStatus[0] = 1;
        sale.taxableSubtotal = 12.5f;
        sale.total = 12.5f;
        sale.payType = "Cash";
        sale.cashPaid = 20;
        sale.change = 7.5f;
    }

    // Jobs submitted since the test began, per queue (receipt, office, spare).
    std::vector<int> newJobs()
    {
        std::vector<int> out;
        int i = 0;
        for (const char* q : {"receipt", "office", "spare"})
            out.push_back(jobCount(q) - jobsBefore_[i++]);
        return out;
    }

    // Waits for `count` captured jobs, driven by the capture folder's events;
    // returns them in job order.
    std::vector<Capture> captures(std::size_t count)
    {
        const int fd = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(fd, kCaptureDir.c_str(), IN_MOVED_TO);
        auto present = [] {
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(kCaptureDir))
                if (entry.path().filename().string()[0] != '.')
                    files.push_back(entry.path());
            return files;
        };
        for (int events = 0; present().size() < count && events < 600; ++events) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) > 0) {
                char buf[4096];
                while (read(fd, buf, sizeof buf) > 0) {
                }
            }
        }
        close(fd);
        std::vector<fs::path> files = present();
        // Named <queue>-<job id>: order by job id.
        std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
            const std::string x = a.filename().string(), y = b.filename().string();
            return x.substr(x.rfind('-')) < y.substr(y.rfind('-'));
        });
        std::vector<Capture> out;
        for (const fs::path& f : files) {
            const std::string name = f.filename().string();
            out.push_back({name.substr(0, name.rfind('-')), readAll(f)});
        }
        return out;
    }

    // Saves a captured PDF and renders its first page to build/artifacts.
    std::string pdfText(const Capture& c, const std::string& artifact = {})
    {
        const std::string pdf = dir.file("job.pdf");
        std::ofstream(pdf, std::ios::binary) << c.bytes;
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
        {1, 0, "1B700019FA", "", nullptr},
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
            const bool isKick = kicks && i % 2 == 0;
            if (isKick)
                EXPECT_EQ(jobs[i].bytes, c.kick) << i;
            else
                EXPECT_TRUE(jobs[i].isPdf()) << i;
        }
        const std::string text = pdfText(jobs[kicks ? 1 : 0], c.artifact ? c.artifact : "");
        EXPECT_NE(text.find("Hammer"), std::string::npos) << text;
        EXPECT_NE(text.find("Corner Shop"), std::string::npos) << text;
        if (c.style == 0) {
            EXPECT_NE(text.find("PAYMENT"), std::string::npos) << text;
            EXPECT_EQ(pdfText(jobs.back()).find("PAYMENT"), std::string::npos);  // the packing slip
        } else {
            EXPECT_NE(text.find("Cash Paid 20.00, Change 7.50"), std::string::npos) << text;
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
    EXPECT_NE(pdfText(jobs[1]).find("Drawer Opened on"), std::string::npos);
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
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 0}));

    boxes.clear();
    local.paths[CLocalFile::kPrinterDeviceSlot] = "receipt";
    run("cupsreject receipt 2>&1");
    EXPECT_EQ(CSalePrinter::PrintSaleDocuments(nullptr, local, header, sale), 0);
    run("cupsaccept receipt 2>&1");
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_TRUE(boxes.saw("The printer \"receipt\" refused the job")) << boxes.texts()[0];
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
    EXPECT_NE(pdfText(jobs[1]).find("QUOTE"), std::string::npos);

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
    const std::vector<std::int16_t> widths{300, 120};
    const std::vector<std::uint16_t> formats{0, 2};
    const std::string heading = "Sales\nItem\tAmount\n";
    PrintDialogDouble dialogs;
    dialogs.cancel();
    CReportPrinter::PrintReport(nullptr, heading, body, widths, formats);
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 0}));

    dialogs.chooseQueue("spare");
    CReportPrinter::PrintReport(nullptr, heading, body, widths, formats);
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 1}));
    const std::vector<Capture> jobs = captures(1);
    ASSERT_EQ(jobs.size(), 1u);
    ASSERT_TRUE(jobs[0].isPdf());
    const std::string text = pdfText(jobs[0], "report-page");
    const auto pages = std::count(text.begin(), text.end(), '\f');  // pdftotext ends every page with a form feed
    EXPECT_GE(pages, 2);
    EXPECT_NE(text.find("Page 1"), std::string::npos);
    EXPECT_NE(text.find("Item 1 "), std::string::npos);

    int previewPages = 0;
    whenModal<QPrintPreviewDialog>([&previewPages](QPrintPreviewDialog* preview) {
        if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
            previewPages = pages->pageCount();
        preview->reject();
    });
    CReportPrinter::PrintReport(nullptr, heading, body, widths, formats, CReportPrinter::Output::Preview);
    EXPECT_EQ(previewPages, pages);

    FileDialogDouble files;
    files.setNextFileName(dir.file("report.pdf"));
    CReportPrinter::PrintReport(nullptr, heading, body, widths, formats, CReportPrinter::Output::Pdf);
    EXPECT_EQ(readAll(dir.file("report.pdf")).rfind("%PDF", 0), 0u);
    EXPECT_EQ(newJobs(), (std::vector<int>{0, 0, 1}));
}

}  // namespace
