#pragma once
// One product of the store's inventory: a 320-byte record of the product file.
// Numbers are 4-byte floats; text fields are fixed NUL-terminated slots.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct ProductRecord {
    static constexpr std::size_t kSize = 320;

    // Field offsets and widths within the record.
    static constexpr std::size_t kTaxStatusOffset = 0;
    static constexpr std::size_t kModeOffset = 1;
    static constexpr std::size_t kShowOnTouchOffset = 2;
    static constexpr std::size_t kReservedOffset = 3;
    static constexpr std::size_t kSoldQtyOffset = 4;
    static constexpr std::size_t kSoldTotalOffset = 8;
    static constexpr std::size_t kSoldProfitOffset = 12;
    static constexpr std::size_t kSoldCommissionOffset = 16;
    static constexpr std::size_t kStockOffset = 20;
    static constexpr std::size_t kCostOffset = 24;
    static constexpr std::size_t kPriceOffset = 28;  // 6 floats
    static constexpr std::size_t kSalePercentOffset = 52;
    static constexpr std::size_t kCaseQtyOffset = 56;
    static constexpr std::size_t kCategoryOffset = 60;
    static constexpr std::size_t kItemNumberOffset = 100;
    static constexpr std::size_t kDescriptionOffset = 124;
    static constexpr std::size_t kVendorOffset = 164;
    static constexpr std::size_t kVendorNumberOffset = 204;
    static constexpr std::size_t kDepartmentOffset = 228;
    static constexpr std::size_t kBarCodeOffset = 268;
    static constexpr std::size_t kAddOnIdOffset = 292;
    static constexpr std::size_t kCommissionPercentOffset = 316;

    static constexpr std::size_t kNameWidth = 40;  // category, description, vendor, department
    static constexpr std::size_t kCodeWidth = 24;  // item number, vendor number, bar code, add-on id
    static constexpr std::size_t kPriceLevels = 6;

    enum Mode : std::uint8_t { kSell = 0, kRent = 1, kDeposit = 2 };

    std::uint8_t taxStatus = 1;  // 0 no tax, 1 tax 1, 2 tax 2, 3 both
    std::uint8_t mode = kSell;
    std::uint8_t showOnTouch = 0;
    std::uint8_t reserved = 0;  // kept as found
    float soldQty = 0;
    float soldTotal = 0;
    float soldProfit = 0;
    float soldCommission = 0;
    float stock = 0;
    float cost = 0;
    std::array<float, kPriceLevels> price{};
    float salePercent = 0;
    float caseQty = 0;
    std::string category;
    std::string itemNumber;
    std::string description;
    std::string vendor;
    std::string vendorNumber;
    std::string department;
    std::string barCode;
    std::string addOnId;
    float commissionPercent = 0;

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};

// The name lists show for a mode.
const char* ProductModeName(std::uint8_t mode);
