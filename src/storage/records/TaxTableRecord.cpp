#include "storage/records/TaxTableRecord.h"

#include "storage/records/ByteCodec.h"

void TaxTableRecord::encode(std::uint8_t* buf) const
{
    codec::putText(buf, 0, kNameWidth, name);
    codec::putF32(buf, 24, tax1);
    codec::putF32(buf, 28, tax2);
}

void TaxTableRecord::decode(const std::uint8_t* buf)
{
    name = codec::fitText(codec::getText(buf, 0, kNameWidth), kNameWidth);
    tax1 = codec::getF32(buf, 24);
    tax2 = codec::getF32(buf, 28);
}
