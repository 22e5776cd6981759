#pragma once
#include <string>
// The order estimator over 5,000 products and 500,000 sales, and receiving a
// 300-line order against 100,000 products, each against its physical floor.
void runPurchasingBenchmarks(const std::string& folder);
