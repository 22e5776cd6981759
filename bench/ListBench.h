#pragma once

#include <string>

// A store of 500,000 sales and 100,000 customers in `folder`: Find Sales
// listing every sale (the pass, the list of positions and the first screen of
// rows formatted) and the customer list, each against a plain read of its file
// in 64 KiB blocks.
void runListBenchmarks(const std::string& folder);
