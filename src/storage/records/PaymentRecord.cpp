#include "storage/records/PaymentRecord.h"

#include "storage/records/ByteCodec.h"

#include <cstring>

namespace {
std::string readText(const std::uint8_t* buf, std::size_t off, std::size_t width)
{
    return codec::fitText(codec::getText(buf, off, width), width);
}
}  // namespace

void PaymentFileHeader::encode(std::uint8_t* buf) const
{
    codec::putI32(buf, 0, count);
    codec::putF32(buf, 4, version);
    codec::putI32(buf, 8, nextId);
}

void PaymentFileHeader::decode(const std::uint8_t* buf)
{
    count = codec::getI32(buf, 0);
    version = codec::getF32(buf, 4);
    nextId = codec::getI32(buf, 8);
}

void PaymentRecord::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putU8(buf, kKindOff, kind);
    codec::putI32(buf, kInvoiceNumberOff, invoiceNumber);
    codec::putI32(buf, kPaymentIdOff, paymentId);
    codec::putF32(buf, kAmountOff, amount);
    date.encode(buf, kDateOff);
    codec::putText(buf, kPayTypeOff, kPayTypeWidth, payType);
    codec::putText(buf, kCardNumberOff, kCardNumberWidth, cardNumber);
    codec::putText(buf, kExpirationOff, kExpirationWidth, expiration);
    codec::putText(buf, kCashierOff, kCashierWidth, cashier);
    codec::putText(buf, kNotesOff, kNotesWidth, notes);
}

void PaymentRecord::decode(const std::uint8_t* buf)
{
    kind = codec::getU8(buf, kKindOff);
    invoiceNumber = codec::getI32(buf, kInvoiceNumberOff);
    paymentId = codec::getI32(buf, kPaymentIdOff);
    amount = codec::getF32(buf, kAmountOff);
    date = OleDate::decode(buf, kDateOff);
    payType = readText(buf, kPayTypeOff, kPayTypeWidth);
    cardNumber = readText(buf, kCardNumberOff, kCardNumberWidth);
    expiration = readText(buf, kExpirationOff, kExpirationWidth);
    cashier = readText(buf, kCashierOff, kCashierWidth);
    notes = readText(buf, kNotesOff, kNotesWidth);
}
