#pragma once
// Which documents a finished sale prints, and in what order: the receipts
// (receiptsToPrint, at most 2), then the packing slips (packingSlips, at most
// 3). Each is one print job on the receipt printer with its own drawer kick.

#include "print/SaleLayout.h"

#include <vector>

class CLocalFile;

std::vector<SaleDocument> AfterSaleDocuments(const CLocalFile& local);
