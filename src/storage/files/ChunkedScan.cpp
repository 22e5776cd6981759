#include "storage/files/ChunkedScan.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>
#include <vector>

long long PresentRecords(DataFile& file, const ChunkedLayout& layout)
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

int ScanInChunks(const std::string& path, const ChunkedLayout& layout,
                 const std::function<void(const std::uint8_t*, long long, long long)>& visit,
                 const std::function<bool(long long, long long)>& held, std::size_t holdBytes, long long from)
{
    const long long record = static_cast<long long>(layout.recordSize);
    const long long perBlock = std::max<long long>(1, (static_cast<long long>(kBlockBytes) + record - 1) / record);
    const long long perHold = std::max<long long>(perBlock, static_cast<long long>(holdBytes) / record);
    std::vector<std::uint8_t> block(static_cast<std::size_t>(perBlock * record));
    long long present = -1;
    for (long long first = std::max(0LL, from); present < 0 || first < present; first += perHold) {
        DataFile file;
        const int cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
        if (cause != FileCause::None)
            return present < 0 ? cause : FileCause::Generic;
        if (present < 0) {
            present = PresentRecords(file, layout);
            if (present < 0)
                return FileCause::Generic;
            if (present == 0)
                return FileCause::None;
        }
        const long long end = std::min(first + perHold, present);
        for (long long at = first; at < end; at += perBlock) {
            const long long n = std::min(perBlock, end - at);
            const long long offset = static_cast<long long>(layout.headerSize) + at * record;
            if (!readFully(file, offset, block.data(), static_cast<std::size_t>(n * record)))
                return FileCause::Generic;
            visit(block.data(), at, n);
        }
        file.close();
        if (held && !held(end, present))
            return FileCause::None;
    }
    return FileCause::None;
}
