#pragma once

#include <string>

// Builds a 100,000-product file in `folder` and times the product lookups and
// the stock change of a sale against plain sequential reads of the same file.
void runProductBenchmarks(const std::string& folder);
