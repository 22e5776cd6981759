// Builds data folders of 100,000 and 1,000,000 products, 50,000 and 500,000 sales in a
// temporary folder and prints one BENCH line per measurement (BenchPair.h).
#include "BenchPair.h"
#include "FinishBench.h"
#include "GraphBench.h"
#include "GroupedBench.h"
#include "InvoiceBench.h"
#include "ListBench.h"
#include "ProductBench.h"
#include "PurchasingBench.h"
#include "ReportBench.h"
#include "SalesIndexBench.h"
#include "ScaleBench.h"
#include "TransactionBench.h"

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    benchOptions(argc, argv);
    std::string folder = (std::filesystem::temp_directory_path() / "register-bench-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        return 1;
    folder += "/";
    runProductBenchmarks(folder);
    runInvoiceBenchmarks(folder);
    runContendedAppends(folder);
    runTransactionBenchmarks(folder);
    runFinishBenchmark(folder);
    runReportBenchmarks(folder);
    runGraphBenchmarks(folder);
    runGroupedBenchmarks(folder);
    runSalesIndexBenchmarks(folder);
    runPurchasingBenchmarks(folder);
    runScaleBenchmarks(folder);
    runListBenchmarks(folder);
    std::filesystem::remove_all(folder);
    return 0;
}
