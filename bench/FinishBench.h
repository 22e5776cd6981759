#pragma once
#include <string>

// Over 100,000 products: finishing a 20-line sale and voiding it from the sale
// screen, each against its reads and the flushes its transaction needs; and the
// appends of four registers while four others finish sales.
void runFinishBenchmark(const std::string& folder);
