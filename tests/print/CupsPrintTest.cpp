// Printing on the private CUPS server of cups-server.sh: queues "receipt",
// "office" (the default) and "spare", each capturing its jobs as files.
#include "PrintDialogDouble.h"
#include "PrintedDocuments.h"
#include "platform/ReceiptPrinter.h"
#include "print/CReportPrinter.h"
#include "print/CSalePrinter.h"
#include "storage/files/CLocalFile.h"
#include "support/FolderEvents.h"
#include "support/ModalDriver.h"
#include "support/PlatformDoubles.h"
#include "support/TempDir.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>

#include <cups/cups.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <numeric>

namespace fs = std::filesystem;

namespace {

const std::string kCaptureDir = CUPS_TEST_DIR "/capture";
const std::string kKick("\x1B\x70\x00\x19\xFA", 5);
const char* const kQueues[] = {"receipt", "office", "spare"};

bool isPdf(const std::string& bytes) { return bytes.rfind("%PDF", 0) == 0; }

std::string readAll(const std::string& path)
{
    const std::vector<std::uint8_t> b = readBytes(path);
    return {b.begin(), b.end()};
}

// What a program writes on its standard output.
std::string run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(-1);
    return p.readAllStandardOutput().toStdString();
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

// The captured jobs by job id; the backend names them <queue>-<job id>.
std::map<int, std::string> capturedFiles()
{
    std::map<int, std::string> byJob;
    for (const auto& entry : fs::directory_iterator(kCaptureDir)) {
        const std::string name = entry.path().filename().string();
        if (name[0] != '.')
            byJob[std::stoi(name.substr(name.rfind('-') + 1))] = name;
    }
    return byJob;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

class CupsPrinting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::is_directory(kCaptureDir)) << "the CUPS test server is not running";
        run("cupsaccept", {"receipt", "office", "spare"});
        ASSERT_TRUE(ReceiptPrinter::QueueExists("receipt"));
        forgetJobs();
        ASSERT_FALSE(local.Load());
        SalesFileHeader stored;
        ASSERT_EQ(OpenOrCreateHeader(local, stored), 0);  // the record loads again only beside its header
        local.paths[CLocalFile::kPrinterDeviceSlot] = "receipt";
        local.drawerMethod = 1;
    }
    void forgetJobs()
    {
        for (const auto& entry : fs::directory_iterator(kCaptureDir))
            fs::remove(entry.path());
        jobsBefore_ = jobCounts();
    }

    // Checks the jobs submitted since forgetJobs() on receipt, office and
    // spare, and returns the bytes the backend captured of each, in job order.
    std::vector<std::string> expectJobs(const std::vector<int>& perQueue)
    {
        std::vector<int> submitted = jobCounts();
        for (std::size_t i = 0; i < submitted.size(); ++i)
            submitted[i] -= jobsBefore_[i];
        EXPECT_EQ(submitted, perQueue);
        const auto count = static_cast<std::size_t>(std::accumulate(perQueue.begin(), perQueue.end(), 0));
        waitInFolder(kCaptureDir, [count] { return capturedFiles().size() >= count; }, 60000);
        std::vector<std::string> out;
        for (const auto& [id, name] : capturedFiles())
            out.push_back(readAll(kCaptureDir + "/" + name));
        EXPECT_EQ(out.size(), count) << "jobs captured";
        out.resize(std::max(out.size(), count));
        return out;
    }

    // The text of a captured PDF; its first page rendered to build/artifacts when named.
    std::string pdfText(const std::string& bytes, const QString& artifact = {})
    {
        writeBytes(dir.file("job.pdf"), {bytes.begin(), bytes.end()});
        const QString pdf = QString::fromStdString(dir.file("job.pdf"));
        if (!artifact.isEmpty()) {
            fs::create_directories(TEST_ARTIFACTS);
            run("pdftoppm", {"-png", "-r", "100", "-singlefile", pdf, TEST_ARTIFACTS "/" + artifact});
        }
        return run("pdftotext", {"-layout", pdf, "-"});
    }
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header = printedHeader();
    InvoiceRecord sale = printedSale("Cash");
    MessageBoxDouble boxes;

private:
    std::vector<int> jobsBefore_;
};

TEST_F(CupsPrinting, EachSaleDocumentAndTheDrawerSlipIsOneJobAfterItsOwnKick)
{
    struct Case {
        int style, method;
        const char* command;
        std::string kick;
        const char* shows;
        const char* artifact;
    } const cases[] = {
        {0, 1, "", kKick, "PAYMENT", "receipt-invoice"},
        {1, 2, "1B700132FA", "\x1B\x70\x01\x32\xFA", "Cash Paid 10.00, Change 4.60", "receipt-roll"},
        {1, 0, "1B700019FA", "", "Cash Paid 10.00, Change 4.60", ""},
    };
    for (const Case& c : cases) {
        forgetJobs();
        local.receiptStyle = static_cast<std::uint8_t>(c.style);
        local.drawerMethod = static_cast<std::uint8_t>(c.method);
        local.drawerCommand = c.command;
        local.receiptsToPrint = 2;
        local.packingSlips = 1;
        EXPECT_EQ(CSalePrinter::PrintSaleDocuments(nullptr, local, header, sale), 3);
        const bool kicks = !c.kick.empty();
        const std::vector<std::string> jobs = expectJobs({kicks ? 6 : 3, 0, 0});
        std::string kinds;  // K a kick, P a document
        for (const std::string& job : jobs)
            kinds += job == c.kick ? 'K' : isPdf(job) ? 'P' : '?';
        EXPECT_EQ(kinds, kicks ? "KPKPKP" : "PPP") << c.command;
        const std::string text = pdfText(jobs[kicks ? 1 : 0], c.artifact);
        EXPECT_TRUE(contains(text, "Taxed thing") && contains(text, "Corner Shop") && contains(text, c.shows)) << text;
        if (c.style == 0) {
            EXPECT_FALSE(contains(pdfText(jobs.back()), "PAYMENT"));  // the packing slip
        }

        forgetJobs();
        CSalePrinter::OpenDrawer(nullptr, local);
        const std::vector<std::string> drawer = expectJobs({kicks ? 2 : 0, 0, 0});
        if (kicks) {
            EXPECT_TRUE(drawer[0] == c.kick && contains(pdfText(drawer[1]), "Drawer Opened on")) << c.command;
        }
    }
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
    run("cupsreject", {"receipt"});
    EXPECT_EQ(CSalePrinter::PrintSaleDocuments(nullptr, local, header, sale), 0);
    run("cupsaccept", {"receipt"});
    EXPECT_EQ(boxes.texts().size(), 1u);
    EXPECT_TRUE(boxes.saw("The printer \"receipt\" refused the job"));
    expectJobs({0, 0, 0});
}

TEST_F(CupsPrinting, DialogsOpenOnTheReceiptPrinterAndCancelPrintsNothing)
{
    PrintDialogDouble dialogs;
    dialogs.cancel();
    EXPECT_FALSE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::Receipt));
    dialogs.cancel();
    CSalePrinter::ChooseReceiptPrinter(nullptr, local);
    EXPECT_EQ(local.paths[CLocalFile::kPrinterDeviceSlot], "receipt");
    expectJobs({0, 0, 0});

    dialogs.chooseQueue("spare");
    CSalePrinter::ChooseReceiptPrinter(nullptr, local);
    EXPECT_EQ(dialogs.openedOn(), (std::vector<std::string>{"receipt", "receipt", "receipt"}));
    CLocalFile stored(dir.path());
    ASSERT_FALSE(stored.Load());
    EXPECT_EQ(stored.paths[CLocalFile::kPrinterDeviceSlot], "spare");
    EXPECT_EQ(stored.paths[CLocalFile::kPrinterPortSlot], "capture:" + kCaptureDir);
    EXPECT_EQ(ReceiptPrinter::DefaultQueue(), "office");  // the system's default stays

    // A sales copy on the queue chosen in the dialog, with its kick.
    dialogs.chooseQueue("office");
    EXPECT_TRUE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::Quote));
    const std::vector<std::string> jobs = expectJobs({0, 2, 0});
    EXPECT_EQ(jobs[0], kKick);
    EXPECT_TRUE(contains(pdfText(jobs[1]), "QUOTE"));

    // Into a PDF file: no job and no kick.
    FileDialogDouble files;
    files.setNextFileName(dir.file("slip.pdf"));
    EXPECT_TRUE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::PackingSlip, {},
                                              PrintOutput::Pdf));
    EXPECT_TRUE(isPdf(readAll(dir.file("slip.pdf"))));
    expectJobs({0, 2, 0});
}

TEST_F(CupsPrinting, ReportPrintsOnTheChosenPrinterOrIntoAPdf)
{
    auto print = [](CReportPrinter::Output output) {
        CReportPrinter::PrintReport(nullptr, "Sales\nItem\tAmount\n", numberedLines(100), {300, 120}, {0, 2}, output);
    };
    PrintDialogDouble dialogs;
    dialogs.cancel();
    print(CReportPrinter::Output::Printer);
    expectJobs({0, 0, 0});

    dialogs.chooseQueue("spare");
    print(CReportPrinter::Output::Printer);
    const std::string job = expectJobs({0, 0, 1})[0];
    ASSERT_TRUE(isPdf(job));
    const std::string text = pdfText(job, "report-page");
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
    EXPECT_TRUE(isPdf(readAll(dir.file("report.pdf"))));
    expectJobs({0, 0, 1});
}

}  // namespace
