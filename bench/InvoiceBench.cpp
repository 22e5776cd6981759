#include "InvoiceBench.h"

#include "BenchPair.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kSales = 50000;
constexpr std::size_t kWriteBlockRecords = 256;
constexpr std::size_t kReadBlock = 64 * 1024;

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
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Create) != FileCause::None)
        return false;
    std::uint8_t count[4];
    codec::putI32(count, 0, kSales);
    if (!file.writeAt(0, count, sizeof count))
        return false;
    std::vector<std::uint8_t> block(kWriteBlockRecords * InvoiceRecord::kSize);
    for (int first = 0; first < kSales; first += static_cast<int>(kWriteBlockRecords)) {
        const int take = std::min<int>(static_cast<int>(kWriteBlockRecords), kSales - first);
        for (int i = 0; i < take; ++i)
            benchSale(first + i).encode(block.data() + static_cast<std::size_t>(i) * InvoiceRecord::kSize);
        if (!file.writeAt(InvoiceOffset(first), block.data(), static_cast<std::size_t>(take) * InvoiceRecord::kSize))
            return false;
    }
    return file.sync();
}

// The floor for any scan: reading the whole file in 64 KiB blocks.
long long plainRead(const std::string& path)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Read) != FileCause::None)
        return 0;
    std::vector<std::uint8_t> block(kReadBlock);
    long long total = 0;
    for (long long off = 0;; off += static_cast<long long>(kReadBlock)) {
        const long long got = file.readAt(off, block.data(), block.size());
        if (got <= 0)
            break;
        total += got;
    }
    return total;
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
    volatile long long sink = 0;
    const auto readAll = [&] { sink = sink + plainRead(path); };
    float blockSum = 0, naiveSum = 0;
    benchPair({"sold_quantity_in_range", "read_64k_blocks", 2,
               [&] { blockSum = SoldQuantityInRange(local, item, from, to); }, readAll, {}, 15});
    benchPair({"sold_quantity_naive", "read_64k_blocks", 0, [&] { naiveSum = naiveSoldQuantity(path, item, from, to); },
               readAll, {}, 5});
    if (benchWanted("sold_quantity_in_range") && benchWanted("sold_quantity_naive") && blockSum != naiveSum)
        std::fprintf(stderr, "invoice benchmark: block scan %g differs from record reading %g\n",
                     static_cast<double>(blockSum), static_cast<double>(naiveSum));

    // One sale appended against the bare cost of one synced record write.
    const std::string scratch = folder + "bench-sync.bin";
    DataFile bare;
    if (CLocalFile::OpenFile(bare, scratch, OpenMode::Create) != FileCause::None)
        return;
    std::vector<std::uint8_t> record(InvoiceRecord::kSize, 0x11);
    long long at = 0;
    int count = 0;
    const CalendarTime now = day(2006, 7, 1);
    benchPair({"append_invoice", "one_synced_write", 1.5,
               [&] {
                   InvoiceRecord sale = benchSale(count);
                   AppendInvoice(local, sale, count, now);
               },
               [&] {
                   bare.writeAt(at, record.data(), record.size());
                   bare.sync();
                   at += static_cast<long long>(record.size());
               },
               {}, 31});
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
    int go[2];
    if (pipe(go) != 0)
        return;
    std::vector<std::pair<pid_t, int>> registers;  // process, read end of its times
    for (int r = 0; r < kRegisters; ++r) {
        int times[2];
        if (pipe(times) != 0)
            break;
        const pid_t pid = fork();
        if (pid == 0) {
            close(go[1]);
            close(times[0]);
            char c;
            if (read(go[0], &c, 1) != 0)  // all start when the parent closes the pipe
                _exit(2);
            const CLocalFile mine(shared);
            int count = 0;
            std::vector<double> ms;
            for (int i = 0; i < appends; ++i) {
                InvoiceRecord sale = benchSale(r * appends + i);
                int stored = -1;
                ms.push_back(timeMs([&] { stored = AppendInvoice(mine, sale, count, now); }));
                if (stored < 0)
                    _exit(1);
            }
            const auto* bytes = reinterpret_cast<const char*>(ms.data());
            std::size_t left = ms.size() * sizeof(double);
            while (left > 0) {
                const ssize_t w = write(times[1], bytes, left);
                if (w <= 0)
                    _exit(3);
                bytes += w;
                left -= static_cast<std::size_t>(w);
            }
            _exit(0);
        }
        close(times[1]);
        if (pid < 0) {
            close(times[0]);
            break;
        }
        registers.emplace_back(pid, times[0]);
    }
    close(go[0]);
    close(go[1]);

    std::vector<double> all;
    int failed = kRegisters - static_cast<int>(registers.size());
    for (const auto& [pid, fd] : registers) {
        double ms;
        while (read(fd, &ms, sizeof ms) == static_cast<ssize_t>(sizeof ms))
            all.push_back(ms);
        close(fd);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ++failed;
    }
    std::filesystem::remove_all(shared);
    if (all.empty()) {
        std::fprintf(stderr, "contended appends: no register finished (%d failed)\n", failed);
        return;
    }
    std::sort(all.begin(), all.end());
    const double p99 = all[(all.size() * 99 + 99) / 100 - 1];
    const std::string figures =
        strprintf("p99_ms=%.1f worst_ms=%.1f median_ms=%.2f one_append_alone_ms=%.2f appends=%zu failed_registers=%d",
                  p99, all.back(), all[all.size() / 2], alone[alone.size() / 2], all.size(), failed);
    benchLine(name, figures, "p99_ms<50", p99 < 50 && failed == 0);
}
