#include "ScaleBench.h"

#include "BenchFiles.h"
#include "BenchPair.h"
#include "products/ProductTable.h"
#include "receivables/PaidRule.h"
#include "receivables/PaymentActivity.h"
#include "sale/PaymentHistory.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/ProductHint.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/InvoiceFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kRecords = 1000000;

std::string code(int i) { return strprintf("SKU-%07d", i); }


bool createProducts(const std::string& path)
{
    std::vector<std::uint8_t> header(ProductFile::kCountSize);
    codec::putI32(header.data(), 0, kRecords);
    return WriteCountedFile(path, header, ProductRecord::kSize, kRecords, [](int i, std::uint8_t* rec) {
        ProductRecord r;
        r.itemNumber = code(i);
        r.barCode = strprintf("0%011d", i);
        r.description = "Product " + r.itemNumber;
        r.stock = 50;
        r.price[0] = 4.99f;
        r.encode(rec);
    });
}

bool createPayments(const std::string& path)
{
    PaymentFileHeader h;
    h.count = kRecords;
    h.nextId = kRecords;
    std::vector<std::uint8_t> header(PaymentFileHeader::kSize);
    h.encode(header.data());
    return WriteCountedFile(path, header, PaymentRecord::kSize, kRecords, [](int i, std::uint8_t* rec) {
        PaymentRecord p;
        p.invoiceNumber = i / 3;
        p.paymentId = i;
        p.amount = static_cast<float>(i % 500) + 0.25f;
        p.date = OleDate::fromCalendar(2026, 1 + i % 12, 1 + i % 28, 10, 0, 0);
        p.payType = "Cash";
        p.cashier = "Pat";
        p.notes = "on account";
        p.encode(rec);
    });
}


// The floor of a lookup that knows where its record is: the file opened, its
// count and that one record read.
void readOneRecord(const std::string& path, long long index)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Read) != FileCause::None)
        return;
    std::uint8_t count[4], rec[ProductRecord::kSize];
    readFully(file, 0, count, sizeof count);
    readFully(file, ProductFile::recordOffset(index), rec, sizeof rec);
}

long long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void lookupLines(const CLocalFile& local)
{
    const std::string path = local.GetPath("Products");
    ProductRecord found;
    int next = 0;
    const auto pick = [&] { next = static_cast<int>((static_cast<long long>(next) * 7919 + 104729) % kRecords); };
    benchPair({"item_lookup_hint_1m", "open_read_count_and_one_record", 3,
               [&] { LookupForSale(local, code(next), found); }, [&] { readOneRecord(path, next); }, pick, 201});

    if (!benchWanted("item_lookup_hint_1m_ms"))
        return;
    LookupForSale(local, code(0), found);  // the map, if the pairs above did not build it
    const ProductHint::Counts before = ProductHint::Stats();
    std::vector<double> ms;
    bool right = true;
    for (int round = 0; round < 201; ++round) {
        pick();
        ms.push_back(timeMs([&] { LookupForSale(local, code(next), found); }));
        right = right && found.itemNumber == code(next);
    }
    const ProductHint::Counts after = ProductHint::Stats();
    const double p50 = median(ms);
    benchLine("item_lookup_hint_1m_ms",
              strprintf("p50_ms=%.3f answered_by_map=%lld full_scans=%lld", p50, after.mapped - before.mapped,
                        after.scanned - before.scanned),
              "1", p50 < 1 && right && after.scanned == before.scanned);
}

// Memory a fresh list holds beside the bytes of its file.
template <class List>
void memoryLine(const std::string& name, long long fileBytes, List&& list)
{
    if (!benchWanted(name))
        return;
    const long long before = residentBytes();
    const std::size_t rows = list();
    const long long held = residentBytes() - before;
    const double ratio = static_cast<double>(held) / static_cast<double>(fileBytes);
    benchLine(name, strprintf("rows=%zu held_mb=%.1f file_mb=%.1f ratio=%.2f", rows, static_cast<double>(held) / 1e6,
                              static_cast<double>(fileBytes) / 1e6, ratio),
              "1.2", ratio < 1.2);
}

void listLines(const CLocalFile& local)
{
    const std::string products = local.GetPath("Products");
    std::optional<ProductTable> table;
    // A user's first List All: a table made for it, the memory of the round
    // before given back to the system, so that it cannot reuse mapped pages.
    benchPair({"product_list_all_first_1m", "read_64k_blocks", 2, [&] { table.emplace().listAll(local); },
               [&] { ReadWholeFile(products); },
               [&] {
                   table.reset();
                   malloc_trim(0);
               },
               7});
    table.reset();
    memoryLine("product_list_first_memory_1m", std::filesystem::file_size(products), [&] {
        table.emplace().listAll(local);
        return table->size();
    });
    table.reset();

    const std::string payments = local.GetPath("Payments");
    std::optional<PaymentRows> rows;
    benchPair({"payments_list_all_1m", "read_64k_blocks", 2, [&] { rows.emplace().list(local, -1); },
               [&] { ReadWholeFile(payments); }, [&] { rows.reset(); }, 7});
    rows.reset();
    memoryLine("payments_list_memory_1m", std::filesystem::file_size(payments), [&] {
        rows.emplace().list(local, -1);
        return rows->size();
    });
}
// Page Up from the new sale onto a sale on account with 1,000,000 payments: the
// sale read and its payment history made, as the sale screen shows it.
void pageUpLine(const std::string& folder)
{
    const std::string name = "page_up_sale_1m_payments_ms";
    if (!benchWanted(name))
        return;
    const std::string saleFolder = folder + "page-up/";
    std::filesystem::create_directory(saleFolder);
    CLocalFile local(saleFolder);
    const CalendarTime now{2026, 12, 7, 10, 0, 0, 1, 340};
    InvoiceRecord sale = ClearedInvoice();
    sale.payType = "Split";
    sale.total = 1e6f;
    int count = 0;
    PaymentFileHeader h;
    h.count = h.nextId = kRecords;
    std::vector<std::uint8_t> header(PaymentFileHeader::kSize);
    h.encode(header.data());
    if (ReadInvoiceCount(local, count) != FileCause::None || AppendInvoice(local, sale, count, now) != FileCause::None ||
        !WriteCountedFile(local.GetPath("Payments"), header, PaymentRecord::kSize, kRecords, [](int i, std::uint8_t* rec) {
            PaymentRecord p;
            p.invoiceNumber = 0;
            p.paymentId = i;
            p.amount = 0.25f;
            p.payType = "Cash";
            p.encode(rec);
        })) {
        std::fprintf(stderr, "cannot create the files in %s\n", saleFolder.c_str());
        return;
    }
    SalesFileHeader settings;
    SaleState state(local, settings, [now] { return now; });
    state.Open();
    std::vector<double> ms;
    std::size_t shown = 0;
    const long long before = residentBytes();
    long long peak = 0;
    for (int round = 0; round < 7; ++round) {
        PaymentHistoryCache history;  // the screen as it first shows the sale
        ms.push_back(timeMs([&] {
            state.GoPrev();
            shown = history.Text(local, state.current).size();
        }));
        peak = std::max(peak, residentBytes() - before);
        state.GoCurrent();
    }
    std::filesystem::remove_all(saleFolder);
    const double p50 = median(ms);
    benchLine(name, strprintf("p50_ms=%.1f text_bytes=%zu held_mb=%.1f", p50, shown, static_cast<double>(peak) / 1e6),
              "300", p50 < 300);
}
}  // namespace

void runScaleBenchmarks(const std::string& folder)
{
    pageUpLine(folder);
    const char* const lines[] = {"item_lookup_hint_1m", "item_lookup_hint_1m_ms", "product_list_all_first_1m",
                                 "product_list_first_memory_1m", "payments_list_all_1m", "payments_list_memory_1m"};
    if (std::none_of(std::begin(lines), std::end(lines), [](const char* name) { return benchWanted(name); }))
        return;
    const std::string scaleFolder = folder + "scale/";
    std::filesystem::create_directory(scaleFolder);
    const CLocalFile local(scaleFolder);
    if (!createProducts(local.GetPath("Products")) || !createPayments(local.GetPath("Payments"))) {
        std::fprintf(stderr, "cannot create the files in %s\n", scaleFolder.c_str());
        return;
    }
    lookupLines(local);
    listLines(local);
    std::filesystem::remove_all(scaleFolder);
}
