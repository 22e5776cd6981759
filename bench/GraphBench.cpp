#include "GraphBench.h"

#include "BenchFiles.h"
#include "BenchPair.h"
#include "reports/SaleScan.h"
#include "reports/graphs/SaleFigures.h"
#include "storage/files/CLocalFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
constexpr int kSales = 500000;

// Sales spread over six years, every hour of the day and every weekday.
CalendarTime momentOf(int n)
{
    CalendarTime t;
    civilFromDays(daysFromCivil(2020, 1, 1) + n / 97 % 2190, t.year, t.month, t.day);
    t.hour = n % 24;
    t.minute = n % 60;
    return t;
}

bool writeSales(const std::string& path)
{
    InvoiceRecord sale = ClearedInvoice();
    sale.taxableSubtotal = 24.95f;
    sale.exemptSubtotal = 3.5f;
    return WriteCountedFile(path, InvoiceRecord::kSize, kSales, [&](int n, std::uint8_t* at) {
        sale.recordNumber = n;
        DateRecord(sale, momentOf(n));
        sale.encode(at);
    });
}
}  // namespace

void runGraphBenchmarks(const std::string& folder)
{
    const std::string name = "week_hour_graph_500k_sales";
    if (!benchWanted(name))
        return;
    const std::string shared = folder + "graphs/";
    std::filesystem::create_directory(shared);
    const CLocalFile local(shared);
    const std::string sales = local.GetPath("Invoices");
    if (!writeSales(sales)) {
        std::fprintf(stderr, "graph benchmark: cannot build the sales file in %s\n", shared.c_str());
        std::filesystem::remove_all(shared);
        return;
    }
    volatile double sink = 0;
    benchPair({name, "read_64k_blocks", 1.5,
               [&] {
                   WeekHourFigures week(DateKey(2020, 1, 1), DateKey(2030, 12, 31));
                   ScanSales(local, week);
                   sink = sink + week.cell(0, 9);
               },
               [&] {
                   DataFile file;
                   if (CLocalFile::OpenFile(file, sales, OpenMode::Read) != FileCause::None)
                       return;
                   std::vector<std::uint8_t> block(64 * 1024);
                   long long done = 0;
                   for (long long got; (got = file.readAt(done, block.data(), block.size())) > 0;)
                       done += got;
                   sink = sink + static_cast<double>(done);
               },
               {}, 7});
    std::filesystem::remove_all(shared);
}
