#include "storage/records/DefaultsRecord.h"

#include "storage/records/ByteCodec.h"

void DefaultsRecord::encode(std::uint8_t* buf) const
{
    for (std::size_t i = 0; i < kWordCount; ++i)
        codec::putU32(buf, 4 * i, words[i]);
}

void DefaultsRecord::decode(const std::uint8_t* buf)
{
    for (std::size_t i = 0; i < kWordCount; ++i)
        words[i] = codec::getU32(buf, 4 * i);
}

std::vector<std::uint32_t> ColumnWidths(const DefaultsRecord& record, std::size_t first,
                                        const std::vector<std::uint32_t>& builtIn)
{
    std::vector<std::uint32_t> out = builtIn;
    for (std::size_t c = 0; c < out.size() && first + c < DefaultsRecord::kWordCount; ++c) {
        const std::uint32_t w = record.words[first + c];
        if (w > 0 && w < DefaultsRecord::kWidestColumn && builtIn[c] > 0)
            out[c] = w;
    }
    return out;
}
