#include "print/CSalePrinter.h"

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/PrintFrame.h"
#include "platform/ReceiptPrinter.h"
#include "print/DrawerKick.h"
#include "print/ReportLayout.h"
#include "print/SaleDocuments.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <QPrinter>


namespace {

// Roll receipts are laid out in the dots of a thermal receipt printer, so the
// roll font size (in device units) prints as intended.
constexpr int kRollDotsPerInch = 203;

// The receipt queue, or empty after saying why there is none. A register that
// never chose one prints on the machine's default printer.
std::string receiptQueue(QWidget* parent, const CLocalFile& local)
{
    std::string queue = local.paths[CLocalFile::kPrinterDeviceSlot];
    if (queue.empty())
        queue = ReceiptPrinter::DefaultQueue();
    if (queue.empty()) {
        MessageBox::information(parent, "No receipt printer is chosen.\n\nChoose one with File, Choose Receipt Printer...");
        return {};
    }
    if (!ReceiptPrinter::QueueExists(queue)) {
        MessageBox::information(parent, strprintf("The receipt printer \"%s\" is not available.\n\nNothing was printed. "
                                                  "Choose a printer with File, Choose Receipt Printer...",
                                                  queue.c_str()));
        return {};
    }
    return queue;
}

// Points the printer at the queue. Qt keeps the default printer for a name it
// cannot use, so that case is refused rather than printed elsewhere.
bool useQueue(QWidget* parent, QPrinter& printer, const std::string& queue)
{
    printer.setPrinterName(QString::fromStdString(queue));
    if (printer.printerName().toStdString() == queue)
        return true;
    MessageBox::information(parent, "The receipt printer \"" + queue + "\" cannot be used.\n\nNothing was printed.");
    return false;
}

// The drawer kick, when the register opens its drawer, as a raw job just
// before the document it belongs to. False after showing why it failed.
bool kickDrawer(QWidget* parent, const CLocalFile& local, const std::string& queue)
{
    const std::vector<std::uint8_t> kick = DrawerKickBytes(local.drawerMethod, local.drawerCommand);
    if (kick.empty())
        return true;
    const PrintJobResult kicked = ReceiptPrinter::KickDrawer(queue, kick);
    if (!kicked.ok)
        MessageBox::information(parent, kicked.message);
    return kicked.ok;
}

// Draws a sale document in the register's receipt style; the logo failure is
// shown once the document is drawn.
struct SaleDrawing {
    QWidget* parent;
    const CLocalFile& local;
    const SalesFileHeader& header;
    const InvoiceRecord& sale;
    SaleDocument document;
    const std::string& paymentsText;

    bool roll() const { return local.receiptStyle == 1; }
    int resolution() const { return roll() ? kRollDotsPerInch : 0; }
    void operator()(PrintCanvas& canvas) const
    {
        const SaleLayoutResult laid =
            roll() ? LayoutRoll(canvas, sale, header) : LayoutFullPage(canvas, sale, header, document, paymentsText);
        if (laid.logoFailed)
            MessageBox::information(parent, "Error in Print Invoice: " + header.logoPath);
    }
};

}  // namespace

int CSalePrinter::PrintSaleDocuments(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                     const InvoiceRecord& sale, const std::string& paymentsText)
{
    const std::vector<SaleDocument> documents = AfterSaleDocuments(local);
    if (documents.empty())
        return 0;
    const std::string queue = receiptQueue(parent, local);
    if (queue.empty())
        return 0;
    QPrinter printer(QPrinter::HighResolution);
    if (!useQueue(parent, printer, queue))
        return 0;
    int sent = 0;
    for (SaleDocument document : documents) {
        if (!kickDrawer(parent, local, queue))
            break;
        const SaleDrawing draw{parent, local, header, sale, document, paymentsText};
        const PrintJobResult printed = PrintDocument(printer, "Receipt", draw, draw.resolution());
        if (!printed.ok) {
            MessageBox::information(parent, printed.message);
            break;
        }
        ++sent;
    }
    return sent;
}

bool CSalePrinter::PrintWithDialog(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                   const InvoiceRecord& sale, SaleDocument document, const std::string& paymentsText,
                                   PrintOutput output)
{
    QPrinter printer(QPrinter::HighResolution);
    const std::string& queue = local.paths[CLocalFile::kPrinterDeviceSlot];
    if (ReceiptPrinter::QueueExists(queue))
        printer.setPrinterName(QString::fromStdString(queue));
    const SaleDrawing draw{parent, local, header, sale, document, paymentsText};
    return RunDocument(parent, output, printer, "Receipt", draw, draw.resolution(),
                       [parent, &local](const std::string& chosen) { return kickDrawer(parent, local, chosen); });
}

void CSalePrinter::ChooseReceiptPrinter(QWidget* parent, CLocalFile& local)
{
    QPrinter printer(QPrinter::HighResolution);
    const std::string& current = local.paths[CLocalFile::kPrinterDeviceSlot];
    if (ReceiptPrinter::QueueExists(current))
        printer.setPrinterName(QString::fromStdString(current));
    if (!PrintDialog::exec(parent, printer) || !printer.outputFileName().isEmpty())
        return;
    const std::string queue = printer.printerName().toStdString();
    if (!ReceiptPrinter::QueueExists(queue))
        return;
    std::string makeAndModel, deviceUri;
    ReceiptPrinter::Identify(queue, makeAndModel, deviceUri);
    local.SetReceiptPrinter(queue, makeAndModel, deviceUri);
}

void CSalePrinter::OpenDrawer(QWidget* parent, const CLocalFile& local)
{
    if (local.drawerMethod == 0)
        return;
    const std::string queue = receiptQueue(parent, local);
    if (queue.empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!useQueue(parent, printer, queue) || !kickDrawer(parent, local, queue))
        return;
    const std::string line = "Drawer Opened on " + FormatCalendarTime(Clock::now(), "%c");
    const PrintJobResult printed = PrintDocument(printer, "Receipt", [&line](PrintCanvas& canvas) {
        const double s = PageScale(canvas);
        canvas.setFont({"Arial", 18 * s, 400});
        canvas.text({0, 0, canvas.page().right, canvas.lineHeight()}, kPrintLeft, line);
    });
    if (!printed.ok)
        MessageBox::information(parent, printed.message);
}

void CSalePrinter::CaptureDefaultPrinter(QWidget* parent, CLocalFile& local)
{
    const std::string queue = ReceiptPrinter::DefaultQueue();
    if (queue.empty()) {
        MessageBox::information(parent, "You have no default printer!");
        return;
    }
    if (!local.paths[CLocalFile::kPrinterDeviceSlot].empty())
        return;
    std::string makeAndModel, deviceUri;
    ReceiptPrinter::Identify(queue, makeAndModel, deviceUri);
    local.SetReceiptPrinter(queue, makeAndModel, deviceUri);
}
