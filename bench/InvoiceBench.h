#pragma once
// Timings of the invoice file's scans and appends over a file of 50,000 sales.

#include <string>

// Builds the sales in `folder` (with its trailing separator) and prints one
// BENCH line per measurement.
void runInvoiceBenchmarks(const std::string& folder);

// p99 and worst time of one append while 8 processes, each a register of its
// own, append sales to one invoice file in `folder` at once.
void runContendedAppends(const std::string& folder);
