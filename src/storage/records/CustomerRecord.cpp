#include "storage/records/CustomerRecord.h"

#include "storage/records/ByteCodec.h"

#include <cstring>

std::array<std::string, CustomerFileHeader::kLabelCount> CustomerFileHeader::defaultLabels()
{
    return {"Name",      "Company",   "Address",   "City, St, Zip", "Phone#", "Email", "Tax ID#", "Lic Date",
            "Contact 1", "Contact 2", "Contact 3", "Contact 4",     "CC #1",  "CC #2", "CC #3",   "Notes"};
}

void CustomerFileHeader::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putF32(buf, 0, version);
    codec::putU16(buf, 4, nextNumber);
    codec::putU16(buf, 6, reserved6);
    codec::putU32(buf, kCountOffset, count);
    for (std::size_t i = 0; i < kLabelCount; ++i)
        codec::putText(buf, kLabelsOffset + kLabelWidth * i, kLabelWidth, labels[i]);
}

void CustomerFileHeader::decode(const std::uint8_t* buf)
{
    version = codec::getF32(buf, 0);
    nextNumber = codec::getU16(buf, 4);
    reserved6 = codec::getU16(buf, 6);
    count = codec::getU32(buf, kCountOffset);
    for (std::size_t i = 0; i < kLabelCount; ++i)
        labels[i] = codec::fitText(codec::getText(buf, kLabelsOffset + kLabelWidth * i, kLabelWidth), kLabelWidth);
}

void CustomerRecord::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putU8(buf, 0, orderLimitOn);
    codec::putU8(buf, kPriceLevelOffset, priceLevel);
    codec::putU8(buf, 3, termsIndex);
    codec::putU16(buf, kNumberOffset, customerNumber);
    codec::putText(buf, 6, kTaxZoneWidth, taxZone);
    codec::putF32(buf, 32, orderLimit);
    for (std::size_t k = 0; k < kTextCount; ++k)
        codec::putText(buf, textOffset(k), kTextWidth, text[k]);
    codec::putText(buf, kNotesOffset, kNotesWidth, notes);
}

void CustomerRecord::decode(const std::uint8_t* buf)
{
    orderLimitOn = codec::getU8(buf, 0);
    priceLevel = codec::getU8(buf, kPriceLevelOffset);
    termsIndex = codec::getU8(buf, 3);
    customerNumber = codec::getU16(buf, kNumberOffset);
    taxZone = codec::fitText(codec::getText(buf, 6, kTaxZoneWidth), kTaxZoneWidth);
    orderLimit = codec::getF32(buf, 32);
    for (std::size_t k = 0; k < kTextCount; ++k)
        text[k] = codec::fitText(codec::getText(buf, textOffset(k), kTextWidth), kTextWidth);
    notes = codec::fitText(codec::getText(buf, kNotesOffset, kNotesWidth), kNotesWidth);
}
