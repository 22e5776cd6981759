#pragma once
// The bytes of a counted file's records, copied as they are for a list that
// decodes a row only when it is shown. The buffer is not zero-filled when it
// grows: every byte of it is written by the read, so listing a large file costs
// one read of it and holds one copy of its bytes, no more.

#include "storage/files/ChunkedScan.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

// Leaves new elements uninitialised when a vector grows (they are written next).
template <class T>
struct UnfilledAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <class U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using RecordBytes = std::vector<std::uint8_t, UnfilledAllocator<std::uint8_t>>;

// Replaces `out` with the records of the file at `path` counted when the read
// began, in file order, for which keep (given a record's bytes) holds; every
// record without keep. The file is read in large blocks a hold of its shared
// lock at a time (ScanInChunks). Returns the open cause (NotFound: no file),
// or Generic when a read failed; `out` is then empty.
int ReadRecordBytes(const std::string& path, const ChunkedLayout& layout, RecordBytes& out,
                    const std::function<bool(const std::uint8_t* record)>& keep = {});
