#include "print/SaleDocuments.h"

#include "storage/files/CLocalFile.h"

#include <algorithm>

std::vector<SaleDocument> AfterSaleDocuments(const CLocalFile& local)
{
    std::vector<SaleDocument> documents(std::min<int>(local.receiptsToPrint, 2), SaleDocument::Receipt);
    documents.insert(documents.end(), std::min<int>(local.packingSlips, 3), SaleDocument::PackingSlip);
    return documents;
}
