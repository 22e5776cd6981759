#pragma once
// A small store for the grouped reports: three products, three categories, two
// vendors, cashiers Joan and Joanne, a salesperson, two customers, and sales in
// March 2026 and on either side of it: one at 23:59 on 31 March, one without
// cashier or customer, one of item "ab12" and one of a quantity of 1.5.

#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/VendorFile.h"
#include "support/StoredRecords.h"

struct GroupedLine {
    const char* item;
    float qty, price, markdown, cost, commission;
    const char* category;
    const char* vendor;
};

inline void storeGroupedSale(const CLocalFile& local, const CalendarTime& when, const char* cashier,
                             const char* salesperson, const char* customer, const char* city,
                             std::initializer_list<GroupedLine> lines, float tax = 0, bool exempt = false)
{
    InvoiceRecord sale = ClearedInvoice();
    std::tie(sale.cashier, sale.salesperson, sale.address[InvoiceRecord::kName], sale.address[InvoiceRecord::kCity]) =
        std::tuple{cashier, salesperson, customer, city};
    std::size_t i = 0;
    for (const GroupedLine& l : lines) {
        std::tie(sale.itemNumber[i], sale.qty[i], sale.price[i], sale.markdownPercent[i], sale.cost[i],
                 sale.commissionPercent[i], sale.category[i], sale.vendor[i], sale.lineMode[i]) =
            std::tuple{l.item, l.qty, l.price, l.markdown, l.cost, l.commission, l.category, l.vendor, 0};
        sale.extended[i] = l.qty * l.price * (100 - l.markdown) / 100;
        (exempt ? sale.exemptSubtotal : sale.taxableSubtotal) += sale.extended[i];
        sale.totalCost += l.cost * l.qty;
        ++i;
    }
    sale.tax1 = tax;
    sale.total = sale.subtotal() + tax;
    int count = 0;
    ReadInvoiceCount(local, count);
    ASSERT_GE(AppendInvoice(local, sale, count, when), 0);
}

inline void storeGroupedStore(const CLocalFile& local)
{
    SalesFileHeader header;
    ASSERT_EQ(ReadHeader(local, header), 0);
    header.categories = "Books\r\nExtreme\r\nSafety\r\n";
    ASSERT_EQ(WriteHeader(local, header), 0);
    std::vector<ProductRecord> products(3);
    const char* const fields[3][4] = {{"AB12", "Blue Widget Deluxe Model", "Books", "Acme"},
                                      {"ZZ-9", "Spare", "Books", "acme"},
                                      {"CD34", "Candle", "Safety", "Bolt"}};
    for (int p = 0; p < 3; ++p)
        std::tie(products[p].itemNumber, products[p].description, products[p].category, products[p].vendor) =
            std::tuple{fields[p][0], fields[p][1], fields[p][2], fields[p][3]};
    EnsureProductFile(local);
    ASSERT_EQ(AppendProducts(local, products), 0);
    VendorRecord acme, bolt;
    acme.text[VendorRecord::kCompany] = "Acme", bolt.text[VendorRecord::kCompany] = "Bolt";
    ASSERT_EQ(AppendVendors(local, {acme, bolt}), 0);
    ASSERT_GE(AppendCashier(local, {"Joan", ""}), 0);
    ASSERT_GE(AppendCashier(local, {"Joanne", ""}), 0);
    ASSERT_GE(AppendSalesperson(local, {"Sam"}), 0);
    storeCustomer(local, "Ann Lee", "Denver", 0, "");
    storeCustomer(local, "Bo Ray", "Austin", 0, "");

    storeGroupedSale(local, {2026, 3, 5, 10, 0, 0}, "Joanne", "Sam", "Ann Lee", "Denver",
                     {{"AB12", 2, 10, 10, 6, 5, "Books", "Acme"}, {"CD34", 1, 4.5f, 0, 2, 0, "Safety", "Bolt"}}, 1.8f);
    storeGroupedSale(local, {2026, 3, 31, 23, 59, 0}, "Joan", "", "Bo Ray", "Austin",
                     {{"ab12", 1, 10, 0, 6, 0, "Books", "ACME"}});
    storeGroupedSale(local, {2026, 3, 20, 12, 0, 0}, "", "", "", "",
                     {{"CD34", 1.5f, 4.5f, 0, 2, 0, "Safety", "Bolt"}}, 0, true);
    storeGroupedSale(local, {2026, 4, 1, 0, 0, 0}, "Joanne", "Sam", "Ann Lee", "Denver",
                     {{"AB12", 5, 10, 0, 6, 0, "Books", "Acme"}});
    storeGroupedSale(local, {2026, 2, 28, 18, 0, 0}, "Joan", "Sam", "Bo Ray", "Austin",
                     {{"CD34", 3, 4.5f, 0, 2, 0, "Safety", "Bolt"}});
}
