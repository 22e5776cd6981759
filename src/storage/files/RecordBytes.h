#pragma once
// The bytes of a counted file's records, copied as they are for a list that
// decodes a row only when it is shown. Listing a large file costs one read of
// it and holds one copy of its bytes: the buffer is never zero-filled before
// the read writes it, grows without copying what it holds, and a large one is
// asked for in the system's large pages, so a million rows do not cost a
// quarter of a million page faults.

#include "storage/files/ChunkedScan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class RecordBytes {
public:
    RecordBytes() = default;
    ~RecordBytes();
    RecordBytes(RecordBytes&& other) noexcept;
    RecordBytes& operator=(RecordBytes&& other) noexcept;
    RecordBytes(const RecordBytes&) = delete;
    RecordBytes& operator=(const RecordBytes&) = delete;

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    void reserve(std::size_t bytes);
    // n more bytes at the end, left as they were in memory: the caller writes them.
    std::uint8_t* grow(std::size_t n);
    void append(const std::uint8_t* bytes, std::size_t n) { std::copy_n(bytes, n, grow(n)); }
    void insertFront(const std::uint8_t* bytes, std::size_t n);
    // Keeps the first `bytes` bytes (no more than it holds).
    void truncate(std::size_t bytes) { size_ = std::min(size_, bytes); }
    void erase(std::size_t at, std::size_t n);
    // Gives back the memory past the bytes held.
    void shrinkToFit();
    // Holds nothing and gives its memory back.
    void clear();

private:
    void resizeStore(std::size_t capacity);

    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Replaces `out` with the records of the file at `path` counted when the read
// began, in file order, for which keep (given a record's bytes) holds; every
// record without keep. The file is read straight into `out`, a hold of its
// shared lock at a time (kHoldBytes, as ScanInChunks reads: a writer waits for
// one hold's read at most, and why each record read is whole is said there).
// Returns the open cause (NotFound: no file), or Generic when a read failed;
// `out` is then empty.
int ReadRecordBytes(const std::string& path, const ChunkedLayout& layout, RecordBytes& out,
                    const std::function<bool(const std::uint8_t* record)>& keep = {});
