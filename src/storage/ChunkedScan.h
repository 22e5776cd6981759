#pragma once
// Reading a counted file of fixed-size records from first to last while other
// registers keep writing to it: the records are read in large blocks, each block
// under a shared lock of its own, so a register that wants to write waits for
// one block's read at most, never for the whole pass.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct ChunkedLayout {
    std::size_t headerSize;  // the record count is the signed 32-bit word at offset 0
    std::size_t recordSize;
};

// Bytes read under one hold of the lock (a whole number of records, at least
// 64 KiB): long enough to keep the open and lock costs small beside the read,
// short enough that a writer waits well under a millisecond from the page cache.
constexpr std::size_t kChunkBytes = 256 * 1024;

// Visits the records of the file at `path` that were counted when the pass
// began, in file order, a block at a time: visit(records, first, n, present)
// gets n records starting with record `first`; it returns false to stop the
// pass. Returns the open cause of the first block (NotFound: no file, nothing
// visited), or Generic when a later read fails.
//
// Why a record read this way is whole: an append writes its record (and flushes
// it) before the count that includes it, so every record under the count read
// at the start was complete then. Records are never removed or shortened, and a
// change to one (an edit, a void, a payment's paid flag) is made under the
// exclusive lock, which no writer holds while a block is read under the shared
// one. Opening through CLocalFile::OpenFile first rolls back whatever a
// register that died mid-change left, so each block shows committed records
// only. Records appended after the start are not visited: a pass counts the
// records that were there when it began.
int ScanInChunks(const std::string& path, const ChunkedLayout& layout,
                 const std::function<bool(const std::uint8_t* records, long long first, long long n, long long present)>& visit,
                 std::size_t chunkBytes = kChunkBytes);
