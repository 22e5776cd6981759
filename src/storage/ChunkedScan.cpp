#include "ChunkedScan.h"

#include "ByteCodec.h"
#include "CLocalFile.h"
#include "CountedFile.h"
#include "DataFile.h"

#include <algorithm>
#include <vector>

namespace {
// Records counted and present in an open file; -1 on a read error.
long long presentRecords(DataFile& file, const ChunkedLayout& layout)
{
    const long long size = file.size();
    if (size < 0)
        return -1;
    if (size < static_cast<long long>(layout.headerSize))
        return 0;
    std::uint8_t buf[4];
    if (!readFully(file, 0, buf, sizeof buf))
        return -1;
    const long long room = (size - static_cast<long long>(layout.headerSize)) / static_cast<long long>(layout.recordSize);
    bool damaged = false;
    return RecordsUnderCount(codec::getI32(buf, 0), room, 0, damaged);
}
}  // namespace

int ScanInChunks(const std::string& path, const ChunkedLayout& layout,
                 const std::function<bool(const std::uint8_t*, long long, long long, long long)>& visit,
                 std::size_t chunkBytes)
{
    const long long perChunk = std::max<long long>(1, static_cast<long long>(chunkBytes / layout.recordSize));
    std::vector<std::uint8_t> block(static_cast<std::size_t>(perChunk) * layout.recordSize);
    long long present = -1;
    for (long long first = 0; present < 0 || first < present; first += perChunk) {
        DataFile file;
        const int cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
        if (cause != FileCause::None)
            return present < 0 ? cause : FileCause::Generic;
        if (present < 0) {
            present = presentRecords(file, layout);
            if (present < 0)
                return FileCause::Generic;
            if (present == 0)
                return FileCause::None;
        }
        const long long n = std::min(perChunk, present - first);
        const std::size_t bytes = static_cast<std::size_t>(n) * layout.recordSize;
        const long long offset = static_cast<long long>(layout.headerSize) + first * static_cast<long long>(layout.recordSize);
        if (!readFully(file, offset, block.data(), bytes))
            return FileCause::Generic;
        file.close();  // the lock goes before the records are looked at
        if (!visit(block.data(), first, n, present))
            return FileCause::None;
    }
    return FileCause::None;
}
