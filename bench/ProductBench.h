#pragma once

#include <string>

// Builds files of 100,000 and of 1,000,000 products in `folder` and times the
// product lookups, the product list and the stock change of a sale against plain sequential reads
// of the same file.
void runProductBenchmarks(const std::string& folder);
