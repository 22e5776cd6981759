#pragma once
// Reading a counted file of fixed-size records from first to last while other
// registers keep writing to it: the records are read in large blocks, each block
// under a shared lock of its own, so a register that wants to write waits for
// one block's read at most, never for the whole pass.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class DataFile;

struct ChunkedLayout {
    std::size_t headerSize;  // the record count is the signed 32-bit word at offset 0
    std::size_t recordSize;
};

// Bytes read under one hold of the lock: long enough to keep the open and lock
// costs small beside the reading, short enough that a writer waits about a
// millisecond from the page cache. Within a hold the records are read in blocks
// of 64 KiB or more and visited while they are still in the processor's cache.
constexpr std::size_t kHoldBytes = 1024 * 1024;
constexpr std::size_t kBlockBytes = 64 * 1024;

// Records counted and present in an open file of that layout; -1 on a read error.
long long PresentRecords(DataFile& file, const ChunkedLayout& layout);

// Visits the records of the file at `path` that were counted when the pass
// began, in file order: visit(records, first, n) gets n records starting with
// record `first`, under the shared lock, and must be quick; after each hold,
// with the lock released, held(done, present) is told how many records have
// been visited, and returns false to stop the pass. Returns the open cause of
// the first hold (NotFound: no file, nothing visited), or Generic when a later
// open or read fails.
//
// Why a record read this way is whole: an append writes its record (and flushes
// it) before the count that includes it, so every record under the count read
// at the start was complete then. Records are never removed or shortened, and a
// change to one (an edit, a void, a payment's paid flag) is made under the
// exclusive lock, which no writer holds while a hold's records are read under
// the shared one. Opening through CLocalFile::OpenFile first rolls back
// whatever a register that died mid-change left, so each hold shows committed
// records only. Records appended after the start are not visited: a pass counts
// the records that were there when it began. With `from`, the pass starts at
// that record (done still counts from the first record of the file).
int ScanInChunks(const std::string& path, const ChunkedLayout& layout,
                 const std::function<void(const std::uint8_t* records, long long first, long long n)>& visit,
                 const std::function<bool(long long done, long long present)>& held,
                 std::size_t holdBytes = kHoldBytes, long long from = 0);
