#include "CSalePrinter.h"

#include "CLocalFile.h"
#include "Clock.h"
#include "DrawerKick.h"
#include "InvoiceRecord.h"
#include "MessageBox.h"
#include "PrintFrame.h"
#include "ReceiptPrinter.h"
#include "ReportLayout.h"
#include "SaleDocuments.h"
#include "SalesFileHeader.h"
#include "TextFormat.h"

#include <QPrinter>

#include <ctime>

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

// The drawer kick (when the register opens its drawer) and then the document,
// as two jobs on the printer's queue. False after showing why it failed.
bool printSaleDocument(QWidget* parent, QPrinter& printer, const CLocalFile& local, const SalesFileHeader& header,
                       const InvoiceRecord& sale, SaleDocument document, const std::string& paymentsText)
{
    const bool toFile = !printer.outputFileName().isEmpty();
    const std::vector<std::uint8_t> kick = DrawerKickBytes(local.drawerMethod, local.drawerCommand);
    if (!kick.empty() && !toFile) {
        const PrintJobResult kicked = ReceiptPrinter::KickDrawer(printer.printerName().toStdString(), kick);
        if (!kicked.ok) {
            MessageBox::information(parent, kicked.message);
            return false;
        }
    }
    const bool roll = local.receiptStyle == 1;
    bool logoFailed = false;
    const PrintJobResult printed = PrintDocument(
        printer, "Receipt",
        [&](PrintCanvas& canvas) {
            const SaleLayoutResult laid = roll ? LayoutRoll(canvas, sale, header)
                                               : LayoutFullPage(canvas, sale, header, document, paymentsText);
            logoFailed = laid.logoFailed;
        },
        roll ? kRollDotsPerInch : 0);
    if (logoFailed)
        MessageBox::information(parent, "Error in Print Invoice: " + header.logoPath);
    if (!printed.ok) {
        MessageBox::information(parent, printed.message);
        return false;
    }
    return true;
}

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
    printer.setPrinterName(QString::fromStdString(queue));
    int sent = 0;
    for (SaleDocument document : documents) {
        if (!printSaleDocument(parent, printer, local, header, sale, document, paymentsText))
            break;
        ++sent;
    }
    return sent;
}

bool CSalePrinter::PrintWithDialog(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                   const InvoiceRecord& sale, SaleDocument document, const std::string& paymentsText)
{
    QPrinter printer(QPrinter::HighResolution);
    const std::string& queue = local.paths[CLocalFile::kPrinterDeviceSlot];
    if (ReceiptPrinter::QueueExists(queue))
        printer.setPrinterName(QString::fromStdString(queue));
    if (!PrintDialog::exec(parent, printer))
        return false;
    return printSaleDocument(parent, printer, local, header, sale, document, paymentsText);
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
    const std::vector<std::uint8_t> kick = DrawerKickBytes(local.drawerMethod, local.drawerCommand);
    if (!kick.empty()) {
        const PrintJobResult kicked = ReceiptPrinter::KickDrawer(queue, kick);
        if (!kicked.ok) {
            MessageBox::information(parent, kicked.message);
            return;
        }
    }
    const CalendarTime now = Clock::now();
    std::tm tm{};
    tm.tm_year = now.year - 1900;
    tm.tm_mon = now.month - 1;
    tm.tm_mday = now.day;
    tm.tm_hour = now.hour;
    tm.tm_min = now.minute;
    tm.tm_sec = now.second;
    tm.tm_wday = now.dayOfWeek;
    tm.tm_yday = now.dayOfYear;
    char when[128] = "";
    std::strftime(when, sizeof when, "%c", &tm);
    const std::string line = std::string("Drawer Opened on ") + when;

    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(queue));
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
