#pragma once
// How a sale moves stock: its goods leave stock when it is stored and come back
// when it is voided or opened again for editing.

#include "storage/files/ProductFile.h"

#include <span>

class CLocalFile;
class DataFile;
struct InvoiceRecord;
class Transaction;

enum class StockDirection { Take, Return };

// Inside a transaction that holds the product file, each line takes its
// quantity from (or gives it back to) its product's stock: see StageStockChanges.
int ApplySaleToStock(Transaction& tx, DataFile& productFile, std::span<const StockLine> lines,
                     StockDirection direction);
// The same in a transaction of its own over the product file. Return the open
// cause, or Generic when a read or write failed (nothing changed).
int TakeSaleFromStock(const CLocalFile& local, std::span<const StockLine> lines);
int ReturnSaleToStock(const CLocalFile& local, std::span<const StockLine> lines);

// Voids a stored sale in place: its goods back to stock, paid set, each filled
// line zeroed and its description prefixed "VOIDED - ", the totals zeroed.
// Nothing changes when either file cannot be opened or the number is not a
// stored sale. Returns the failure cause (0 when voided).
int VoidInvoice(const CLocalFile& local, int recordNumber);
// The first half of editing a stored sale: the same, but paid and the
// descriptions stay; `unchanged` (when given) receives the sale as it was.
int ReturnInvoiceToStock(const CLocalFile& local, int recordNumber, InvoiceRecord* unchanged = nullptr);
