#pragma once

#include <string>

// A store of 1,000,000 products and 1,000,000 payments in `folder`: an item
// code lookup through the map of codes against one record read, and the first
// List All of the products and List All Payments on fresh lists against a
// plain read of their files, with the memory each list holds.
void runScaleBenchmarks(const std::string& folder);
