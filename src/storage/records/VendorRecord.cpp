#include "storage/records/VendorRecord.h"

#include "storage/records/ByteCodec.h"

#include <cstring>

std::array<std::string, VendorFileHeader::kLabelCount> VendorFileHeader::defaultLabels()
{
    return {"Company",   "Address",   "Address",   "City, St, Zip", "Phone#", "Email",    "Cell#", "Fax#",
            "Contact 1", "Contact 2", "Contact 3", "Contact 4",     "Terms",  "Discount", "Misc",  "Misc"};
}

void VendorFileHeader::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putU32(buf, kCountOffset, count);
    codec::putF32(buf, 4, version);
    for (std::size_t i = 0; i < kLabelCount; ++i)
        codec::putText(buf, kLabelsOffset + kLabelWidth * i, kLabelWidth, labels[i]);
}

void VendorFileHeader::decode(const std::uint8_t* buf)
{
    count = codec::getU32(buf, kCountOffset);
    version = codec::getF32(buf, 4);
    for (std::size_t i = 0; i < kLabelCount; ++i)
        labels[i] = codec::fitText(codec::getText(buf, kLabelsOffset + kLabelWidth * i, kLabelWidth), kLabelWidth);
}

void VendorRecord::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    for (std::size_t k = 0; k < kTextCount; ++k)
        codec::putText(buf, textOffset(k), kTextWidth, text[k]);
    codec::putText(buf, kNotesOffset, kNotesWidth, notes);
}

void VendorRecord::decode(const std::uint8_t* buf)
{
    for (std::size_t k = 0; k < kTextCount; ++k)
        text[k] = codec::fitText(codec::getText(buf, textOffset(k), kTextWidth), kTextWidth);
    notes = codec::fitText(codec::getText(buf, kNotesOffset, kNotesWidth), kNotesWidth);
}
