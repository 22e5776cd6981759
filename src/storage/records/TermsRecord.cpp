#include "storage/records/TermsRecord.h"

#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <cstring>

std::string TermsRecord::BuildName(const TermsRecord& terms)
{
    std::string name;
    if (terms.id == 0)
        name = "COD";
    else if (terms.discountPercent != 0)
        name = strprintf("%d/%d NET %d", terms.discountPercent, terms.discountDays, terms.netDays);
    else
        name = strprintf("NET %d", terms.netDays);
    return codec::fitText(name, kNameWidth);
}

void TermsRecord::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putU8(buf, 0, id);
    codec::putI16(buf, 2, discountDays);
    codec::putI16(buf, 4, netDays);
    codec::putI16(buf, 6, discountPercent);
    codec::putText(buf, kNameOffset, kNameWidth, name);
}

void TermsRecord::decode(const std::uint8_t* buf)
{
    id = codec::getU8(buf, 0);
    discountDays = codec::getI16(buf, 2);
    netDays = codec::getI16(buf, 4);
    discountPercent = codec::getI16(buf, 6);
    name = codec::fitText(codec::getText(buf, kNameOffset, kNameWidth), kNameWidth);
}
