#pragma once
// The hour-of-week graph's one pass over 500,000 sales, against reading the
// same sales file.

#include <string>

// Builds the sales file in `folder` (with its trailing separator), prints its
// BENCH line and removes the file again.
void runGraphBenchmarks(const std::string& folder);
