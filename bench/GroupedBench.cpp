#include "GroupedBench.h"

#include "BenchFiles.h"
#include "BenchPair.h"
#include "reports/grouped/GroupedReports.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/ProductFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/InvoiceRecord.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
constexpr int kSales = 500000;
constexpr int kProducts = 5000;
constexpr int kCustomers = 10000;

std::string customerName(int n) { return "Customer " + std::to_string(n); }

InvoiceRecord groupedSale(int n)
{
    InvoiceRecord r = ClearedInvoice();
    r.recordNumber = n;
    r.cashier = n % 2 ? "Ann" : "Bob";
    r.address[InvoiceRecord::kName] = customerName((n * 7) % (kCustomers + 500));  // some customers not on file
    r.address[InvoiceRecord::kCity] = "Springfield";
    DateRecord(r, CalendarTime{2020 + n / 100000, 1 + (n / 8000) % 12, 1 + (n / 250) % 28, 9 + n % 8, 0, 0});
    for (std::size_t i = 0; i < 6; ++i) {
        r.itemNumber[i] = "ITEM-" + std::to_string((n * 7 + static_cast<int>(i) * 13) % (kProducts + 100));
        r.description[i] = "Grouped bench product";
        r.category[i] = i % 2 ? "Books" : "Safety";
        r.qty[i] = 1;
        r.price[i] = 9.95f;
        r.markdownPercent[i] = 10;
        r.extended[i] = 8.96f;
        r.cost[i] = 6.5f;
    }
    r.taxableSubtotal = r.total = 53.76f;
    r.totalCost = 39;
    return r;
}


}  // namespace

void runGroupedBenchmarks(const std::string& folder)
{
    const std::string product = "grouped_all_product_sales_500k_sales_5k_products";
    const std::string customer = "grouped_all_customers_sales_500k_sales_10k_customers";
    if (!benchWanted(product) && !benchWanted(customer))
        return;
    const std::string shared = folder + "grouped/";
    std::filesystem::create_directory(shared);
    const CLocalFile local(shared);
    std::vector<ProductRecord> products(kProducts);
    for (int p = 0; p < kProducts; ++p) {
        products[p].itemNumber = "ITEM-" + std::to_string(p);
        products[p].description = "Grouped bench product " + std::to_string(p);
        products[p].category = p % 2 ? "Books" : "Safety";
    }
    std::vector<CustomerRecord> customers(kCustomers);
    for (int c = 0; c < kCustomers; ++c)
        customers[c].text[CustomerRecord::kName] = customerName(c);
    if (!WriteCountedFile(local.GetPath("Invoices"), InvoiceRecord::kSize, kSales, [](int n, std::uint8_t* at) { groupedSale(n).encode(at); }) || EnsureProductFile(local) != 0 ||
        AppendProducts(local, products) != 0 || CreateCustomerFile(local) != 0 ||
        AppendCustomers(local, customers) != CustomerSave::Appended) {
        std::fprintf(stderr, "grouped benchmark: cannot build the files in %s\n", shared.c_str());
        std::filesystem::remove_all(shared);
        return;
    }

    volatile long long sink = 0;
    const auto report = [&](const char* item) {
        GroupedRequest request;
        request.kind = FindGroupedReport(item);
        request.first = {2020, 1, 1};
        request.last = {2029, 12, 31};
        GroupedReport out;
        BuildGroupedReport(local, request, out);
        sink = sink + static_cast<long long>(out.body.size());
    };
    const std::string sales = local.GetPath("Invoices");
    benchPair({product, "read_64k_blocks_sales_and_products", 2.0, [&] { report("All Product Sales Summary"); },
               [&] { sink = sink + ReadWholeFile(sales) + ReadWholeFile(local.GetPath("Products")); }, {}, 7});
    benchPair({customer, "read_64k_blocks_sales_and_customers", 2.0, [&] { report("All Customers Sales Summary"); },
               [&] { sink = sink + ReadWholeFile(sales) + ReadWholeFile(local.GetPath("Customers")); }, {}, 7});
    std::filesystem::remove_all(shared);
}
