#include "TransactionBench.h"

#include "BenchFloor.h"
#include "BenchPair.h"
#include "storage/files/CLocalFile.h"
#include "receivables/PaidRule.h"
#include "storage/files/InvoiceFile.h"
#include "products/SaleStock.h"
#include "storage/files/ProductFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/ProductRecord.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
constexpr int kProducts = 1000;

std::string item(int i) { return strprintf("T%05d", i); }
}  // namespace

void runTransactionBenchmarks(const std::string& parent)
{
    if (!benchWanted("void_sale") && !benchWanted("take_stock_20_lines") && !benchWanted("write_header") &&
        !benchWanted("append_sale"))
        return;  // the setup below stores a thousand products, one change each
    const std::string folder = parent + "transactions/";
    std::filesystem::create_directories(folder);
    const CLocalFile local(folder);
    EnsureProductFile(local);
    for (int i = 0; i < kProducts; ++i) {
        ProductRecord r;
        r.itemNumber = item(i);
        r.stock = 1e6f;
        AppendProduct(local, r);
    }
    int count = 0;
    ReadInvoiceCount(local, count);
    const CalendarTime now{2006, 7, 1, 12, 0, 0};
    // Sales of 20 lines spread over the product file.
    auto sale = [&](int n) {
        InvoiceRecord r = ClearedInvoice();
        r.payType = "Cash";
        for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l) {
            r.itemNumber[l] = item(static_cast<int>((n * 37 + l * 49) % kProducts));
            r.qty[l] = 1;
        }
        return r;
    };
    for (int n = 0; n < 8; ++n) {
        InvoiceRecord r = sale(n);
        AppendInvoice(local, r, count, now);
    }
    std::array<StockLine, InvoiceRecord::kLines> lines{};
    const InvoiceRecord twenty = sale(3);
    for (std::size_t l = 0; l < lines.size(); ++l)
        lines[l] = {twenty.itemNumber[l], 1};

    const std::string invoices = local.GetPath("Invoices");
    const std::string products = local.GetPath("Products");

    // The records of a sale's 20 lines, found by the register's map of the
    // codes, and their stock fields.
    auto productRecords = [&](int n) {
        std::vector<long long> records;
        for (int l = 0; l < static_cast<int>(InvoiceRecord::kLines); ++l)
            records.push_back(ProductFile::recordOffset((n * 37 + l * 49) % kProducts));
        return records;
    };
    auto stockFields = [&](int n) {
        std::vector<ChangeFloor::Range> fields;
        for (const long long at : productRecords(n))
            fields.push_back({at + static_cast<long long>(ProductRecord::kStockOffset), 4});
        return fields;
    };
    SalesFileHeader header;
    OpenOrCreateHeader(local, header);
    ChangeFloor saleFloor(folder, {invoices, products});
    ChangeFloor stockFloor(folder, {products});
    ChangeFloor headerFloor(folder, {local.GetPath("Head")});

    // The reads of a void (its 20 product records); 4 flushes: journal, sale,
    // stock, journal.
    int voiding = 0;
    benchPair({"void_sale", "read(count,sale,20_products)+4_flushes(journal,sale,stock,journal)", 1.5,
               [&] { VoidInvoice(local, voiding); },
               [&] {
                   readForVoid(invoices, InvoiceOffset(voiding), InvoiceRecord::kSize, products, productRecords(voiding));
                   saleFloor.run({{{InvoiceOffset(voiding), InvoiceRecord::kSize}}, stockFields(voiding)});
               },
               [&] { voiding = (voiding + 1) % 8; }, 41});
    // One file: its 20 product records read; 3 flushes: journal, stock, journal.
    benchPair({"take_stock_20_lines", "read(20_products)+3_flushes(journal,stock,journal)", 1.5,
               [&] { TakeSaleFromStock(local, lines); },
               [&] {
                   readJournalMark(products);
                   readAt(products, productRecords(3), ProductRecord::kSize);
                   stockFloor.run({stockFields(3)});
               },
               {}, 41});
    // Nothing read; 3 flushes: journal, header, journal.
    benchPair({"write_header", "3_flushes(journal,header,journal)", 1.5, [&] { WriteHeader(local, header); },
               [&] { headerFloor.run({{{0, SalesFileHeader::kFileSize}}}); }, {}, 41});
    // The count read; 2 ordered flushes: the record past the end, then the count.
    AppendFloor appendFloor(invoices, folder + "floor-append.bin", InvoiceRecord::kSize);
    benchPair({"append_sale", "read(count)+2_flushes(record,count)", 1.3,
               [&] {
                   InvoiceRecord r = sale(count);
                   AppendInvoice(local, r, count, now);
               },
               [&] {
                   readJournalMark(invoices);
                   appendFloor.run();
               },
               {}, 41});
    std::filesystem::remove_all(folder);
}
