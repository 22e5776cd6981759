#pragma once
// The sale, the store header and the report body the printing tests lay out
// and print.

#include "storage/files/SalesFileHeader.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <string>

#include <tuple>

// Three lines: a taxed 5.00, an untaxed 5.00 and an untaxed return of -5.00;
// paid 10.00, change 4.60.
inline InvoiceRecord printedSale(const char* payType = "Visa")
{
    InvoiceRecord r;
    const std::tuple<const char*, const char*, float, float, std::uint8_t> lines[] = {
        {"A1", "Taxed thing", 1, 5, 1}, {"B2", "Untaxed thing", 2, 2.5f, 0}, {"C3", "Returned thing", -1, 5, 0}};
    for (std::size_t i = 0; i < 3; ++i) {
        std::tie(r.itemNumber[i], r.description[i], r.qty[i], r.price[i], r.taxStatus[i]) = lines[i];
        r.extended[i] = r.qty[i] * r.price[i];
    }
    std::tie(r.taxableSubtotal, r.taxRate1, r.taxRate2, r.tax1, r.tax2, r.total, r.cashPaid, r.change) =
        std::tuple{5.0f, 6.0f, 2.0f, 0.30f, 0.10f, 5.40f, 10.0f, 4.60f};
    std::tie(r.payType, r.cashier, r.salesperson, r.address[InvoiceRecord::kName]) =
        std::tuple{payType, "Ann", "Bob", "Retail"};
    r.recordNumber = 42;
    r.year = 2003;
    r.month = r.day = 3;
    r.saleTime = OleDate::fromCalendar(2003, 3, 3, 10, 0, 0);
    return r;
}

// Default settings with the store's name and address.
inline SalesFileHeader printedHeader()
{
    SalesFileHeader h;
    h.companyName = "Corner Shop";
    h.companyAddress = "1 Main St\r\nSpringfield\r\n";
    return h;
}

// Report lines "Item <n>\t<3n>.00" for n from 1.
inline std::string numberedLines(int count)
{
    std::string body;
    for (int i = 1; i <= count; ++i)
        body += strprintf("Item %d\t%d.00\n", i, i * 3);
    return body;
}
