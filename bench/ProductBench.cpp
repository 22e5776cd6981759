#include "ProductBench.h"

#include "BenchFloor.h"
#include "BenchPair.h"
#include "products/ProductTable.h"
#include "storage/files/CLocalFile.h"
#include "products/SaleStock.h"
#include "storage/files/ProductFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/ProductRecord.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

std::string itemName(int i) { return strprintf("ITEM%06d", i); }

// Writes the whole file in large blocks, bypassing the record-at-a-time append.
bool createProducts(const std::string& path, int products)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Create) != FileCause::None)
        return false;
    std::uint8_t count[4];
    codec::putI32(count, 0, products);
    if (!file.writeAt(0, count, sizeof count))
        return false;
    constexpr int kPerBlock = 1000;
    std::vector<std::uint8_t> block(kPerBlock * ProductRecord::kSize);
    for (int first = 0; first < products; first += kPerBlock) {
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

// Resident memory of this process in bytes, from /proc.
long long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// A user's first "List All": a table made for it, so it starts empty, against
// the file read once in 64 KiB blocks. The memory of the round before goes back
// to the system first, so that the table cannot reuse pages already mapped.
void firstListAll(const CLocalFile& local)
{
    const std::string path = local.GetPath("Products");
    auto fresh = std::make_unique<ProductTable>();
    benchPair({"product_list_all", "read_64k_blocks", 10, [&] { fresh->listAll(local); },
               [&] { readBlocks(path); },
               [&] {
                   fresh = std::make_unique<ProductTable>();
                   malloc_trim(0);
               },
               21});
}

// The product editor's list: "List All" into the view's table and a search
// that matches nothing, against a plain read of the file; and the memory the
// listed table holds against the file's size.
void listLines(const CLocalFile& local, int products)
{
    const std::string path = local.GetPath("Products");
    const auto plainRead = [&] { readBlocks(path); };
    firstListAll(local);
    ProductTable table;
    ProductSearch none;
    none.description = "no such words";
    benchPair({"product_search_no_match", "read_64k_blocks", 2, [&] { table.listMatching(local, none); }, plainRead, {}, 21});
    if (!benchWanted("product_list_memory"))
        return;
    const long long fileBytes = ProductFile::recordOffset(products);
    table.clear();
    ProductTable listed;
    // Memory the earlier listings freed goes back to the system first, so that
    // what this listing holds shows as resident memory it adds.
    malloc_trim(0);
    const long long before = residentBytes();
    listed.listAll(local);
    const long long held = residentBytes() - before;
    const double ratio = static_cast<double>(held) / static_cast<double>(fileBytes);
    benchLine("product_list_memory", strprintf("rows=%zu held_mb=%.1f file_mb=%.1f ratio=%.2f", listed.size(),
                                               static_cast<double>(held) / 1e6, static_cast<double>(fileBytes) / 1e6, ratio),
              "2", ratio < 2);
}

// Builds a file of `products` products and times the lookups of the last and
// of a missing code, each against one plain read of that file. `suffix` tells
// the lines of the file sizes apart. False when the file could not be built.
bool lookupLines(const CLocalFile& local, int products, const std::string& suffix, int rounds)
{
    const std::string path = local.GetPath("Products");
    if (!createProducts(path, products)) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        return false;
    }
    const std::string last = itemName(products - 1);
    ProductRecord found;
    const auto plainRead = [&] { readBlocks(path); };
    benchPair({"lookup_last" + suffix, "read_64k_blocks", 2, [&] { LookupForSale(local, last, found); }, plainRead,
               {}, rounds});
    benchPair({"lookup_missing" + suffix, "read_64k_blocks", 2, [&] { LookupForSale(local, "NO-SUCH-ITEM", found); },
               plainRead, {}, rounds});
    return true;
}
}  // namespace

void runProductBenchmarks(const std::string& folder)
{
    constexpr int kProducts = 100000;
    const CLocalFile local(folder);
    if (!lookupLines(local, kProducts, "", 61))
        return;
    const std::string path = local.GetPath("Products");
    listLines(local, kProducts);
    ProductRecord found;
    benchPair({"lookup_last_naive", "read_64k_blocks", 0, [&] { naiveLookup(path, itemName(kProducts - 1), found); },
               [&] { readBlocks(path); }, {}, 5});

    std::array<StockLine, 20> sale{};
    std::vector<ChangeFloor::Range> stockFields;
    std::vector<long long> records;
    for (int i = 0; i < 20; ++i) {
        const int at = i * (kProducts / 20) + kProducts / 40;
        sale[static_cast<std::size_t>(i)] = {itemName(at), 1};
        records.push_back(ProductFile::recordOffset(at));
        stockFields.push_back({records.back() + static_cast<long long>(ProductRecord::kStockOffset), 4});
    }
    // The 20 product records read where the register's map of the codes puts
    // them; 3 flushes: journal, stock, journal.
    ChangeFloor stockFloor(folder, {path});
    benchPair({"take_sale_from_stock", "read(20_products)+3_flushes(journal,stock,journal)", 2,
               [&] { TakeSaleFromStock(local, sale); },
               [&] {
                   readJournalMark(path);
                   readAt(path, records, ProductRecord::kSize);
                   stockFloor.run({stockFields});
               },
               {}, 41});

    // The first List All at 1,000,000 products is ScaleBench's line.
    if (!benchWanted("lookup_last_1m") && !benchWanted("lookup_missing_1m"))
        return;
    const std::string millionFolder = folder + "million/";
    std::filesystem::create_directory(millionFolder);
    const CLocalFile million(millionFolder);
    lookupLines(million, 1000000, "_1m", 15);
    std::filesystem::remove_all(millionFolder);
}
