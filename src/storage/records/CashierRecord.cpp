#include "storage/records/CashierRecord.h"

#include "storage/records/ByteCodec.h"

void CashierRecord::encode(std::uint8_t* buf) const
{
    codec::putText(buf, 0, kFieldWidth, name);
    codec::putText(buf, kPasswordOffset, kFieldWidth, password);
}

void CashierRecord::decode(const std::uint8_t* buf)
{
    name = codec::fitText(codec::getText(buf, 0, kFieldWidth), kFieldWidth);
    password = codec::fitText(codec::getText(buf, kPasswordOffset, kFieldWidth), kFieldWidth);
}
