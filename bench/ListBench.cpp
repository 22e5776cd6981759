#include "ListBench.h"

#include "BenchFiles.h"
#include "BenchPair.h"
#include "contacts/ContactRows.h"
#include "reports/SaleSearch.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/CustomerRecord.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

namespace {
constexpr int kSales = 500000;
constexpr int kCustomers = 100000;
// Rows a list window shows at once.
constexpr std::size_t kScreenRows = 30;

bool createSales(const std::string& path)
{
    InvoiceRecord sale = ClearedInvoice();
    sale.cashier = "Pat";
    sale.payType = "Cash";
    sale.address[0] = "Walk-in";
    sale.year = 2026, sale.month = 11, sale.day = 20;
    return WriteCountedFile(path, InvoiceRecord::kSize, kSales, [&](int n, std::uint8_t* at) {
        sale.recordNumber = n;
        sale.total = static_cast<float>(n % 500) + 0.99f;
        sale.encode(at);
    });
}

bool createCustomers(const std::string& path)
{
    CustomerFileHeader h;
    h.count = kCustomers + 1;
    h.nextNumber = 65535;
    std::vector<std::uint8_t> header(CustomerFileHeader::kSize + CustomerRecord::kSize);  // with the placeholder
    h.encode(header.data());
    // The placeholder goes with the header bytes; the count includes it.
    return WriteCountedFile(path, header, CustomerRecord::kSize, kCustomers, [](int i, std::uint8_t* at) {
        CustomerRecord c;
        c.text[CustomerRecord::kName] = strprintf("Customer %06d", i);
        c.text[CustomerRecord::kPhone] = strprintf("555-%04d", i % 10000);
        c.text[CustomerRecord::kEmail] = strprintf("c%06d@example.com", i);
        c.customerNumber = static_cast<std::uint16_t>(1 + i % 65534);
        c.encode(at);
    });
}
}  // namespace

void runListBenchmarks(const std::string& folder)
{
    if (!benchWanted("find_sales_list_all_500k") && !benchWanted("customer_list_all_100k"))
        return;
    const std::string listFolder = folder + "lists/";
    std::filesystem::create_directory(listFolder);
    const CLocalFile local(listFolder);
    const std::string sales = local.GetPath("Invoices"), customers = local.GetPath("Customers");
    if (!createSales(sales) || !createCustomers(customers)) {
        std::fprintf(stderr, "list benchmark: cannot build the files in %s\n", listFolder.c_str());
        std::filesystem::remove_all(listFolder);
        return;
    }
    volatile std::size_t sink = 0;
    const SalesFileHeader header;
    std::optional<FoundSales> found;
    // The search over every sale, then the rows a window draws first.
    benchPair({"find_sales_list_all_500k", "read_64k_blocks", 2,
               [&] {
                   SaleSearch search(SaleSearchCriteria::From({}));
                   ScanSales(local, search);
                   found.emplace().list(local, search.TakePositions(), header.levelNames);
                   for (std::size_t row = 0; row < kScreenRows; ++row)
                       sink = sink + found->cells(row)[1].size();
               },
               [&] { ReadWholeFile(sales); }, [&] { found.reset(); }, 7});
    std::optional<CustomerRows> rows;
    benchPair({"customer_list_all_100k", "read_64k_blocks", 2,
               [&] {
                   rows.emplace().list(local, 0, {});
                   for (std::size_t row = 0; row < kScreenRows; ++row)
                       sink = sink + rows->cell(row, 0).size();
               },
               [&] { ReadWholeFile(customers); }, [&] { rows.reset(); }, 7});
    std::filesystem::remove_all(listFolder);
}
