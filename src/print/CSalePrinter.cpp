#include "print/CSalePrinter.h"

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/PrintFrame.h"
#include "platform/ReceiptPrinter.h"
#include "platform/RollPrint.h"
#include "print/DrawerKick.h"
#include "print/EscPos.h"
#include "print/ReportLayout.h"
#include "print/SaleDocuments.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"


#include <cups/cups.h>

#include <set>

namespace {

using ReceiptPrinter::Job;
using ReceiptPrinter::QueueStatus;

const char* const kPrintAgain =
    "To print it again when the printer is ready, show the sale with Page Up and choose File, "
    "Print Sales Copy...; File, Open Drawer opens the drawer.";

// The one message of a sale whose printing failed: it is stored either way.
std::string saleFault(bool drawerOpened, const std::string& reason)
{
    return std::string("The sale is stored. ") +
           (drawerOpened ? "The drawer opened, but the receipt did not print: "
                         : "The drawer did not open and the receipt did not print: ") +
           reason + ".\n\n" + kPrintAgain;
}

// A missing logo is said once while the program runs, not once a document;
// a logo path changed since is said again.
void reportLogo(QWidget* parent, const SalesFileHeader& header, bool failed)
{
    static std::set<std::string> reported;
    if (!failed || !reported.insert(header.logoPath).second)
        return;
    MessageBox::information(parent, "Error in Print Invoice: " + header.logoPath);
}

// Draws a sale document in the register's receipt style; whether the logo
// failed is kept for the message.
struct SaleDrawing {
    const CLocalFile& local;
    const SalesFileHeader& header;
    const InvoiceRecord& sale;
    SaleDocument document;
    const std::string& paymentsText;
    std::shared_ptr<bool> logoFailed = std::make_shared<bool>(false);

    bool roll() const { return local.receiptStyle == 1; }
    void operator()(PrintCanvas& canvas) const
    {
        const SaleLayoutResult laid =
            roll() ? LayoutRoll(canvas, sale, header) : LayoutFullPage(canvas, sale, header, document, paymentsText);
        *logoFailed = *logoFailed || laid.logoFailed;
    }
};

// A roll document for the queue: ESC/POS on a raw queue, a page of roll
// width through a driver.
QueueJobs rollJobs(const CLocalFile& local, const QueueStatus& queue, const std::function<void(PrintCanvas&)>& draw)
{
    QueueJobs out;
    if (queue.raw) {
        out.jobs.push_back({"Receipt", CUPS_FORMAT_RAW, EscPosRaster(RenderRollDots(RollDots(local.rollWidthMm), draw))});
        return out;
    }
    if (std::optional<std::string> pdf = RenderRollPdf(local.rollWidthMm, "Receipt", draw))
        out.jobs.push_back({"Receipt", CUPS_FORMAT_PDF, std::move(*pdf)});
    else
        out.refusal = "the receipt could not be drawn";
    return out;
}

// One sale document's job for the queue, after its drawer kick when `kick`
// holds bytes; a full page at that resolution, in that many copies.
QueueJobs documentJobs(const CLocalFile& local, const QueueStatus& queue, const SaleDrawing& draw,
                       const std::vector<std::uint8_t>& kick, int resolution, int copies = 1)
{
    QueueJobs made;
    if (draw.roll()) {
        made = rollJobs(local, queue, draw);
    } else if (queue.raw) {
        made.refusal = "the printer \"" + queue.queue +
                       "\" is a raw queue for a roll printer and cannot print a full-page invoice; choose "
                       "Register Roll Style Receipt in Settings, General, or a page printer with File, "
                       "Choose Receipt Printer...";
    } else {
        made = FullPageJobs(queue, DocumentPage{SheetLayout(), resolution}, copies, "Receipt", draw);
    }
    if (made.refusal.empty() && !kick.empty())
        made.jobs.insert(made.jobs.begin(), Job{"Drawer", CUPS_FORMAT_RAW, std::string(kick.begin(), kick.end())});
    return made;
}

}  // namespace

int CSalePrinter::PrintSaleDocuments(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                     const InvoiceRecord& sale, const std::string& paymentsText)
{
    const std::vector<SaleDocument> documents = AfterSaleDocuments(local);
    if (documents.empty())
        return 0;
    const QueueStatus queue = ReceiptPrinter::Look(local.paths[CLocalFile::kPrinterDeviceSlot]);
    if (!queue.ready()) {
        MessageBox::information(parent, saleFault(false, ReceiptPrinter::Reason(queue)));
        return 0;
    }
    const std::vector<std::uint8_t> kick = DrawerKickBytes(local.drawerMethod, local.drawerCommand);
    std::vector<Job> jobs;
    bool logoFailed = false;
    for (SaleDocument document : documents) {
        const SaleDrawing draw{local, header, sale, document, paymentsText};
        QueueJobs made = documentJobs(local, queue, draw, kick, 600);
        if (!made.refusal.empty()) {
            MessageBox::information(parent, saleFault(false, made.refusal));
            return 0;
        }
        logoFailed = logoFailed || *draw.logoFailed;
        jobs.insert(jobs.end(), made.jobs.begin(), made.jobs.end());
    }
    reportLogo(parent, header, logoFailed);
    const bool kicks = !kick.empty();
    const bool sent = SendDocument(parent, queue.queue, std::move(jobs), [kicks](const ReceiptPrinter::JobsOutcome& o) {
        return saleFault(kicks && o.sent > 0, o.failure.message);
    });
    return sent ? static_cast<int>(documents.size()) : 0;
}

bool CSalePrinter::PrintWithDialog(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                   const InvoiceRecord& sale, SaleDocument document, const std::string& paymentsText,
                                   PrintOutput output, bool kickDrawer)
{
    const SaleDrawing draw{local, header, sale, document, paymentsText};
    DocumentPage page;
    if (draw.roll()) {
        // Previews and files show the roll at its width.
        const double widthMm = local.rollWidthMm == 58 ? 58 : 80;
        page = {QPageLayout(QPageSize(QSizeF(widthMm, 297), QPageSize::Millimeter, "Roll"), QPageLayout::Portrait,
                            QMarginsF(4, 4, 4, 4), QPageLayout::Millimeter),
                kRollDotsPerInch};
    }
    const std::vector<std::uint8_t> kick =
        kickDrawer ? DrawerKickBytes(local.drawerMethod, local.drawerCommand) : std::vector<std::uint8_t>{};
    const bool done = RunDocument(parent, output, page, local.paths[CLocalFile::kPrinterDeviceSlot], "Receipt", draw,
                                  [&](const QueueStatus& chosen, const PrintChoice& choice) {
                                      return documentJobs(local, chosen, draw, kick, page.resolution, choice.copies);
                                  });
    reportLogo(parent, header, *draw.logoFailed);
    return done;
}

void CSalePrinter::ChooseReceiptPrinter(QWidget* parent, CLocalFile& local)
{
    PrintChoice choice;
    choice.queue = local.paths[CLocalFile::kPrinterDeviceSlot];
    choice.pdfOffered = false;
    const std::string unchanged = "The receipt printer was not changed: ";
    if (!ChoosePrinter(parent, choice, unchanged) || !choice.pdfFile.empty())
        return;
    const QueueStatus chosen = ReceiptPrinter::Look(choice.queue);
    if (chosen.state == ReceiptPrinter::QueueState::Missing || chosen.state == ReceiptPrinter::QueueState::Unreachable ||
        chosen.state == ReceiptPrinter::QueueState::NotAnswering) {
        MessageBox::information(parent, unchanged + ReceiptPrinter::Reason(chosen) + ".");
        return;
    }
    local.SetReceiptPrinter(chosen.queue, chosen.makeAndModel, chosen.deviceUri);
}

void CSalePrinter::OpenDrawer(QWidget* parent, const CLocalFile& local)
{
    if (local.drawerMethod == 0)
        return;
    const QueueStatus queue = ReceiptPrinter::Look(local.paths[CLocalFile::kPrinterDeviceSlot]);
    if (!queue.ready()) {
        MessageBox::information(parent, "The drawer did not open: " + ReceiptPrinter::Reason(queue) + ".");
        return;
    }
    const std::vector<std::uint8_t> kick = DrawerKickBytes(local.drawerMethod, local.drawerCommand);
    const std::string line = "Drawer Opened on " + FormatCalendarTime(Clock::now(), "%c");
    QueueJobs made = rollJobs(local, queue, [&line](PrintCanvas& canvas) {
        const double s = PageScale(canvas);
        canvas.setFont({"Arial", 18 * s, 400});
        canvas.text({0, 0, canvas.page().right, canvas.lineHeight()}, kPrintLeft, line);
    });
    made.jobs.insert(made.jobs.begin(), Job{"Drawer", CUPS_FORMAT_RAW, std::string(kick.begin(), kick.end())});
    SendDocument(parent, queue.queue, std::move(made.jobs), [](const ReceiptPrinter::JobsOutcome& o) {
        return std::string(o.sent > 0 ? "The drawer slip did not print: " : "The drawer did not open: ") +
               o.failure.message + (o.answered ? "" : ".");
    });
}

void CSalePrinter::CaptureDefaultPrinter(QWidget* parent, CLocalFile& local)
{
    const QueueStatus found = ReceiptPrinter::Look({});
    if (found.state == ReceiptPrinter::QueueState::NotAnswering)
        return;  // the next print says why
    if (found.state == ReceiptPrinter::QueueState::NoDefault || found.state == ReceiptPrinter::QueueState::Unreachable ||
        found.state == ReceiptPrinter::QueueState::Missing) {
        MessageBox::information(parent, "You have no default printer!");
        return;
    }
    if (local.paths[CLocalFile::kPrinterDeviceSlot].empty())
        local.SetReceiptPrinter(found.queue, found.makeAndModel, found.deviceUri);
}
