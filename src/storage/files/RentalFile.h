#pragma once
// The rental file (key "Rentals"): an 8-byte header (the record count as a
// signed 32-bit integer, 4 reserved bytes) followed by 48-byte records. A
// positive quantity is lent out, a negative one returned.

#include "storage/records/OleDate.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class DataFile;
class Transaction;
struct InvoiceRecord;

struct RentalRecord {
    static constexpr std::size_t kSize = 48;
    static constexpr std::size_t kItemWidth = 24;

    float quantity = 0;
    std::int32_t saleNumber = 0;
    std::uint16_t customerNumber = 0;
    OleDate date;
    std::string itemNumber;

    void encode(std::uint8_t* buf) const;  // kSize bytes; the reserved bytes as 0
    void decode(const std::uint8_t* buf);
};

namespace RentalFile {
constexpr long long kHeaderSize = 8;
constexpr long long recordOffset(long long i) { return kHeaderSize + i * static_cast<long long>(RentalRecord::kSize); }
}  // namespace RentalFile

// Every record of an open rental file, in file order (a count past the end reads
// as the records present). False on a read error or a negative count.
bool ReadRentals(DataFile& file, std::vector<RentalRecord>& records);

// Inside a transaction that holds the rental file (created empty when missing):
// stages one record per rented item of the stored sale `sale` (its recordNumber
// and customerNumber already final), dated `when`. Quantities already lent for
// the same sale and item are subtracted, so writing an edited sale back records
// only what it rents more; an item it now rents less of (or not at all) gets a
// return of the difference, no more than is still out. Returns the records
// staged, or -1 when the file could not be read (nothing staged).
int RecordSaleRentalsIn(Transaction& tx, const std::string& path, const InvoiceRecord& sale, const OleDate& when);

// Every record of the rental file at `path`, read under the sharing rule.
// NotFound (and no records) when there is no file yet; another cause when it
// cannot be read.
int ReadRentalFile(const std::string& path, std::vector<RentalRecord>& records);

// Inside a transaction that holds the file, whose records are `present` (as
// ReadRentals gave them): stages `record` after them and the new count.
void StageRentalAppend(Transaction& tx, DataFile& file, const std::vector<RentalRecord>& present,
                       const RentalRecord& record);
// Stages the removal of present[index]: the last record takes its place and
// the count goes down by one (the file keeps its length).
void StageRentalRemoval(Transaction& tx, DataFile& file, const std::vector<RentalRecord>& present,
                        std::size_t index);
