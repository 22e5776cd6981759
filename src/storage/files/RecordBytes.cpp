#include "storage/files/RecordBytes.h"

#include "storage/io/DataFile.h"

#include <cstring>
#include <filesystem>
#include <system_error>

int ReadRecordBytes(const std::string& path, const ChunkedLayout& layout, RecordBytes& out,
                    const std::function<bool(const std::uint8_t*)>& keep)
{
    out.clear();
    if (!keep) {
        // Room for every whole record the file holds now, so the buffer is never
        // moved while it fills; records appended meanwhile are not read.
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        if (!error && size > layout.headerSize)
            out.reserve((size - layout.headerSize) / layout.recordSize * layout.recordSize);
    }
    const int cause = ScanInChunks(
        path, layout,
        [&](const std::uint8_t* records, long long, long long n) {
            const std::size_t bytes = static_cast<std::size_t>(n) * layout.recordSize;
            if (!keep) {
                const std::size_t at = out.size();
                out.resize(at + bytes);
                std::memcpy(out.data() + at, records, bytes);
                return;
            }
            for (const std::uint8_t* rec = records; rec < records + bytes; rec += layout.recordSize)
                if (keep(rec))
                    out.insert(out.end(), rec, rec + layout.recordSize);
        },
        {});
    if (cause != FileCause::None) {
        out.clear();
        out.shrink_to_fit();
    }
    return cause;
}
