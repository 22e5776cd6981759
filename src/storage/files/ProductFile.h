#pragma once
// Operations on the product file: a 4-byte record count followed by 320-byte
// ProductRecords. Every operation opens the file through CLocalFile::OpenFile,
// works and closes it again; nothing stays open.
//
// Scans read whole blocks of records and decode only the fields they compare;
// the first record in file order that matches wins, exactly as reading record
// by record would give. A count past the end reads as the records present; a
// negative count as every whole record, and every change is then refused.
// Changes are transactions (Transaction.h).

#include "storage/files/CountedFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ProductRecord.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CLocalFile;
class Transaction;

namespace ProductFile {
constexpr long long kCountSize = 4;
// Records per block read by the scans: 65,600 bytes.
constexpr std::size_t kScanBlockRecords = 205;
constexpr long long recordOffset(long long index) { return kCountSize + static_cast<long long>(ProductRecord::kSize) * index; }
}  // namespace ProductFile

// Criteria of a product search; every text is already lower-cased.
struct ProductSearch {
    std::string itemNumber;    // up to 23 characters
    std::string vendorNumber;  // up to 23 characters
    std::string category;      // up to 39 characters
    std::string vendor;
    std::string department;
    std::string description;
    bool lowQuantity = false;
    float lowQuantityThreshold = 0;
};

// One row of a product list: cells[c] is the text of column c. Columns a
// fill does not set hold empty text.
struct ProductListRow {
    std::vector<std::string> cells;
};

// Column numbers of the product lists.
namespace ProductColumn {
constexpr int kItem = 0, kDescription = 1, kCost = 2, kPrice = 3 /* .. 8 */, kStock = 9, kSalePercent = 10,
              kVendor = 11, kVendorNumber = 12, kCategory = 13, kDepartment = 14, kCase = 15, kTax = 16,
              kBarCode = 17, kTouch = 18, kCommission = 19, kMode = 20;
constexpr int kCount = 21;
}  // namespace ProductColumn
const char* ProductColumnCaption(int column);

// One line slot of a sale as the stock operations see it.
struct StockLine {
    std::string itemNumber;  // an empty item number is an empty slot
    float qty = 0;
};

// Opens the file for reading; a missing file is created holding the count 0.
// Returns the open cause (0 when the file exists or was created).
int EnsureProductFile(const CLocalFile& local);

// Number of records present (a damaged count is corrected as above).
int ReadProductCount(const CLocalFile& local, long long& count);

// One row per record in file order. ListProducts fills every column but the bar
// code; ListMatchingProducts only rows for which MatchesSearch holds, without
// the bar code, commission and mode columns. Return the open cause.
int ListProducts(const CLocalFile& local, std::vector<ProductListRow>& rows);
int ListMatchingProducts(const CLocalFile& local, const ProductSearch& search, std::vector<ProductListRow>& rows);
// The row ListProducts makes of a record (the editor adds the bar code itself).
ProductListRow ProductRow(const ProductRecord& record);
bool MatchesSearch(const ProductRecord& record, const ProductSearch& search);

// Item number compared ignoring case (ASCII). Shows "Unable to open file." and
// gives false when the file cannot be opened.
bool ProductExists(const CLocalFile& local, const std::string& itemNumber);
// The first record with that item number ignoring case; bar codes are not looked at.
bool FindProductByItem(const CLocalFile& local, const std::string& itemNumber, ProductRecord& record);

// The sale screen's lookup: the first record whose item number, or else whose
// bar code, equals the code ignoring case. Without a match, quickAdd (when
// given) is asked to build a new product for the code; a built product is
// appended (it is returned even when the append fails). The result is the
// empty record (empty item number) when the code is empty, the file cannot be
// opened, or nothing was found or built. True when a record was returned.
using QuickAdd = std::function<bool(const std::string& code, ProductRecord& built)>;
bool LookupForSale(const CLocalFile& local, const std::string& code, ProductRecord& record,
                   const QuickAdd& quickAdd = {});
// The sale screen's lookup for many codes in one pass over the file: found[i]
// is the record LookupForSale would give for codes[i] (no Quick Add), or empty.
// Returns the open cause, or Generic when the file could not be read through.
int LookupManyForSale(const CLocalFile& local, const std::vector<std::string>& codes,
                      std::vector<std::optional<ProductRecord>>& found);
// The empty lookup result.
ProductRecord EmptyProductResult();

int ReadProductAt(const CLocalFile& local, long long index, ProductRecord& record);
// Appends after the records present; `index` gets the new record's position.
int AppendProduct(const CLocalFile& local, const ProductRecord& record, long long* index = nullptr);
// Appends a product whose item number no record has yet, checked in the same
// exclusive open that appends it, so two registers cannot both add one code.
// AlreadyExists, changing nothing, when the item number is taken.
int AppendNewProduct(const CLocalFile& local, const ProductRecord& record);

// What one line does to a product's stock: the new stock from the stock and
// the line's quantity (products/SaleStock.h says how a sale moves stock).
using StockMove = std::function<float(float stock, float qty)>;
// Inside a transaction that holds the product file, each non-empty line changes
// the stock of the first record with its item number ignoring case by
// move(stock, qty), lines in order; lines without a product change nothing. One
// pass over the file for all lines; the changed stock fields are staged and
// stored by the caller's commit. Returns 0, or Generic on a read error or a
// damaged count (the user is told).
int StageStockChanges(Transaction& tx, DataFile& productFile, std::span<const StockLine> lines, const StockMove& move);

// Commits a transaction that holds the product file and moved no product code
// in it (stock, prices) or only added `added` records after the last, noting
// so for the other registers, which then keep their maps of the codes
// (storage/files/ProductHint.h). Returns the commit's cause.
int CommitKeepingProductCodes(Transaction& tx, DataFile& productFile, long long added = 0);

// Brings this register's map of the codes up to the file as it stands, before
// a change takes its locks, so that the change finds its products by the map
// (StageStockChanges) instead of scanning while it holds the files.
void RefreshProductMap(const CLocalFile& local);

// Changes by item number, each in one exclusive open: the first record whose
// item number equals it ignoring case is found and written in the same
// transaction, so a record moved meanwhile by another register's delete is
// never mistaken for it. NotFound when no record has it; Failed when the file
// could not be opened, read or written (nothing changed). `stored` (may be
// null) gets the record as written.
ChangeResult UpdateProductByItem(const CLocalFile& local, const std::string& itemNumber,
                                 const std::function<void(ProductRecord&)>& change, ProductRecord* stored = nullptr);
ChangeResult RemoveProductByItem(const CLocalFile& local, const std::string& itemNumber);

// Changes a listed set of products in one exclusive open and one pass: each
// record whose item number equals (exactly) a listed one gets `change` once,
// and an item number listed k times changes at most its first k records.
// `changed` gets the records as written, in file order. Returns the open
// cause, or Generic on a read error or a damaged count; nothing changed then.
int ChangeListedProducts(const CLocalFile& local, const std::vector<std::string>& itemNumbers,
                         const std::function<void(ProductRecord&)>& change, std::vector<ProductRecord>* changed = nullptr);

// Appends many records in one transaction (all or none).
int AppendProducts(const CLocalFile& local, const std::vector<ProductRecord>& records);

// The raw 320-byte records present, in file order, for which keep (given the
// encoded record) holds. Returns the open cause, Generic on a read error.
int ReadProductBytes(const CLocalFile& local, std::vector<std::uint8_t>& bytes,
                     const std::function<bool(const std::uint8_t* rec)>& keep = {});

