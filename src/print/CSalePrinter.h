#pragma once
// Sale documents on this register's receipt printer, a CUPS queue kept in the
// register's record (slot 11 its name, 12 its make and model, 13 its device
// URI). Every document goes to that queue by name, after its own drawer kick;
// the machine's default printer is never changed. Printing never touches the
// stored sale: a failure is shown and the sale stays as it is.

#include "platform/PrintFrame.h"
#include "print/SaleLayout.h"

#include <string>

class CLocalFile;
class QWidget;
struct InvoiceRecord;
struct SalesFileHeader;

class CSalePrinter {
public:
    // After a sale is stored: the receipts and packing slips the register's
    // settings ask for, silently. Returns the documents sent.
    static int PrintSaleDocuments(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                  const InvoiceRecord& sale, const std::string& paymentsText = {});
    // One document through the print dialog, opened on the receipt printer
    // ("Print Sales Copy...", "Print Packing List...", a quote's "Print..."),
    // or in a preview window, or into a PDF file (neither kicks the drawer).
    static bool PrintWithDialog(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                const InvoiceRecord& sale, SaleDocument document, const std::string& paymentsText = {},
                                PrintOutput output = PrintOutput::Printer);
    // File "Choose Receipt Printer...": the dialog opens on the receipt printer;
    // OK stores the chosen queue, Cancel changes nothing.
    static void ChooseReceiptPrinter(QWidget* parent, CLocalFile& local);
    // File "Open Drawer": the kick and a "Drawer Opened on ..." slip; nothing
    // at all with the drawer method 0.
    static void OpenDrawer(QWidget* parent, const CLocalFile& local);
    // At start-up: a register that never chose a receipt printer takes the
    // machine's default printer as its receipt printer.
    static void CaptureDefaultPrinter(QWidget* parent, CLocalFile& local);
};
