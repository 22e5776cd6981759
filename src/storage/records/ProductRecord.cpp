#include "storage/records/ProductRecord.h"

#include "storage/records/ByteCodec.h"

#include <cstring>

namespace {
struct TextField {
    std::size_t offset;
    std::size_t width;
    std::string ProductRecord::*field;
};
const TextField kTexts[] = {
    {ProductRecord::kCategoryOffset, ProductRecord::kNameWidth, &ProductRecord::category},
    {ProductRecord::kItemNumberOffset, ProductRecord::kCodeWidth, &ProductRecord::itemNumber},
    {ProductRecord::kDescriptionOffset, ProductRecord::kNameWidth, &ProductRecord::description},
    {ProductRecord::kVendorOffset, ProductRecord::kNameWidth, &ProductRecord::vendor},
    {ProductRecord::kVendorNumberOffset, ProductRecord::kCodeWidth, &ProductRecord::vendorNumber},
    {ProductRecord::kDepartmentOffset, ProductRecord::kNameWidth, &ProductRecord::department},
    {ProductRecord::kBarCodeOffset, ProductRecord::kCodeWidth, &ProductRecord::barCode},
    {ProductRecord::kAddOnIdOffset, ProductRecord::kCodeWidth, &ProductRecord::addOnId},
};

struct FloatField {
    std::size_t offset;
    float ProductRecord::*field;
};
const FloatField kFloats[] = {
    {ProductRecord::kSoldQtyOffset, &ProductRecord::soldQty},
    {ProductRecord::kSoldTotalOffset, &ProductRecord::soldTotal},
    {ProductRecord::kSoldProfitOffset, &ProductRecord::soldProfit},
    {ProductRecord::kSoldCommissionOffset, &ProductRecord::soldCommission},
    {ProductRecord::kStockOffset, &ProductRecord::stock},
    {ProductRecord::kCostOffset, &ProductRecord::cost},
    {ProductRecord::kSalePercentOffset, &ProductRecord::salePercent},
    {ProductRecord::kCaseQtyOffset, &ProductRecord::caseQty},
    {ProductRecord::kCommissionPercentOffset, &ProductRecord::commissionPercent},
};
}  // namespace

void ProductRecord::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putU8(buf, kTaxStatusOffset, taxStatus);
    codec::putU8(buf, kModeOffset, mode);
    codec::putU8(buf, kShowOnTouchOffset, showOnTouch);
    codec::putU8(buf, kReservedOffset, reserved);
    for (const auto& f : kFloats)
        codec::putF32(buf, f.offset, this->*f.field);
    for (std::size_t i = 0; i < kPriceLevels; ++i)
        codec::putF32(buf, kPriceOffset + 4 * i, price[i]);
    for (const auto& t : kTexts)
        codec::putText(buf, t.offset, t.width, this->*t.field);
}

void ProductRecord::decode(const std::uint8_t* buf)
{
    taxStatus = codec::getU8(buf, kTaxStatusOffset);
    mode = codec::getU8(buf, kModeOffset);
    showOnTouch = codec::getU8(buf, kShowOnTouchOffset);
    reserved = codec::getU8(buf, kReservedOffset);
    for (const auto& f : kFloats)
        this->*f.field = codec::getF32(buf, f.offset);
    for (std::size_t i = 0; i < kPriceLevels; ++i)
        price[i] = codec::getF32(buf, kPriceOffset + 4 * i);
    for (const auto& t : kTexts)
        this->*t.field = codec::fitText(codec::getText(buf, t.offset, t.width), t.width);
}

const char* ProductModeName(std::uint8_t mode)
{
    switch (mode) {
    case ProductRecord::kSell: return "Sell";
    case ProductRecord::kRent: return "Rent";
    case ProductRecord::kDeposit: return "Deposit";
    default: return "";
    }
}
