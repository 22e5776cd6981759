#include "FinishBench.h"

#include "BenchPair.h"
#include "sale/SaleFinish.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <filesystem>
#include <vector>

namespace {
constexpr int kProducts = 100000;
// Journal written and flushed, the invoice and product files flushed, the journal emptied and flushed.
constexpr int kFlushes = 4;
const CalendarTime kNow{2026, 12, 7, 10, 0, 0, 1, 340};

class Silent : public FinishPrompt {
public:
    void tell(const std::string&) override {}
    bool askYesNo(const std::string&) override { return true; }
};

std::string itemName(int i) { return strprintf("FIN%06d", i); }

// One pass over the product file in 64 KiB blocks, then kFlushes small synced writes.
void passAndFlushes(const std::string& products, const std::string& scratch)
{
    DataFile f;
    if (f.tryOpen(products, OpenMode::Read) != FileCause::None)
        return;
    std::vector<std::uint8_t> block(ProductFile::kScanBlockRecords * ProductRecord::kSize);
    for (long long at = 0; f.readAt(at, block.data(), block.size()) > 0;)
        at += static_cast<long long>(block.size());
    DataFile s;
    if (s.tryOpen(scratch, OpenMode::OpenOrCreate) != FileCause::None)
        return;
    const std::vector<std::uint8_t> bytes(InvoiceRecord::kSize, 1);
    for (int i = 0; i < kFlushes; ++i) {
        s.writeAt(i * static_cast<long long>(bytes.size()), bytes.data(), bytes.size());
        s.sync();
    }
}
}  // namespace

void runFinishBenchmark(const std::string& base)
{
    const std::string name = strprintf("finish_sale_20_lines_%dk_products", kProducts / 1000);
    if (!benchWanted(name))
        return;
    const std::string folder = base + "finish/";
    std::filesystem::create_directories(folder);
    CLocalFile local(folder);
    {
        std::vector<std::uint8_t> bytes(4 + static_cast<std::size_t>(kProducts) * ProductRecord::kSize);
        codec::putI32(bytes.data(), 0, kProducts);
        ProductRecord r;
        r.stock = 1e6f;
        for (int i = 0; i < kProducts; ++i) {
            r.itemNumber = itemName(i);
            r.encode(bytes.data() + 4 + static_cast<std::size_t>(i) * ProductRecord::kSize);
        }
        DataFile::createWhole(local.GetPath("Products"), bytes.data(), bytes.size());
    }
    SalesFileHeader header;
    header.mustSelectCashier = header.mustSelectPayType = header.mustEnterCashPaid = 0;
    SaleState state(local, header, [] { return kNow; });
    Silent silent;
    SaleFinish finish(state, silent, [] { return kNow; });
    int serial = 0;
    benchPair({name, strprintf("one_product_pass_%d_flushes", kFlushes), 1.5,
               [&] { finish.FinishSale({"Ann", "Bob", "Check"}); },
               [&] { passAndFlushes(local.GetPath("Products"), folder + "scratch"); },
               [&] {
                   state.Open();
                   for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l) {
                       // Spread over the file, the last line near its end.
                       state.current.itemNumber[l] = itemName(static_cast<int>((l * 4999 + serial) % kProducts));
                       state.current.qty[l] = 1;
                       state.current.lineMode[l] = 0;
                   }
                   ++serial;
                   state.Recalculate();
               }});
}
