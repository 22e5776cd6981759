#include "storage/files/RecordBytes.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace {
constexpr std::size_t kPage = 4096;
constexpr std::size_t kLargePage = 2 * 1024 * 1024;

std::size_t pages(std::size_t bytes) { return (bytes + kPage - 1) / kPage * kPage; }

// Large stores get the large pages where the system gives them on request.
void adviseLarge(void* at, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    if (bytes >= kLargePage)
        madvise(at, bytes, MADV_HUGEPAGE);
#else
    (void)at, (void)bytes;
#endif
}

// Fresh pages; a large store starts on a large-page boundary so all of it can
// be given large pages.
void* mapAligned(std::size_t bytes)
{
    const int prot = PROT_READ | PROT_WRITE, flags = MAP_PRIVATE | MAP_ANONYMOUS;
    if (bytes < kLargePage)
        return mmap(nullptr, bytes, prot, flags, -1, 0);
    void* raw = mmap(nullptr, bytes + kLargePage, prot, flags, -1, 0);
    if (raw == MAP_FAILED)
        return raw;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
    if (aligned > start)
        munmap(raw, aligned - start);
    munmap(reinterpret_cast<void*>(aligned + bytes), start + kLargePage - aligned);
    return reinterpret_cast<void*>(aligned);
}
}  // namespace

RecordBytes::~RecordBytes() { clear(); }

RecordBytes::RecordBytes(RecordBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0))
{
}

RecordBytes& RecordBytes::operator=(RecordBytes&& other) noexcept
{
    if (this != &other) {
        clear();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

// Pages mapped for the store: new ones read as zeros only when first touched,
// and a larger store keeps the pages it had (remapped, not copied).
void RecordBytes::resizeStore(std::size_t capacity)
{
    capacity = pages(capacity);
    if (capacity == capacity_)
        return;
    if (capacity == 0) {
        munmap(data_, capacity_);
        data_ = nullptr;
        capacity_ = 0;
        return;
    }
    void* at = data_ ? mremap(data_, capacity_, capacity, MREMAP_MAYMOVE) : mapAligned(capacity);
    if (at == MAP_FAILED)
        throw std::bad_alloc();
    adviseLarge(at, capacity);
    data_ = static_cast<std::uint8_t*>(at);
    capacity_ = capacity;
}

void RecordBytes::reserve(std::size_t bytes)
{
    if (bytes > capacity_)
        resizeStore(bytes);
}

std::uint8_t* RecordBytes::grow(std::size_t n)
{
    if (size_ + n > capacity_)
        resizeStore(std::max(size_ + n, capacity_ * 2));
    std::uint8_t* at = data_ + size_;
    size_ += n;
    return at;
}

void RecordBytes::insertFront(const std::uint8_t* bytes, std::size_t n)
{
    grow(n);
    std::memmove(data_ + n, data_, size_ - n);
    std::memcpy(data_, bytes, n);
}

void RecordBytes::erase(std::size_t at, std::size_t n)
{
    std::memmove(data_ + at, data_ + at + n, size_ - at - n);
    size_ -= n;
}

void RecordBytes::shrinkToFit() { resizeStore(size_); }

void RecordBytes::clear()
{
    size_ = 0;
    resizeStore(0);
}

namespace {
// Moves the kept records of `n` bytes at `from` together; the bytes they fill.
std::size_t keepOnly(std::uint8_t* from, std::size_t n, std::size_t recordSize,
                     const std::function<bool(const std::uint8_t*)>& keep)
{
    std::uint8_t* to = from;
    for (std::uint8_t* rec = from; rec < from + n; rec += recordSize) {
        if (!keep(rec))
            continue;
        if (to != rec)
            std::memmove(to, rec, recordSize);
        to += recordSize;
    }
    return static_cast<std::size_t>(to - from);
}
}  // namespace

int ReadRecordBytes(const std::string& path, const ChunkedLayout& layout, RecordBytes& out,
                    const std::function<bool(const std::uint8_t*)>& keep)
{
    out.clear();
    const long long record = static_cast<long long>(layout.recordSize);
    const long long perHold = std::max<long long>(1, static_cast<long long>(kHoldBytes) / record);
    long long present = -1;
    for (long long first = 0; present < 0 || first < present; first += perHold) {
        DataFile file;
        if (const int cause = CLocalFile::OpenFile(file, path, OpenMode::Read); cause != FileCause::None) {
            out.clear();
            return present < 0 ? cause : FileCause::Generic;
        }
        if (present < 0) {
            present = PresentRecords(file, layout);
            if (present < 0)
                return FileCause::Generic;
            // Room for every record counted: pages are only taken as rows fill
            // them, so a list of a few rows costs no more for it.
            out.reserve(static_cast<std::size_t>(present * record));
            if (present == 0)
                return FileCause::None;
        }
        const auto bytes = static_cast<std::size_t>(std::min(perHold, present - first) * record);
        const std::size_t held = out.size();
        std::uint8_t* at = out.grow(bytes);
        if (!readFully(file, static_cast<long long>(layout.headerSize) + first * record, at, bytes)) {
            out.clear();
            return FileCause::Generic;
        }
        if (keep)
            out.truncate(held + keepOnly(at, bytes, layout.recordSize, keep));
    }
    if (keep)
        out.shrinkToFit();
    return FileCause::None;
}
