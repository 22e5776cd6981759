#pragma once
// The printed forms of a sale: the full-page invoice, quote and packing slip,
// and the register roll receipt, from the sale record and the store header.

#include <string>

class PrintCanvas;
struct InvoiceRecord;
struct SalesFileHeader;

enum class SaleDocument { Receipt, Quote, PackingSlip };

struct SaleLayoutResult {
    int pages = 0;
    bool logoFailed = false;  // the logo file could not be drawn; the rest was
};

// The full-page form (origin of the page units at the printable area's top
// left, 992 units across). paymentsText is printed for "Split" and "Deposit"
// sales.
SaleLayoutResult LayoutFullPage(PrintCanvas& canvas, const InvoiceRecord& sale, const SalesFileHeader& header,
                                SaleDocument document, const std::string& paymentsText = {});

// The roll receipt in the header's roll font size (device units). A receipt
// longer than the page continues on the next one.
SaleLayoutResult LayoutRoll(PrintCanvas& canvas, const InvoiceRecord& sale, const SalesFileHeader& header);

// The sale's day as "%A, %B %d, %Y" (Monday, March 03, 2003); empty for a
// sale never dated.
std::string LongDate(int year, int month, int day);
