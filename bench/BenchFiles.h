#pragma once
// The files benchmarks work on, written directly rather than through the
// program: a counted file of fixed-size records, many records per write,
// flushed once at the end.

#include "storage/files/CLocalFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// `header` (the count first), then encode(i, record bytes) for each of `count` records.
template <class Encode>
bool WriteCountedFile(const std::string& path, const std::vector<std::uint8_t>& header, std::size_t recordSize,
                      int count, Encode&& encode)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Create) != FileCause::None ||
        !file.writeAt(0, header.data(), header.size()))
        return false;
    constexpr int kPerWrite = 256;
    std::vector<std::uint8_t> block(kPerWrite * recordSize);
    for (int first = 0; first < count; first += kPerWrite) {
        const int n = std::min(kPerWrite, count - first);
        for (int i = 0; i < n; ++i)
            encode(first + i, block.data() + static_cast<std::size_t>(i) * recordSize);
        const long long at = static_cast<long long>(header.size()) + static_cast<long long>(first) * static_cast<long long>(recordSize);
        if (!file.writeAt(at, block.data(), static_cast<std::size_t>(n) * recordSize))
            return false;
    }
    return file.sync();
}

// A file whose header is the record count alone.
template <class Encode>
bool WriteCountedFile(const std::string& path, std::size_t recordSize, int count, Encode&& encode)
{
    std::vector<std::uint8_t> header(4);
    codec::putI32(header.data(), 0, count);
    return WriteCountedFile(path, header, recordSize, count, encode);
}

// The floor of any pass: the whole file read in 64 KiB blocks; the bytes read.
inline long long ReadWholeFile(const std::string& path)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, path, OpenMode::Read) != FileCause::None)
        return 0;
    std::vector<std::uint8_t> block(64 * 1024);
    long long total = 0;
    for (long long got; (got = file.readAt(total, block.data(), block.size())) > 0;)
        total += got;
    return total;
}
