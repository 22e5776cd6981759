#pragma once
#include <string>

// Finishing a 20-line sale over 100,000 products against one pass over the
// product file and the flushes the sale's transaction needs.
void runFinishBenchmark(const std::string& folder);
