#include "LayoutCheck.h"
#include "ProductRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(ProductRecord, EveryFieldSitsAtItsOffset)
{
    static_assert(ProductRecord::kSize == 320);
    ProductRecord r;
    r.taxStatus = 3;
    r.mode = 2;
    r.showOnTouch = 1;
    r.reserved = 7;
    r.soldQty = 1.5f;
    r.soldTotal = 2.5f;
    r.soldProfit = 3.5f;
    r.soldCommission = 4.5f;
    r.stock = -5.5f;
    r.cost = 6.25f;
    for (int i = 0; i < 6; ++i)
        r.price[i] = 10.0f + i;
    r.salePercent = 12.5f;
    r.caseQty = 24.0f;
    r.category = "Frozen Fruit";
    r.itemNumber = "123456789012345678901234567890";  // 30 characters, 23 kept
    r.description = std::string(50, 'd');
    r.vendor = "Acme Foods";
    r.vendorNumber = "V-77";
    r.department = "Grocery";
    r.barCode = "0123456789012";
    r.addOnId = "ADD-1";
    r.commissionPercent = 2.75f;

    std::vector<std::uint8_t> b(ProductRecord::kSize + 8, 0xCC);
    r.encode(b.data());
    std::vector<Slot> slots{u8(0, 3),         u8(1, 2),           u8(2, 1),          u8(3, 7),
                            f32(4, 1.5f),     f32(8, 2.5f),       f32(12, 3.5f),     f32(16, 4.5f),
                            f32(20, -5.5f),   f32(24, 6.25f),     f32(52, 12.5f),    f32(56, 24.0f),
                            text(60, 40, "Frozen Fruit"), text(100, 24, "12345678901234567890123"),
                            text(124, 40, std::string(39, 'd')), text(164, 40, "Acme Foods"), text(204, 24, "V-77"),
                            text(228, 40, "Grocery"), text(268, 24, "0123456789012"), text(292, 24, "ADD-1"),
                            f32(316, 2.75f)};
    for (std::size_t i = 0; i < 6; ++i)
        slots.push_back(f32(28 + 4 * i, 10.0f + static_cast<float>(i)));
    expectLayout(b.data(), ProductRecord::kSize, slots);
    EXPECT_EQ(b[ProductRecord::kSize], 0xCC);  // nothing past the record
    expectRoundTrip(ProductRecord{}, b.data(), ProductRecord::kSize);

    // A damaged slot without its NUL still decodes to at most 23 characters.
    std::memset(b.data() + 100, 'x', 24);
    ProductRecord back;
    back.decode(b.data());
    EXPECT_EQ(back.itemNumber, std::string(23, 'x'));
    EXPECT_EQ(back.description, std::string(39, 'd'));

    // A fresh record is tax 1 and nothing else.
    ProductRecord().encode(b.data());
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 1, b.begin() + ProductRecord::kSize),
              std::vector<std::uint8_t>(ProductRecord::kSize - 1, 0));
    EXPECT_EQ(b[0], 1);

    EXPECT_STREQ(ProductModeName(0), "Sell");
    EXPECT_STREQ(ProductModeName(1), "Rent");
    EXPECT_STREQ(ProductModeName(2), "Deposit");
    EXPECT_STREQ(TaxStatusName(3), "3 - Tax 1 & 2");
}
