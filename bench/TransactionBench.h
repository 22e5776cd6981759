#pragma once
#include <string>

// Changes under the transaction against the least their work allows, as
// alternating pairs; prints the median of the per-pair ratios.
void runTransactionBenchmarks(const std::string& folder);
