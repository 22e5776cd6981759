#include "InvoiceBench.h"

#include "BenchFiles.h"
#include "BenchFloor.h"
#include "BenchPair.h"
#include "BenchRegisters.h"
#include "storage/files/CLocalFile.h"
#include "receivables/PaidRule.h"
#include "storage/files/InvoiceFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
constexpr int kSales = 50000;

CalendarTime day(int year, int month, int d)
{
    CalendarTime t;
    t.year = year;
    t.month = month;
    t.day = d;
    t.hour = 10;
    return t;
}

InvoiceRecord benchSale(int n)
{
    InvoiceRecord r = ClearedInvoice();
    r.recordNumber = n;
    r.payType = "Cash";
    r.cashier = "Bench";
    DateRecord(r, day(2005 + n / 20000, 1 + (n / 1500) % 12, 1 + n % 28));
    for (std::size_t i = 0; i < 8; ++i) {
        r.itemNumber[i] = "ITEM-" + std::to_string((n * 7 + static_cast<int>(i) * 13) % 500);
        r.description[i] = "Bench product " + std::to_string(i);
        r.qty[i] = static_cast<float>(1 + (n + static_cast<int>(i)) % 5);
        r.price[i] = 9.95f;
    }
    return r;
}

// Writes the count and the sales directly, a block of records per write.
bool buildSales(const std::string& path)
{
    return WriteCountedFile(path, InvoiceRecord::kSize, kSales,
                            [](int n, std::uint8_t* at) { benchSale(n).encode(at); });
}

// The same sum read one record at a time, each decoded whole.
float naiveSoldQuantity(const std::string& path, const std::string& item, const CalendarTime& from,
                        const CalendarTime& to)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Read) != FileCause::None)
        return 0;
    const long long present = InvoiceRecordsPresent(file);
    const int fromKey = DateKey(from.year, from.month, from.day), toKey = DateKey(to.year, to.month, to.day);
    float sum = 0;
    InvoiceRecord r;
    for (long long n = 0; n < present; ++n) {
        if (!ReadInvoiceAt(file, n, r))
            break;
        if (DateKey(r) < fromKey || DateKey(r) > toKey)
            continue;
        for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i)
            if (EqualsIgnoreCase(r.itemNumber[i], item))
                sum += r.qty[i];
    }
    return sum;
}
}  // namespace

void runInvoiceBenchmarks(const std::string& folder)
{
    if (!benchWanted("sold_quantity_in_range") && !benchWanted("sold_quantity_naive") && !benchWanted("append_invoice"))
        return;
    const CLocalFile local(folder);
    const std::string path = local.GetPath("Invoices");
    if (!buildSales(path)) {
        std::fprintf(stderr, "invoice benchmark: cannot build %s\n", path.c_str());
        return;
    }

    const CalendarTime from = day(2005, 3, 1), to = day(2006, 6, 30);
    const std::string item = "item-123";
    const auto readAll = [&] { readBlocks(path); };
    float blockSum = 0, naiveSum = 0;
    benchPair({"sold_quantity_in_range", "read_64k_blocks", 2,
               [&] { blockSum = SoldQuantityInRange(local, item, from, to); }, readAll, {}, 15});
    benchPair({"sold_quantity_naive", "read_64k_blocks", 0, [&] { naiveSum = naiveSoldQuantity(path, item, from, to); },
               readAll, {}, 5});
    if (benchWanted("sold_quantity_in_range") && benchWanted("sold_quantity_naive") && blockSum != naiveSum)
        std::fprintf(stderr, "invoice benchmark: block scan %g differs from record reading %g\n",
                     static_cast<double>(blockSum), static_cast<double>(naiveSum));

    // The journal's mark and the count read; 2 ordered flushes: the sale past
    // the counted ones, then the count that takes it in.
    AppendFloor floor(path, folder + "floor-append-invoice.bin", InvoiceRecord::kSize);
    int count = 0;
    const CalendarTime now = day(2006, 7, 1);
    benchPair({"append_invoice", "read(count)+2_flushes(record,count)", 1.5,
               [&] {
                   InvoiceRecord sale = benchSale(count);
                   AppendInvoice(local, sale, count, now);
               },
               [&] {
                   readJournalMark(path);
                   floor.run();
               },
               {}, 31});
    std::filesystem::remove(folder + "floor-append-invoice.bin");
}

void runContendedAppends(const std::string& folder)
{
    constexpr int kRegisters = 8;
    const std::string name = "append_p99_8_registers";
    if (!benchWanted(name))
        return;
    const std::string shared = folder + "contended/";
    std::filesystem::create_directory(shared);
    int none = 0;
    if (ReadInvoiceCount(CLocalFile(shared), none) != FileCause::None)  // creates the empty file
        return;
    const int appends = benchAppends(100);
    const CalendarTime now = day(2006, 7, 1);
    // One append with nobody else about: in turn, a register waits for about
    // seven of these before its own.
    std::vector<double> alone;
    for (int i = 0; i < 21; ++i) {
        InvoiceRecord sale = benchSale(i);
        alone.push_back(timeMs([&] { AppendInvoice(CLocalFile(shared), sale, none, now); }));
    }
    std::sort(alone.begin(), alone.end());
    std::vector<BenchRegister> registers;
    for (int r = 0; r < kRegisters; ++r)
        registers.push_back(appendingRegister(shared, appends, [r, appends](int i) { return benchSale(r * appends + i); }, now));
    const BenchRegistersResult result = runRegisters(registers);
    std::filesystem::remove_all(shared);
    std::vector<double> all;
    for (const auto& ms : result.ms)
        all.insert(all.end(), ms.begin(), ms.end());
    if (all.empty()) {
        std::fprintf(stderr, "contended appends: no register finished (%d failed)\n", result.failed);
        return;
    }
    std::sort(all.begin(), all.end());
    const double p99 = percentile(all, 99);
    const std::string figures =
        strprintf("p99_ms=%.1f worst_ms=%.1f median_ms=%.2f one_append_alone_ms=%.2f appends=%zu failed_registers=%d",
                  p99, all.back(), all[all.size() / 2], alone[alone.size() / 2], all.size(), result.failed);
    benchLine(name, figures, "p99_ms<50", p99 < 50 && result.failed == 0);
}
