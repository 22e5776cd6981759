#pragma once
#include <string>

// Over 500,000 sales of three lines on average: the period summary, Find
// Sales, the drawer count and a grouped report read from the sales index
// against the full pass over the sales file, interleaved; finishing a sale
// with the index beside the sales file against finishing it without; and the
// size of the index beside that of the sales file.
void runSalesIndexBenchmarks(const std::string& folder);
