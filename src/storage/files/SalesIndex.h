#pragma once
// The sales index: a file beside the sales file (its name with ".idx" for
// ".pdb") holding one compact row per stored sale (SalesIndexRow.h), so that
// a report reads a few hundred bytes a sale instead of 4728. It is a cache:
// deleting it is safe, it is rebuilt by the next report.
//
//   header (64 bytes): "SIDX", version, the rows covered, the generation, the
//                      room of the position table, where the rows end, a checksum
//   position table:    the byte offset of each covered row (u64 each)
//   rows:              rows 0 .. covered-1 one after the other
//
// The index describes the first `covered` records of the sales file; a report
// reads those rows and the records after them from the sales file, then adds
// their rows. Why the index and the sales file agree after a crash at any
// instant:
// - An append never touches the index: the new record lies past the rows.
// - A sale rewritten in place (void, edit, settling with a discount) is one
//   transaction that also holds the index: its row is rewritten in its slot
//   (or, when it no longer fits, the index is cut back to the rows before it)
//   and the generation moves on. Both files are rolled back together.
// - Rows are added in a transaction of the index alone: the rows and their
//   positions go past the covered ones, where nobody reads, and are flushed
//   before the header that takes them in, which is one sector written whole.
//   They are taken in only when the header still has the generation and the
//   covered count the rows were read under, so a sale rewritten meanwhile is
//   never covered by its old row.
// - Anything else (a file copied in, a backup restored, a damaged index) is
//   caught before use: the header's checksum and sizes, the sales file still
//   holding the covered records, and a sample of rows (the last covered among
//   them) compared with the records they were made from. The report then reads
//   the sales file and builds the index again.

#include "storage/files/SalesIndexRow.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Transaction;

std::string SalesIndexPath(const std::string& salesPath);

struct SalesIndexHeader {
    static constexpr std::size_t kSize = 64;
    static constexpr std::uint32_t kVersion = 1;
    long long covered = 0;          // rows of sales records 0 .. covered-1
    std::uint64_t generation = 0;   // moves on with every sale rewritten in place
    long long capacity = 0;         // positions the table has room for
    long long rowsEnd = 0;          // byte offset past the last covered row

    long long rowsStart() const { return static_cast<long long>(kSize) + 8 * capacity; }
    void encode(std::uint8_t* buf) const;
    // False for bytes that are no header of this version, or sizes that do not
    // hold together in a file of `fileSize` bytes.
    bool decode(const std::uint8_t* buf, long long fileSize);
};

// Names the index in a transaction that holds the sales file (before begin),
// for a change that rewrites a stored sale in place. The index is created
// empty when missing.
void JoinSalesIndex(Transaction& tx, const std::string& salesPath);
// Keeps the index right for stored sale n being rewritten as `record` (its
// 4728 bytes) in this transaction. One sale per transaction. When the
// transaction does not hold the index, the index is first marked as covering
// nothing, so it is rebuilt rather than read wrong.
void StageSalesIndexRow(Transaction& tx, const std::string& salesPath, long long n, const std::uint8_t* record);

struct SalesIndexCheck {
    int cause = 0;                // opening the sales file (NotFound: no sales at all)
    long long salesRecords = 0;   // sale records present when checked
    bool usable = false;          // the header's rows may be read
    SalesIndexHeader header;
};
// Whether the index describes the sales file as it is now (see above).
SalesIndexCheck CheckSalesIndex(const std::string& salesPath);

// Calls visit(row, n) for the covered rows in order, reading about 4 MiB under
// each hold of the shared lock; held(rows visited) after each hold, false to
// stop. Stops early, quietly, when a sale was rewritten meanwhile or a row does
// not hold together: the rows from there are read from the sales file instead.
// Returns the rows visited; -1 when held() stopped the pass.
long long ReadSalesIndex(const std::string& salesPath, const SalesIndexHeader& header,
                         const std::function<void(const IndexedSale&, long long)>& visit,
                         const std::function<bool(long long)>& held);

// Adds rows to the index as records are read in order; see above for when
// they are taken in. Any failure only stops the adding.
class SalesIndexBuilder {
public:
    // Adds after the rows `from` covers.
    SalesIndexBuilder(std::string salesPath, const SalesIndexHeader& from);
    // Starts the index again with no rows and room for twice `records`.
    static SalesIndexBuilder Restart(const std::string& salesPath, long long records);

    bool active() const { return active_; }
    // The next record (4728 bytes) after those added so far.
    void add(const std::uint8_t* record);
    // Writes the rows gathered; with whenFull, only once they fill a few MiB.
    void flush(bool whenFull);

private:
    std::string salesPath_;
    SalesIndexHeader header_;
    bool active_ = true;
    std::vector<std::uint8_t> rows_;
    std::vector<std::uint8_t> positions_;
};
