#include "storage/records/SalespersonRecord.h"

#include "storage/records/ByteCodec.h"

void SalespersonRecord::encode(std::uint8_t* buf) const
{
    codec::putText(buf, 0, kSize, name);
}

void SalespersonRecord::decode(const std::uint8_t* buf)
{
    name = codec::fitText(codec::getText(buf, 0, kSize), kSize);
}
