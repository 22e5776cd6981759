#include "InvoiceBench.h"

#include "BenchSupport.h"
#include "ByteCodec.h"
#include "CLocalFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"

#include <cstdio>
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
    const CLocalFile local(folder);
    const std::string path = local.GetPath("Invoices");
    if (!buildSales(path)) {
        std::fprintf(stderr, "invoice benchmark: cannot build %s\n", path.c_str());
        return;
    }

    const CalendarTime from = day(2005, 3, 1), to = day(2006, 6, 30);
    const std::string item = "item-123";
    volatile long long sink = 0;
    const double readMs = medianMs(5, [&] { sink = sink + plainRead(path); });
    float blockSum = 0, naiveSum = 0;
    const double scanMs = medianMs(5, [&] { blockSum = SoldQuantityInRange(local, item, from, to); });
    reportBench("sold_quantity_in_range", scanMs, readMs);
    const double naiveMs = medianMs(5, [&] { naiveSum = naiveSoldQuantity(path, item, from, to); });
    reportBench("sold_quantity_naive", naiveMs, readMs);
    if (blockSum != naiveSum)
        std::fprintf(stderr, "invoice benchmark: block scan %g differs from record reading %g\n",
                     static_cast<double>(blockSum), static_cast<double>(naiveSum));

    // One sale appended against the bare cost of one synced record write.
    const std::string scratch = folder + "bench-sync.bin";
    DataFile bare;
    if (CLocalFile::OpenFile(bare, scratch, OpenMode::Create) != FileCause::None)
        return;
    std::vector<std::uint8_t> record(InvoiceRecord::kSize, 0x11);
    long long at = 0;
    const double syncMs = medianMs(31, [&] {
        bare.writeAt(at, record.data(), record.size());
        bare.sync();
        at += static_cast<long long>(record.size());
    });
    bare.close();
    int count = 0;
    const CalendarTime now = day(2006, 7, 1);
    const double appendMs = medianMs(31, [&] {
        InvoiceRecord sale = benchSale(count);
        AppendInvoice(local, sale, count, now);
    });
    reportBench("append_invoice", appendMs, syncMs);
}
