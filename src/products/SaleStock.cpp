#include "products/SaleStock.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/SalesIndex.h"
#include "storage/io/DataFile.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"

#include <vector>

int ApplySaleToStock(Transaction& tx, DataFile& productFile, std::span<const StockLine> lines,
                     StockDirection direction)
{
    if (direction == StockDirection::Take)
        return StageStockChanges(tx, productFile, lines, [](float stock, float qty) { return stock - qty; });
    return StageStockChanges(tx, productFile, lines, [](float stock, float qty) { return stock + qty; });
}

namespace {
int changeStock(const CLocalFile& local, std::span<const StockLine> lines, StockDirection direction)
{
    const std::string path = local.GetPath("Products");
    RefreshProductMap(local);
    Transaction tx;
    tx.add(path);
    if (const int cause = tx.begin(); cause != FileCause::None)
        return cause;
    if (const int cause = ApplySaleToStock(tx, tx.file(path), lines, direction); cause != FileCause::None)
        return cause;
    return CommitKeepingProductCodes(tx, tx.file(path));
}
}  // namespace

int TakeSaleFromStock(const CLocalFile& local, std::span<const StockLine> lines)
{
    return changeStock(local, lines, StockDirection::Take);
}

int ReturnSaleToStock(const CLocalFile& local, std::span<const StockLine> lines)
{
    return changeStock(local, lines, StockDirection::Return);
}

namespace {

enum class Undo { Void, Edit };

// Voiding and the first half of editing: the sale's goods go back to stock and
// the stored record is emptied, both in one transaction.
int undoSale(const CLocalFile& local, int recordNumber, Undo undo, InvoiceRecord* before)
{
    RefreshProductMap(local);
    Transaction tx;
    tx.add(local.GetPath("Invoices"));
    tx.add(local.GetPath("Products"));
    JoinSalesIndex(tx, local.GetPath("Invoices"));
    if (const int cause = tx.begin(); cause != FileCause::None)
        return cause;
    DataFile& invoices = tx.file(local.GetPath("Invoices"));
    const long long present = InvoiceRecordsForChange(invoices);
    if (present < 0)
        return invoices.failure();
    if (recordNumber < 0 || recordNumber >= present)
        return FileCause::EndOfFile;
    InvoiceRecord sale;
    if (!ReadInvoiceAt(invoices, recordNumber, sale))
        return invoices.failure();
    if (before)
        *before = sale;

    std::vector<StockLine> lines;
    if (undo == Undo::Void)
        sale.paid = 1;
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        if (sale.itemNumber[i].empty())
            continue;
        lines.push_back(StockLine{sale.itemNumber[i], sale.qty[i]});
        sale.qty[i] = 0;
        sale.extended[i] = 0;
        if (undo == Undo::Void)
            sale.description[i] = codec::fitText("VOIDED - " + sale.description[i], InvoiceRecord::kTextWidth);
    }
    for (float* total : {&sale.discountPercent, &sale.taxableSubtotal, &sale.exemptSubtotal, &sale.tax1, &sale.tax2,
                         &sale.handling, &sale.total, &sale.totalCost})
        *total = 0;
    StageInvoiceAt(tx, invoices, recordNumber, sale);
    DataFile& products = tx.file(local.GetPath("Products"));
    if (const int cause = ApplySaleToStock(tx, products, lines, StockDirection::Return); cause != FileCause::None)
        return cause;
    return CommitKeepingProductCodes(tx, products);
}

}  // namespace

int VoidInvoice(const CLocalFile& local, int recordNumber)
{
    return undoSale(local, recordNumber, Undo::Void, nullptr);
}

int ReturnInvoiceToStock(const CLocalFile& local, int recordNumber, InvoiceRecord* unchanged)
{
    return undoSale(local, recordNumber, Undo::Edit, unchanged);
}

