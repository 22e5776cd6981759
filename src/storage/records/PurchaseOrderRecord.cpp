#include "storage/records/PurchaseOrderRecord.h"

#include "storage/records/ByteCodec.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kVersionOff = 0, kCountOff = 2, kAddedOff = 4, kSavedOff = 5, kFirstVisibleOff = 8,
                      kNumberOff = 12, kSubtotalOff = 36, kDiscountOff = 40, kShippingOff = 44, kTotalOff = 48;
constexpr std::size_t kVendorNumberOff = 0, kDescriptionOff = 24, kQtyOff = 64, kReceivedOff = 68, kBackOrderOff = 72,
                      kCostOff = 76, kAmountOff = 80;

std::size_t lineOffset(std::size_t i) { return PurchaseOrderRecord::kHeaderSize + PurchaseOrderRecord::kLineSize * i; }
}  // namespace

void PurchaseOrderRecord::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kHeaderSize);
    codec::putI16(buf, kVersionOff, version);
    codec::putI16(buf, kCountOff, lineCount);
    codec::putU8(buf, kAddedOff, added);
    codec::putU8(buf, kSavedOff, saved);
    codec::putI32(buf, kFirstVisibleOff, firstVisible);
    codec::putText(buf, kNumberOff, kNumberWidth, number);
    codec::putF32(buf, kSubtotalOff, subtotal);
    codec::putF32(buf, kDiscountOff, discount);
    codec::putF32(buf, kShippingOff, shipping);
    codec::putF32(buf, kTotalOff, total);
    for (std::size_t i = 0; i < kMaxLines; ++i) {
        const PurchaseOrderLine& line = lines[i];
        const std::size_t at = lineOffset(i);
        codec::putText(buf, at + kVendorNumberOff, PurchaseOrderLine::kVendorNumberWidth, line.vendorNumber);
        codec::putText(buf, at + kDescriptionOff, PurchaseOrderLine::kDescriptionWidth, line.description);
        codec::putF32(buf, at + kQtyOff, line.qty);
        codec::putF32(buf, at + kReceivedOff, line.received);
        codec::putF32(buf, at + kBackOrderOff, line.backOrder);
        codec::putF32(buf, at + kCostOff, line.cost);
        codec::putF32(buf, at + kAmountOff, line.amount);
    }
}

bool PurchaseOrderRecord::decode(const std::uint8_t* buf, std::size_t n)
{
    if (n < kSize || codec::getI16(buf, kVersionOff) != kVersion)
        return false;
    const std::int16_t count = codec::getI16(buf, kCountOff);
    if (count < 0 || count > static_cast<std::int16_t>(kMaxLines))
        return false;
    version = kVersion;
    lineCount = count;
    added = codec::getU8(buf, kAddedOff);
    saved = codec::getU8(buf, kSavedOff);
    firstVisible = std::clamp(codec::getI32(buf, kFirstVisibleOff), 0, lastFirstVisible());
    number = codec::fitText(codec::getText(buf, kNumberOff, kNumberWidth), kNumberWidth);
    subtotal = codec::getF32(buf, kSubtotalOff);
    discount = codec::getF32(buf, kDiscountOff);
    shipping = codec::getF32(buf, kShippingOff);
    total = codec::getF32(buf, kTotalOff);
    for (std::size_t i = 0; i < kMaxLines; ++i) {
        PurchaseOrderLine& line = lines[i];
        const std::size_t at = lineOffset(i);
        line.vendorNumber = codec::fitText(codec::getText(buf, at + kVendorNumberOff, PurchaseOrderLine::kVendorNumberWidth),
                                           PurchaseOrderLine::kVendorNumberWidth);
        line.description = codec::fitText(codec::getText(buf, at + kDescriptionOff, PurchaseOrderLine::kDescriptionWidth),
                                          PurchaseOrderLine::kDescriptionWidth);
        line.qty = codec::getF32(buf, at + kQtyOff);
        line.received = codec::getF32(buf, at + kReceivedOff);
        line.backOrder = codec::getF32(buf, at + kBackOrderOff);
        line.cost = codec::getF32(buf, at + kCostOff);
        line.amount = codec::getF32(buf, at + kAmountOff);
    }
    return true;
}
