#pragma once
// Timings of the grouped reports over 500,000 sales: by product over 5,000
// products, and by customer over 10,000 customers, each against reading the
// sales file and the file it groups by.

#include <string>

// Builds the files in `folder` (with its trailing separator), prints one BENCH
// line per measurement and removes them again.
void runGroupedBenchmarks(const std::string& folder);
