// Printing on the private CUPS server of cups-server.sh: queues "receipt",
// "office" (the default) and "spare", each capturing its jobs as files.
#include "CupsQueues.h"
#include "PrintDialogDouble.h"
#include "PrintedDocuments.h"
#include "print/CReportPrinter.h"
#include "print/CSalePrinter.h"
#include "storage/files/CLocalFile.h"
#include "support/ModalDriver.h"
#include "support/PlatformDoubles.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace cupstest;

namespace {

class CupsPrinting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(queuesReady()) << "the CUPS test server is not running";
        ASSERT_TRUE(ReceiptPrinter::Look("receipt").ready());
        jobs.forget();
        ASSERT_FALSE(local.Load());
        SalesFileHeader stored;
        ASSERT_EQ(OpenOrCreateHeader(local, stored), 0);  // the record loads again only beside its header
        local.paths[CLocalFile::kPrinterDeviceSlot] = "receipt";
        local.drawerMethod = 1;
    }
    // What pdftotext (the text) or pdfinfo says of a captured PDF.
    std::string pdf(const std::string& bytes, bool info = false)
    {
        const QString file = QString::fromStdString(dir.file("job.pdf"));
        writeBytes(dir.file("job.pdf"), {bytes.begin(), bytes.end()});
        return info ? run("pdfinfo", {file}) : run("pdftotext", {"-layout", file, "-"});
    }
    GenerousAnswerBound bound;
    JobWatch jobs;
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header = printedHeader();
    InvoiceRecord sale = printedSale("Cash");
    MessageBoxDouble boxes;
};

TEST_F(CupsPrinting, EachSaleDocumentAndTheDrawerSlipIsOneJobAfterItsOwnKick)
{
    // E an ESC/POS raster receipt, P a PDF, K the kick.
    struct Case {
        const char* queue;
        int style, method;
        const char* command;
        int rollMm;
        std::string kick;
        const char* kinds;
        int rasterBytes;     // dots across / 8 on the raw queue
        double pageWidthPt;  // on the driver queue
    } const cases[] = {
        {"office", 0, 1, "", 80, kKick, "KPKPKP", 0, 0},
        {"receipt", 1, 2, "1B700132FA", 58, "\x1B\x70\x01\x32\xFA", "KEKEKE", 48, 0},
        {"receipt", 1, 0, "1B700019FA", 80, "", "EEE", 72, 0},
        {"office", 1, 0, "", 80, "", "PPP", 0, 80 / 25.4 * 72},
    };
    header.logoPath = dir.file("gone.bmp");  // said once for every document of every case
    boxes.allowUnscriptedOk();
    local.receiptsToPrint = 2;
    local.packingSlips = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " " + c.kinds);
        jobs.forget();
        const bool raw = c.queue == std::string("receipt");
        std::tie(local.paths[CLocalFile::kPrinterDeviceSlot], local.drawerCommand) = std::pair{c.queue, c.command};
        std::tie(local.receiptStyle, local.drawerMethod, local.rollWidthMm) = std::tuple{c.style, c.method, c.rollMm};
        EXPECT_EQ(CSalePrinter::PrintSaleDocuments(nullptr, local, header, sale), 3);
        const int count = static_cast<int>(std::string(c.kinds).size());
        const std::vector<std::string> printed = jobs.expectJobs({raw ? count : 0, raw ? 0 : count, 0});
        std::string kinds;
        for (const std::string& job : printed) {
            const EscPosReceipt receipt = decodeEscPos(job);
            kinds += job == c.kick ? 'K' : isPdf(job) ? 'P' : receipt.valid ? 'E' : '?';
            if (receipt.valid) {
                EXPECT_EQ(receipt.widthBytes, c.rasterBytes);
                EXPECT_GT(receipt.blackDots, 1000);  // the receipt's text, not an empty strip
            }
        }
        EXPECT_EQ(kinds, c.kinds);
        const std::string& first = printed[c.kick.empty() ? 0 : 1];
        if (isPdf(first)) {
            const std::string text = pdf(first);
            EXPECT_TRUE(contains(text, "Taxed thing") && contains(text, "Corner Shop")) << text;
            EXPECT_TRUE(contains(text, c.style ? "Cash Paid 10.00, Change 4.60" : "PAYMENT")) << text;
            if (c.pageWidthPt > 0) {
                const std::string info = pdf(first, true);
                EXPECT_NEAR(std::stod(info.substr(info.find("Page size:") + 10)), c.pageWidthPt, 1) << info;
            }
        }
        if (c.style == 0) {
            EXPECT_FALSE(contains(pdf(printed.back()), "PAYMENT"));  // the packing slip
        }

        jobs.forget();
        CSalePrinter::OpenDrawer(nullptr, local);
        const int drawerJobs = c.kick.empty() ? 0 : 2;
        const std::vector<std::string> drawer = jobs.expectJobs({raw ? drawerJobs : 0, raw ? 0 : drawerJobs, 0});
        if (drawerJobs) {
            EXPECT_EQ(drawer[0], c.kick);
            EXPECT_TRUE(raw ? decodeEscPos(drawer[1]).valid : contains(pdf(drawer[1]), "Drawer Opened on"));
        }
    }
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Error in Print Invoice: " + header.logoPath});
}

TEST_F(CupsPrinting, FullPagesOnARawQueueAreRefusedWithoutAJob)
{
    boxes.allowUnscriptedOk();
    local.receiptsToPrint = 1;
    local.receiptStyle = 0;
    EXPECT_EQ(CSalePrinter::PrintSaleDocuments(nullptr, local, header, sale), 0);
    PrintDialogDouble dialogs;
    dialogs.chooseQueue("spare");
    CReportPrinter::PrintReport(nullptr, "Sales\n", numberedLines(3), {300}, {0});
    jobs.expectJobs({0, 0, 0});
    ASSERT_EQ(boxes.texts().size(), 2u);
    EXPECT_TRUE(contains(boxes.texts()[0], "The sale is stored. The drawer did not open and the receipt did not "
                                           "print: the printer \"receipt\" is a raw queue"));
    EXPECT_TRUE(contains(boxes.texts()[1], "Nothing was printed: the printer \"spare\" is a raw queue"));
}

TEST_F(CupsPrinting, DialogsOpenOnTheReceiptPrinterAndCancelPrintsNothing)
{
    PrintDialogDouble dialogs;
    dialogs.cancel();
    EXPECT_FALSE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::Receipt));
    dialogs.cancel();
    CSalePrinter::ChooseReceiptPrinter(nullptr, local);
    EXPECT_EQ(local.paths[CLocalFile::kPrinterDeviceSlot], "receipt");
    jobs.expectJobs({0, 0, 0});

    dialogs.chooseQueue("spare");
    CSalePrinter::ChooseReceiptPrinter(nullptr, local);
    EXPECT_EQ(dialogs.openedOn(), (std::vector<std::string>{"receipt", "receipt", "receipt"}));
    CLocalFile stored(dir.path());
    ASSERT_FALSE(stored.Load());
    EXPECT_EQ(stored.paths[CLocalFile::kPrinterDeviceSlot], "spare");
    EXPECT_EQ(stored.paths[CLocalFile::kPrinterPortSlot], "capture:" + kCaptureDir);
    EXPECT_EQ(ReceiptPrinter::Look({}).queue, "office");  // the system's default stays

    // A sales copy on the queue chosen in the dialog, with its kick.
    dialogs.chooseQueue("office");
    EXPECT_TRUE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::Quote));
    const std::vector<std::string> sent = jobs.expectJobs({0, 2, 0});
    EXPECT_EQ(sent[0], kKick);
    EXPECT_TRUE(contains(pdf(sent[1]), "QUOTE"));

    // Into a PDF file: no job and no kick.
    FileDialogDouble files;
    files.setNextFileName(dir.file("slip.pdf"));
    EXPECT_TRUE(CSalePrinter::PrintWithDialog(nullptr, local, header, sale, SaleDocument::PackingSlip, {},
                                              PrintOutput::Pdf));
    EXPECT_TRUE(isPdf(readAll(dir.file("slip.pdf"))));
    jobs.expectJobs({0, 2, 0});
}

TEST_F(CupsPrinting, ReportPrintsOnTheChosenPrinterInAPreviewOrIntoAPdf)
{
    auto print = [](CReportPrinter::Output output) {
        CReportPrinter::PrintReport(nullptr, "Sales\nItem\tAmount\n", numberedLines(100), {300, 120}, {0, 2}, output);
    };
    std::vector<int> previews;  // pages of each preview shown
    const auto preview = [&previews] {
        whenModal<QDialog>([&previews](QDialog* window) {
            previews.push_back(static_cast<int>(window->findChildren<QLabel*>("preview_page").size()));
            window->reject();
        });
    };
    // The register's dialog lists the queues, the default first; it previews
    // the document and Cancel prints nothing.
    QStringList listed;
    whenModal<QDialog>([&](QDialog* dialog) {
        preview();
        auto* printers = dialog->findChild<QComboBox*>("print_printer");
        for (int i = 0; printers && i < printers->count(); ++i)
            listed << printers->itemText(i);
        QTest::mouseClick(dialog->findChild<QPushButton*>("print_preview"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>("print_cancel"), Qt::LeftButton);
    });
    print(CReportPrinter::Output::Printer);
    EXPECT_EQ(listed, (QStringList{"office", "receipt", "spare", "PDF File..."}));
    jobs.expectJobs({0, 0, 0});

    PrintDialogDouble dialogs;
    dialogs.chooseQueue("office");
    print(CReportPrinter::Output::Printer);
    const std::string job = jobs.expectJobs({0, 1, 0})[0];
    ASSERT_TRUE(isPdf(job));
    const std::string text = pdf(job);
    const int pages = static_cast<int>(std::count(text.begin(), text.end(), '\f'));  // a form feed ends each page
    EXPECT_GE(pages, 2);
    EXPECT_TRUE(contains(text, "Page 1") && contains(text, "Item 1 ")) << text;
    preview();
    print(CReportPrinter::Output::Preview);
    EXPECT_EQ(previews, (std::vector<int>{pages, pages}));

    FileDialogDouble files;
    files.setNextFileName(dir.file("report.pdf"));
    print(CReportPrinter::Output::Pdf);
    EXPECT_TRUE(isPdf(readAll(dir.file("report.pdf"))));
    jobs.expectJobs({0, 1, 0});
}

// At start-up a register without a receipt printer takes the machine's
// default; a machine without one (or without a print service) says so.
TEST_F(CupsPrinting, StartUpTakesTheDefaultPrinterOnlyWhenNoneIsChosen)
{
    const QByteArray server = qgetenv("CUPS_SERVER");
    struct Case {
        const char* chosen;
        bool serverGone;
        const char* after;
        bool told;
    } const cases[] = {{"", false, "office", false}, {"spare", false, "spare", false}, {"", true, "", true}};
    boxes.allowUnscriptedOk();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        boxes.clear();
        local.paths[CLocalFile::kPrinterDeviceSlot] = c.chosen;
        if (c.serverGone)
            qputenv("CUPS_SERVER", QByteArray::fromStdString(dir.file("gone.sock")));
        CSalePrinter::CaptureDefaultPrinter(nullptr, local);
        qputenv("CUPS_SERVER", server);
        EXPECT_EQ(local.paths[CLocalFile::kPrinterDeviceSlot], c.after);
        EXPECT_EQ(boxes.texts(), c.told ? std::vector<std::string>{"You have no default printer!"}
                                        : std::vector<std::string>{});
    }
}

}  // namespace
