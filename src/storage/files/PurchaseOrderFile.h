#pragma once
// Purchase-order files "PO-<number>.PON", kept in the data folder beside the
// file set so that every register sees the same orders. An order file takes
// part in the set's transactions (Transaction::join): receiving changes the
// product file and the order in one change, and a change a dead register left
// half done is rolled back before an order is read.

#include "storage/records/PurchaseOrderRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class DataFile;
class Transaction;

namespace PurchaseOrderFile {
// Read, but not an order of this version (see PurchaseOrderRecord::decode).
constexpr int kIncompatible = 100;

// "PO-<number>.PON".
std::string FileName(const std::string& number);
// The first character of the number that a file name cannot hold (a path
// separator, a character Windows forbids, a control character), as the user
// would read it; empty when the number can name a file.
std::string ForbiddenCharacter(const std::string& number);

// Reads the order at `path`. In the folder of `setMember` it is read as a
// member of that set; elsewhere (a file picked from another folder) on its own.
// `bytes` (may be null) gets the file's first kSize bytes as read. Returns the
// open cause, Generic on a read error, kIncompatible for a damaged file.
int Read(const std::string& path, const std::string& setMember, PurchaseOrderRecord& order,
         std::vector<std::uint8_t>* bytes = nullptr);
// Reads the first kSize bytes of an order file the caller holds (fewer when it
// is shorter). False on a read error.
bool ReadBytes(DataFile& file, std::vector<std::uint8_t>& bytes);
// Stages the whole order (header and every slot) over the file.
void Stage(Transaction& tx, DataFile& file, const PurchaseOrderRecord& order);

// For each key (a vendor number already lower-cased; an empty key matches
// nothing) the index and stock of the first product whose vendor number equals
// it ignoring case, or -1: one pass over the product file the caller holds, in
// large reads. Returns 0, Generic on a read error or a damaged count.
int FindByVendorNumber(DataFile& products, const std::vector<std::string>& keys, std::vector<long long>& index,
                       std::vector<float>& stock);
// Stages a product's stock field.
void StageStock(Transaction& tx, DataFile& products, long long index, float stock);
}  // namespace PurchaseOrderFile
