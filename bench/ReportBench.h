#pragma once
// Timings of the reports' one pass over 500,000 sales and 1,000,000 payments,
// and how long a register appending sales waits while a report runs.

#include <string>

// Builds the files in `folder` (with its trailing separator), prints one BENCH
// line per measurement and removes them again.
void runReportBenchmarks(const std::string& folder);
