#include "ProductBench.h"

#include "BenchSupport.h"
#include "ByteCodec.h"
#include "CLocalFile.h"
#include "DataFile.h"
#include "ProductFile.h"
#include "ProductRecord.h"
#include "TextFormat.h"

#include <array>
#include <cstdio>
#include <vector>

namespace {
constexpr int kProducts = 100000;
constexpr int kRuns = 9;

std::string itemName(int i) { return strprintf("ITEM%06d", i); }

// Writes the whole file in large blocks, bypassing the record-at-a-time append.
bool createProducts(const std::string& path)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Create) != FileCause::None)
        return false;
    std::uint8_t count[4];
    codec::putI32(count, 0, kProducts);
    if (!file.writeAt(0, count, sizeof count))
        return false;
    constexpr int kPerBlock = 1000;
    std::vector<std::uint8_t> block(kPerBlock * ProductRecord::kSize);
    for (int first = 0; first < kProducts; first += kPerBlock) {
        for (int i = 0; i < kPerBlock; ++i) {
            ProductRecord r;
            r.itemNumber = itemName(first + i);
            r.barCode = strprintf("BC%08d", first + i);
            r.description = "Benchmark product " + r.itemNumber;
            r.stock = 1000000;
            r.price[0] = 9.99f;
            r.encode(block.data() + static_cast<std::size_t>(i) * ProductRecord::kSize);
        }
        if (!file.writeAt(ProductFile::recordOffset(first), block.data(), block.size()))
            return false;
    }
    return file.sync();
}

// The floor of any scan: the file read once, front to back, in 64 KiB blocks.
void readSequentially(const std::string& path, OpenMode mode, bool sync)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, mode) != FileCause::None)
        return;
    std::vector<std::uint8_t> block(64 * 1024);
    long long offset = 0;
    for (;;) {
        const long long got = file.readAt(offset, block.data(), block.size());
        if (got <= 0)
            break;
        offset += got;
    }
    if (sync)
        file.sync();
}

std::string lowered(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The lookup read one record at a time, each decoded whole.
bool naiveLookup(const std::string& path, const std::string& code, ProductRecord& out)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Read) != FileCause::None)
        return false;
    std::uint8_t count[4];
    if (!readFully(file, 0, count, sizeof count))
        return false;
    const int n = codec::getI32(count, 0);
    const std::string key = lowered(code);
    std::uint8_t buf[ProductRecord::kSize];
    for (int i = 0; i < n; ++i) {
        if (!readFully(file, ProductFile::recordOffset(i), buf, sizeof buf))
            return false;
        out.decode(buf);
        if (lowered(out.itemNumber) == key || lowered(out.barCode) == key)
            return true;
    }
    return false;
}
}  // namespace

void runProductBenchmarks(const std::string& folder)
{
    const CLocalFile local(folder);
    const std::string path = local.GetPath("Products");
    if (!createProducts(path)) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        return;
    }
    const std::string last = itemName(kProducts - 1);
    ProductRecord found;

    const double readMs = medianMs(kRuns, [&] { readSequentially(path, OpenMode::Read, false); });
    reportBench("lookup_last", medianMs(kRuns, [&] { LookupForSale(local, last, found); }), readMs);
    reportBench("lookup_missing", medianMs(kRuns, [&] { LookupForSale(local, "NO-SUCH-ITEM", found); }), readMs);
    reportBench("lookup_last_naive", medianMs(kRuns, [&] { naiveLookup(path, last, found); }), readMs);

    std::array<StockLine, 20> sale{};
    for (int i = 0; i < 20; ++i)
        sale[static_cast<std::size_t>(i)] = {itemName(i * (kProducts / 20) + kProducts / 40), 1};
    const double readSyncMs = medianMs(kRuns, [&] { readSequentially(path, OpenMode::ReadWrite, true); });
    reportBench("take_sale_from_stock", medianMs(kRuns, [&] { TakeSaleFromStock(local, sale); }), readSyncMs);
}
