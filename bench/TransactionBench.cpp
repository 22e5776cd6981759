#include "TransactionBench.h"

#include "BenchPair.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/ProductRecord.h"
#include "storage/records/TextFormat.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
constexpr int kProducts = 1000;

// The least a change can write: the bytes it must keep (the journal), then
// the same bytes at the same places as the change in copies of the data files,
// each file flushed in turn, then the journal's mark cleared and flushed.
struct Floor {
    Floor(const std::string& folder, const std::vector<std::string>& copies)
    {
        journal.tryOpen(folder + "floor-journal-" + std::filesystem::path(copies.front()).filename().string(),
                        OpenMode::Create);
        for (const auto& path : copies) {
            const std::string copy = folder + "floor-" + std::filesystem::path(path).filename().string();
            std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
            files.push_back(std::make_unique<DataFile>());
            files.back()->tryOpen(copy, OpenMode::ReadWrite);
        }
    }
    // writes[f]: (offset, bytes) changed in file f.
    void run(const std::vector<std::vector<std::pair<long long, std::size_t>>>& writes)
    {
        std::size_t kept = 24;
        for (const auto& w : writes)
            for (const auto& [at, n] : w)
                kept += 16 + n;
        std::vector<std::uint8_t> bytes(kept, 0x5A);
        journal.writeAt(0, bytes.data(), bytes.size());
        journal.sync();
        for (std::size_t f = 0; f < writes.size(); ++f) {
            for (const auto& [at, n] : writes[f])
                files[f]->writeAt(at, bytes.data(), n);
            files[f]->sync();
        }
        journal.writeAt(0, bytes.data(), 24);
        journal.sync();
    }
    DataFile journal;
    std::vector<std::unique_ptr<DataFile>> files;
};

void readWhole(const std::string& path)
{
    DataFile file;
    if (file.tryOpen(path, OpenMode::Read) != FileCause::None)
        return;
    std::vector<std::uint8_t> block(64 * 1024);
    for (long long at = 0;;) {
        const long long got = file.readAt(at, block.data(), block.size());
        if (got <= 0)
            break;
        at += got;
    }
}

void readRecord(const std::string& path, long long offset, std::size_t n)
{
    DataFile file;
    std::vector<std::uint8_t> buf(n);
    if (file.tryOpen(path, OpenMode::Read) == FileCause::None)
        file.readAt(offset, buf.data(), n);
}

std::string item(int i) { return strprintf("T%05d", i); }
}  // namespace

void runTransactionBenchmarks(const std::string& parent)
{
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

    // The stock fields of a sale's 20 lines.
    auto stockFields = [&](int n) {
        std::vector<std::pair<long long, std::size_t>> fields;
        for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l)
            fields.emplace_back(ProductFile::recordOffset((n * 37 + static_cast<int>(l) * 49) % kProducts) +
                                    static_cast<long long>(ProductRecord::kStockOffset),
                                4);
        return fields;
    };
    SalesFileHeader header;
    OpenOrCreateHeader(local, header);
    Floor saleFloor(folder, {invoices, products});
    Floor headerFloor(folder, {local.GetPath("Head")});

    int voided = 0;
    benchPair({"void_sale", "read(sale)+read(products)+4_flushes(journal,sale,stock,journal)", 1.5,
               [&] { VoidInvoice(local, voided++ % 8); },
               [&] {
                   const int n = voided % 8;
                   readRecord(invoices, InvoiceOffset(n), InvoiceRecord::kSize);
                   readWhole(products);
                   saleFloor.run({{{InvoiceOffset(n), InvoiceRecord::kSize}}, stockFields(n)});
               },
               {}, 41});
    benchPair({"take_stock_20_lines", "read(products)+3_flushes(journal,stock,journal)", 1.5,
               [&] { TakeSaleFromStock(local, lines); },
               [&] {
                   readWhole(products);
                   saleFloor.run({{}, stockFields(3)});
               },
               {}, 41});
    benchPair({"write_header", "3_flushes(journal,header,journal)", 1.5, [&] { WriteHeader(local, header); },
               [&] { headerFloor.run({{{0, SalesFileHeader::kFileSize}}}); }, {}, 41});
    // Two ordered flushes: a record at the end of a growing file, then its count.
    DataFile grown;
    grown.tryOpen(folder + "grown.bin", OpenMode::Create);
    long long end = 4;
    const std::vector<std::uint8_t> record(InvoiceRecord::kSize, 0x33);
    benchPair({"append_sale", "2_flushes", 1.3,
               [&] {
                   InvoiceRecord r = sale(count);
                   AppendInvoice(local, r, count, now);
               },
               [&] {
                   grown.writeAt(end, record.data(), record.size());
                   grown.sync();
                   grown.writeAt(0, &end, 4);
                   grown.sync();
                   end += static_cast<long long>(record.size());
               },
               {}, 41});
    std::filesystem::remove_all(folder);
}
