#include "ByteCodec.h"
#include "ProductRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
float f32At(const std::vector<std::uint8_t>& b, std::size_t off) { return codec::getF32(b.data(), off); }
std::string textAt(const std::vector<std::uint8_t>& b, std::size_t off, std::size_t width)
{
    return codec::getText(b.data(), off, width);
}
}  // namespace

TEST(ProductRecord, EveryFieldSitsAtItsOffset)
{
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
    r.itemNumber = "ABC-123";
    r.description = "Banana split";
    r.vendor = "Acme Foods";
    r.vendorNumber = "V-77";
    r.department = "Grocery";
    r.barCode = "0123456789012";
    r.addOnId = "ADD-1";
    r.commissionPercent = 2.75f;

    std::vector<std::uint8_t> b(ProductRecord::kSize + 8, 0xCC);
    r.encode(b.data());
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(b[1], 2);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[3], 7);
    EXPECT_EQ(f32At(b, 4), 1.5f);
    EXPECT_EQ(f32At(b, 8), 2.5f);
    EXPECT_EQ(f32At(b, 12), 3.5f);
    EXPECT_EQ(f32At(b, 16), 4.5f);
    EXPECT_EQ(f32At(b, 20), -5.5f);
    EXPECT_EQ(f32At(b, 24), 6.25f);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(f32At(b, 28 + 4 * i), 10.0f + i) << i;
    EXPECT_EQ(f32At(b, 52), 12.5f);
    EXPECT_EQ(f32At(b, 56), 24.0f);
    EXPECT_EQ(textAt(b, 60, 40), "Frozen Fruit");
    EXPECT_EQ(textAt(b, 100, 24), "ABC-123");
    EXPECT_EQ(textAt(b, 124, 40), "Banana split");
    EXPECT_EQ(textAt(b, 164, 40), "Acme Foods");
    EXPECT_EQ(textAt(b, 204, 24), "V-77");
    EXPECT_EQ(textAt(b, 228, 40), "Grocery");
    EXPECT_EQ(textAt(b, 268, 24), "0123456789012");
    EXPECT_EQ(textAt(b, 292, 24), "ADD-1");
    EXPECT_EQ(f32At(b, 316), 2.75f);
    // Text slots are zero-filled behind their text; nothing is written past the record.
    EXPECT_EQ(b[100 + 7], 0);
    EXPECT_EQ(b[100 + 23], 0);
    EXPECT_EQ(b[60 + 39], 0);
    EXPECT_EQ(b[ProductRecord::kSize], 0xCC);
    EXPECT_EQ(ProductRecord::kSize, 320u);

    ProductRecord back;
    back.decode(b.data());
    std::vector<std::uint8_t> again(ProductRecord::kSize);
    back.encode(again.data());
    EXPECT_EQ(0, std::memcmp(again.data(), b.data(), ProductRecord::kSize));
    EXPECT_EQ(back.itemNumber, "ABC-123");
    EXPECT_EQ(back.addOnId, "ADD-1");
    EXPECT_EQ(back.price[5], 15.0f);
    EXPECT_EQ(back.reserved, 7);
}

TEST(ProductRecord, FreshRecordAndLongTexts)
{
    ProductRecord fresh;
    std::vector<std::uint8_t> b(ProductRecord::kSize, 0xEE);
    fresh.encode(b.data());
    EXPECT_EQ(b[0], 1);  // tax 1
    for (std::size_t i = 1; i < ProductRecord::kSize; ++i)
        ASSERT_EQ(b[i], 0) << i;

    ProductRecord r;
    r.itemNumber = "123456789012345678901234567890";  // 30 characters
    r.description = std::string(50, 'd');
    r.encode(b.data());
    ProductRecord back;
    back.decode(b.data());
    EXPECT_EQ(back.itemNumber, "12345678901234567890123");
    EXPECT_EQ(back.description, std::string(39, 'd'));

    // A damaged slot without its NUL still decodes to at most 23 characters.
    std::memset(b.data() + 100, 'x', 24);
    back.decode(b.data());
    EXPECT_EQ(back.itemNumber, std::string(23, 'x'));
    EXPECT_EQ(back.description, std::string(39, 'd'));

    EXPECT_STREQ(ProductModeName(0), "Sell");
    EXPECT_STREQ(ProductModeName(1), "Rent");
    EXPECT_STREQ(ProductModeName(2), "Deposit");
    EXPECT_STREQ(TaxStatusName(3), "3 - Tax 1 & 2");
}
