#pragma once
// The texts of the read-only sale display, without a window: one stored sale
// as its boxes show it.

#include <array>
#include <string>
#include <vector>

class CLocalFile;
struct InvoiceRecord;
struct SalesFileHeader;

struct SaleDisplay {
    struct Line {
        std::string item, qty, description, markdown, price, amount, margin;
    };
    std::string customer;     // the address block
    std::string cashier, salesperson, level;
    std::string payment;      // the pay type, or the payment history of a split sale
    std::vector<Line> lines;  // every one of the 20 line slots
    std::string discount, subtotal, handling, tax1, tax2, rates, recordNumber, total;
};

// Margins are shown only when `showMargins` (security off). A line's margin is
// blank when it has no item number or no cost to divide by (a zero cost, a
// voided line of quantity 0).
SaleDisplay BuildSaleDisplay(const CLocalFile& local, const SalesFileHeader& header, const InvoiceRecord& sale,
                             bool showMargins);
