#include "TransactionBench.h"

#include "BenchSupport.h"
#include "CLocalFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"
#include "ProductFile.h"
#include "SalesFileHeader.h"
#include "TextFormat.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
constexpr int kProducts = 1000;
constexpr int kPairs = 41;

double timeMs(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The operation and its floor, run in alternating pairs (which one goes first
// alternates too), so a shared machine's drift hits both alike.
void pairBench(const std::string& name, const std::string& floor, const std::function<void()>& op,
               const std::function<void()>& base)
{
    std::vector<double> opMs, baseMs, ratios;
    for (int i = 0; i < kPairs; ++i) {
        double o, b;
        if (i % 2) {
            o = timeMs(op);
            b = timeMs(base);
        } else {
            b = timeMs(base);
            o = timeMs(op);
        }
        opMs.push_back(o);
        baseMs.push_back(b);
        ratios.push_back(b > 0 ? o / b : 0);
    }
    std::printf("BENCH name=%s ms=%.3f base_ms=%.3f ratio=%.2f floor=%s pairs=%d\n", name.c_str(), median(opMs),
                median(baseMs), median(ratios), floor.c_str(), kPairs);
    std::fflush(stdout);
}

// n small writes, each flushed before the next, into files of their own.
struct Flushes {
    explicit Flushes(const std::string& folder, int n)
    {
        for (int i = 0; i < n; ++i) {
            files.push_back(std::make_unique<DataFile>());
            files.back()->tryOpen(folder + "floor-" + std::to_string(i) + ".bin", OpenMode::Create);
        }
    }
    void run(std::size_t bytes)
    {
        std::vector<std::uint8_t> data(bytes, 0x5A);
        for (auto& f : files) {
            f->writeAt(0, data.data(), data.size());
            f->sync();
        }
    }
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

    Flushes three(folder + "three-", 3), four(folder + "four-", 4);
    int voided = 0;
    pairBench(
        "void_sale", "read(sale)+read(products)+4_flushes", [&] { VoidInvoice(local, voided++ % 8); },
        [&] {
            readRecord(invoices, InvoiceOffset(voided % 8), InvoiceRecord::kSize);
            readWhole(products);
            four.run(InvoiceRecord::kSize);
        });
    pairBench(
        "take_stock_20_lines", "read(products)+3_flushes", [&] { TakeSaleFromStock(local, lines); },
        [&] {
            readWhole(products);
            three.run(20 * 4);
        });
    SalesFileHeader header;
    OpenOrCreateHeader(local, header);
    pairBench(
        "write_header", "3_flushes", [&] { WriteHeader(local, header); },
        [&] { three.run(SalesFileHeader::kFileSize); });
    // Two ordered flushes: a record at the end of a growing file, then its count.
    DataFile grown;
    grown.tryOpen(folder + "grown.bin", OpenMode::Create);
    long long end = 4;
    const std::vector<std::uint8_t> record(InvoiceRecord::kSize, 0x33);
    pairBench(
        "append_sale", "2_flushes", [&] {
            InvoiceRecord r = sale(count);
            AppendInvoice(local, r, count, now);
        },
        [&] {
            grown.writeAt(end, record.data(), record.size());
            grown.sync();
            grown.writeAt(0, &end, 4);
            grown.sync();
            end += static_cast<long long>(record.size());
        });
    std::filesystem::remove_all(folder);
}
