#include "PurchasingBench.h"

#include "BenchFiles.h"
#include "BenchPair.h"
#include "purchasing/OrderEstimator.h"
#include "purchasing/PurchaseOrderDesk.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ProductFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <filesystem>
#include <vector>

namespace {
constexpr int kEstimatorProducts = 5000;
constexpr int kSales = 500000;
constexpr int kReceivingProducts = 100000;
constexpr int kOrderLines = 300;

std::string itemName(int i) { return strprintf("ITEM%06d", i); }


bool writeProducts(const std::string& path, int products)
{
    return WriteCountedFile(path, ProductRecord::kSize, products, [](int i, std::uint8_t* rec) {
        ProductRecord r;
        r.itemNumber = itemName(i);
        r.vendorNumber = strprintf("VN%06d", i);
        r.vendor = "Bench Supply";
        r.stock = 100;
        r.encode(rec);
    });
}

// Three lines a sale, items spread over the products, days over one year.
bool writeSales(const std::string& path)
{
    InvoiceRecord blank = ClearedInvoice();
    std::vector<std::uint8_t> model(InvoiceRecord::kSize);
    blank.encode(model.data());
    return WriteCountedFile(path, InvoiceRecord::kSize, kSales, [&](int i, std::uint8_t* rec) {
        std::copy(model.begin(), model.end(), rec);
        for (std::size_t line = 0; line < 3; ++line) {
            const int item = static_cast<int>((static_cast<unsigned>(i) * 7919u + line * 104729u) % kEstimatorProducts);
            codec::putText(rec, InvoiceRecord::kItemNumberOff + line * InvoiceRecord::kNameWidth, InvoiceRecord::kNameWidth,
                           itemName(item));
            codec::putF32(rec, InvoiceRecord::kQtyOff + 4 * line, 1.0f + static_cast<float>(line));
        }
        const int dayOfYear = i % 360;
        codec::putI16(rec, InvoiceRecord::kYearOff, 2025);
        codec::putI16(rec, InvoiceRecord::kMonthOff, static_cast<std::int16_t>(1 + dayOfYear / 30));
        codec::putI16(rec, InvoiceRecord::kDayOff, static_cast<std::int16_t>(1 + dayOfYear % 30));
    });
}

// The floor of any scan: the file read once, front to back, in 64 KiB blocks.
void readThrough(DataFile& file)
{
    std::vector<std::uint8_t> block(64 * 1024);
    for (long long offset = 0;;) {
        const long long got = file.readAt(offset, block.data(), block.size());
        if (got <= 0)
            break;
        offset += got;
    }
}

void estimatorLine(const CLocalFile& local)
{
    if (!benchWanted("order_estimator") || !writeProducts(local.GetPath("Products"), kEstimatorProducts) ||
        !writeSales(local.GetPath("Invoices")))
        return;
    std::vector<std::string> items;
    for (int i = 0; i < kEstimatorProducts; ++i)
        items.push_back(itemName(i));
    std::vector<double> sold;
    CalendarTime from, to;
    from.year = to.year = 2025;
    from.month = from.day = 1;
    to.month = 12;
    to.day = 31;
    benchPair({"order_estimator", "read_sales_64k_blocks", 1.5,
               [&] { OrderEstimator::SoldInRange(local, items, from, to, sold); },
               [&] {
                   DataFile file;
                   if (CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read) == FileCause::None)
                       readThrough(file);
               },
               {}, 7});
    std::filesystem::remove(local.GetPath("Invoices"));
}

void receivingLine(const CLocalFile& local)
{
    if (!benchWanted("po_receive") || !writeProducts(local.GetPath("Products"), kReceivingProducts))
        return;
    PurchaseOrderDesk desk;
    for (int i = 0; i < kOrderLines; ++i)  // spread to the end of the file
        desk.AddProduct(strprintf("VN%06d", (i + 1) * (kReceivingProducts / kOrderLines) - 1), "Bench", 1, 6);
    desk.order.number = "BENCH";
    const DeskPrompts quiet{[](const std::string&) {}, [](const std::string&) { return true; }};
    if (!desk.Save(local, quiet))
        return;
    const std::string order = PurchaseOrderDesk::PathFor(local, "BENCH");
    const std::string scratch = local.dataFolder() + "scratch.bin";
    // What receiving cannot do without: the products read up to the last line's
    // product and the order read; the journal written and flushed, the stock
    // fields and the order written and flushed, the journal's mark cleared and flushed.
    const auto floor = [&] {
        DataFile products, po, journal;
        if (CLocalFile::OpenFile(products, local.GetPath("Products"), OpenMode::ReadWrite) != FileCause::None ||
            CLocalFile::OpenFile(po, order, OpenMode::ReadWrite) != FileCause::None ||
            CLocalFile::OpenFile(journal, scratch, OpenMode::OpenOrCreate) != FileCause::None)
            return;
        readThrough(products);
        std::vector<std::uint8_t> bytes(PurchaseOrderRecord::kSize + kOrderLines * 20);
        po.readAt(0, bytes.data(), PurchaseOrderRecord::kSize);
        journal.writeAt(0, bytes.data(), bytes.size());
        journal.sync();
        std::uint8_t stock[4] = {};
        for (int i = 0; i < kOrderLines; ++i) {
            products.readAt(ProductFile::recordOffset((i + 1) * (kReceivingProducts / kOrderLines) - 1) + 20, stock, 4);
            products.writeAt(ProductFile::recordOffset((i + 1) * (kReceivingProducts / kOrderLines) - 1) + 20, stock, 4);
        }
        products.sync();
        po.writeAt(0, bytes.data(), PurchaseOrderRecord::kSize);
        po.sync();
        journal.writeAt(0, bytes.data(), 24);
        journal.sync();
    };
    benchPair({"po_receive_300_lines_100k_products", "reads_and_four_flushes", 1.5,
               [&] { desk.Receive(local, PurchaseOrderDesk::Stock::Add, quiet); }, floor,
               [&] { desk.Receive(local, PurchaseOrderDesk::Stock::Sub, quiet); }, 21});
}
}  // namespace

void runPurchasingBenchmarks(const std::string& folder)
{
    const std::string dir = folder + "purchasing/";
    std::filesystem::create_directories(dir);
    CLocalFile local(dir);
    receivingLine(local);
    estimatorLine(local);
    std::filesystem::remove_all(dir);
}
