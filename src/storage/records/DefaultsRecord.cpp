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
