// Builds a data folder of 100,000 products and 50,000 sales in a temporary
// folder and prints one BENCH line per measurement.
#include "InvoiceBench.h"
#include "ProductBench.h"
#include "TransactionBench.h"

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    std::string folder = (std::filesystem::temp_directory_path() / "register-bench-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        return 1;
    folder += "/";
    // "transactions" runs only the transaction lines.
    const bool only = argc > 1 && std::string(argv[1]) == "transactions";
    if (!only) {
        runProductBenchmarks(folder);
        runInvoiceBenchmarks(folder);
    }
    runTransactionBenchmarks(folder);
    std::filesystem::remove_all(folder);
    return 0;
}
