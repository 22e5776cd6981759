#include "FinishBench.h"

#include "BenchFloor.h"
#include "BenchPair.h"
#include "BenchRegisters.h"
#include "sale/SaleEditing.h"
#include "sale/SaleFinish.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {
constexpr int kProducts = 100000;
constexpr int kLineSpacing = 4999;  // line l sells product l * kLineSpacing + the sale's serial
const CalendarTime kNow{2026, 12, 7, 10, 0, 0, 1, 340};

class Silent : public FinishPrompt {
public:
    void tell(const std::string&) override {}
    bool askYesNo(const std::string&) override { return true; }
};

std::string itemName(int i) { return strprintf("FIN%06d", i); }
int lineProduct(std::size_t line, int serial) { return static_cast<int>((line * kLineSpacing + serial) % kProducts); }

void createProducts(const CLocalFile& local)
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

// A register of its own over `local`: the sale screen's state and its finishing.
struct Till {
    explicit Till(CLocalFile& local) : state(local, header, [] { return kNow; }), finish(state, silent, [] { return kNow; })
    {
        header.mustSelectCashier = header.mustSelectPayType = header.mustEnterCashPaid = 0;
    }
    // A new sale of 20 lines spread over the product file, rung up but not finished.
    void ringUp(int serial)
    {
        state.Open();
        for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l) {
            state.current.itemNumber[l] = itemName(lineProduct(l, serial));
            state.current.qty[l] = 1;
            state.current.lineMode[l] = 0;
        }
        state.Recalculate();
    }
    bool finishSale() { return finish.FinishSale({"Ann", "Bob", "Check"}) == SaleFinish::Result::Stored; }

    SalesFileHeader header;
    SaleState state;
    Silent silent;
    SaleFinish finish;
};

// The records of a sale's lines and their stock fields: the finish finds them
// by the register's map of the codes and reads each back.
std::vector<long long> productRecords(int serial)
{
    std::vector<long long> records;
    for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l)
        records.push_back(ProductFile::recordOffset(lineProduct(l, serial)));
    return records;
}
std::vector<ChangeFloor::Range> stockFields(int serial)
{
    std::vector<ChangeFloor::Range> fields;
    for (const long long at : productRecords(serial))
        fields.push_back({at + static_cast<long long>(ProductRecord::kStockOffset), 4});
    return fields;
}

// p50 and p99 of the appends of 4 registers while 4 others finish 20-line
// sales over the same files, each register a process of its own.
void appendsBesideFinishing(const std::string& base)
{
    constexpr int kAppending = 4, kFinishing = 4;
    const std::string name = strprintf("append_p99_%d_registers_%d_finishing_%dk_products", kAppending + kFinishing,
                                       kFinishing, kProducts / 1000);
    if (!benchWanted(name))
        return;
    const std::string shared = base + "finishing-registers/";
    std::filesystem::create_directories(shared);
    createProducts(CLocalFile(shared));
    int none = 0;
    if (ReadInvoiceCount(CLocalFile(shared), none) != FileCause::None)  // creates the empty file
        return;
    const int appends = benchAppends(100);
    std::vector<BenchRegister> registers;
    for (int r = 0; r < kAppending; ++r)
        registers.push_back(appendingRegister(
            shared, appends,
            [r, appends](int i) {
                InvoiceRecord sale = ClearedInvoice();
                sale.payType = "Cash";
                sale.itemNumber[0] = itemName(r * appends + i);
                sale.qty[0] = 1;
                return sale;
            },
            kNow));
    for (int r = 0; r < kFinishing; ++r)
        registers.push_back({[&, r](std::vector<double>& ms, const std::function<bool()>& keepGoing) {
                                 CLocalFile mine(shared);
                                 Till till(mine);
                                 for (int serial = r; keepGoing(); serial += kFinishing) {
                                     till.ringUp(serial);
                                     bool stored = false;
                                     ms.push_back(timeMs([&] { stored = till.finishSale(); }));
                                     if (!stored)
                                         return false;
                                 }
                                 return true;
                             },
                             false});
    const BenchRegistersResult result = runRegisters(registers);
    std::filesystem::remove_all(shared);
    std::vector<double> appended, finished;
    for (std::size_t r = 0; r < result.ms.size(); ++r) {
        auto& into = registers[r].main ? appended : finished;
        into.insert(into.end(), result.ms[r].begin(), result.ms[r].end());
    }
    if (appended.empty()) {
        std::fprintf(stderr, "%s: no register finished (%d failed)\n", name.c_str(), result.failed);
        return;
    }
    std::sort(appended.begin(), appended.end());
    std::sort(finished.begin(), finished.end());
    const double p99 = percentile(appended, 99);
    benchLine(name,
              strprintf("p50_ms=%.2f p99_ms=%.1f worst_ms=%.1f appends=%zu finish_p50_ms=%.1f finish_p99_ms=%.1f "
                        "finishes=%zu failed_registers=%d",
                        percentile(appended, 50), p99, appended.back(), appended.size(), percentile(finished, 50),
                        percentile(finished, 99), finished.size(), result.failed),
              "p99_ms<50", p99 < 50 && result.failed == 0);
}
}  // namespace

void runFinishBenchmark(const std::string& base)
{
    appendsBesideFinishing(base);
    const std::string finishName = strprintf("finish_sale_20_lines_%dk_products", kProducts / 1000);
    const std::string voidName = strprintf("void_this_sale_20_lines_%dk_products", kProducts / 1000);
    if (!benchWanted(finishName) && !benchWanted(voidName))
        return;
    const std::string folder = base + "finish/";
    std::filesystem::create_directories(folder);
    CLocalFile local(folder);
    createProducts(local);
    const std::string invoices = local.GetPath("Invoices");
    const std::string products = local.GetPath("Products");
    Till till(local);
    int serial = 0;
    till.ringUp(serial++);
    till.finishSale();  // the sales file exists before the floor copies it
    ChangeFloor floor(folder, {invoices, products});
    int floorSales = 1;

    // The journal's mark read once for the files the sale locks, the sales
    // count read, the 20 product records read; 4 flushes: journal, sales file
    // (the sale past the end and the count), stock, journal.
    const auto finishFloor = [&] {
        readJournalMark(invoices);
        readBytes(invoices, 0, 4);
        readAt(products, productRecords(serial), ProductRecord::kSize);
        floor.run({{{InvoiceOffset(floorSales), InvoiceRecord::kSize, true}, {0, 4}}, stockFields(serial)});
        ++floorSales;
    };
    benchPair({finishName, "read(journal_mark,count,20_products)+4_flushes(journal,sale,stock,journal)", 1.5,
               [&] { till.finishSale(); }, finishFloor, [&] { till.ringUp(++serial); }});

    // "Void This Sale" on the sale just finished, as the screen does it: the
    // count and the sale read, its 20 product records read; 4 flushes: journal,
    // sale, stock, journal; the voided sale read again to show it.
    int shown = 0;
    benchPair({voidName, "read(count,sale,20_products,sale)+4_flushes(journal,sale,stock,journal)", 1.5,
               [&] { SaleEditing(till.state).Void(); },
               [&] {
                   readForVoid(invoices, InvoiceOffset(shown), InvoiceRecord::kSize, products, productRecords(serial));
                   floor.run({{{InvoiceOffset(0), InvoiceRecord::kSize}}, stockFields(serial)});
                   readBytes(invoices, InvoiceOffset(shown), InvoiceRecord::kSize);
               },
               [&] {
                   till.ringUp(++serial);
                   till.finishSale();
                   shown = static_cast<int>(local.currentRecord);
               }});
    std::filesystem::remove_all(folder);
}
