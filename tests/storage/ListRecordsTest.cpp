#include "ByteCodec.h"
#include "CashierRecord.h"
#include "DefaultsRecord.h"
#include "SalespersonRecord.h"
#include "TaxTableRecord.h"
#include "TermsRecord.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ListRecords, CashierSalespersonAndTaxLayouts)
{
    EXPECT_EQ(CashierRecord::kSize, 48u);
    CashierRecord c{"Alice-abcdefghijklmnopqrstu", "pw"};
    std::vector<std::uint8_t> buf(48, 0xAA);
    c.encode(buf.data());
    EXPECT_EQ(codec::getText(buf.data(), 0, 24), "Alice-abcdefghijklmnopq");
    EXPECT_EQ(buf[23], 0);
    EXPECT_EQ(codec::getText(buf.data(), 24, 24), "pw");
    EXPECT_EQ(buf[47], 0);
    CashierRecord cb;
    cb.decode(buf.data());
    EXPECT_EQ(cb.name, "Alice-abcdefghijklmnopq");
    EXPECT_EQ(cb.password, "pw");

    EXPECT_EQ(SalespersonRecord::kSize, 24u);
    SalespersonRecord s{"Bob"};
    std::vector<std::uint8_t> sb(24, 0xAA);
    s.encode(sb.data());
    EXPECT_EQ(codec::getText(sb.data(), 0, 24), "Bob");
    EXPECT_EQ(sb[23], 0);
    SalespersonRecord sback;
    sback.decode(sb.data());
    EXPECT_EQ(sback.name, "Bob");

    EXPECT_EQ(TaxTableRecord::kSize, 32u);
    TaxTableRecord t{"County", 7.25f, 1.5f};
    std::vector<std::uint8_t> tb(32, 0xAA);
    t.encode(tb.data());
    EXPECT_EQ(codec::getText(tb.data(), 0, 24), "County");
    EXPECT_EQ(tb[23], 0);
    EXPECT_EQ(codec::getF32(tb.data(), 24), 7.25f);
    EXPECT_EQ(codec::getF32(tb.data(), 28), 1.5f);
    TaxTableRecord tback;
    tback.decode(tb.data());
    EXPECT_EQ(tback.name, "County");
    EXPECT_EQ(tback.tax1, 7.25f);
    EXPECT_EQ(tback.tax2, 1.5f);
}

TEST(ListRecords, TermsLayoutAndBuiltNames)
{
    EXPECT_EQ(TermsRecord::kSize, 22u);
    TermsRecord r;
    r.id = 9;
    r.discountDays = 10;
    r.netDays = -2;
    r.discountPercent = 0x0102;
    r.name = "abcdefghijklmnop";
    std::vector<std::uint8_t> buf(22, 0xAA);
    r.encode(buf.data());
    EXPECT_EQ(buf[0], 9);
    EXPECT_EQ(buf[1], 0);
    EXPECT_EQ(codec::getI16(buf.data(), 2), 10);
    EXPECT_EQ(buf[4], 0xFE);
    EXPECT_EQ(buf[5], 0xFF);
    EXPECT_EQ(buf[6], 0x02);
    EXPECT_EQ(buf[7], 0x01);
    EXPECT_EQ(codec::getText(buf.data(), 8, 14), "abcdefghijklm");
    EXPECT_EQ(buf[21], 0);
    TermsRecord back;
    back.decode(buf.data());
    EXPECT_EQ(back.id, 9);
    EXPECT_EQ(back.netDays, -2);
    EXPECT_EQ(back.discountPercent, 0x0102);
    EXPECT_EQ(back.name, "abcdefghijklm");

    TermsRecord t;
    t.id = 3;
    t.discountPercent = 2;
    t.discountDays = 10;
    t.netDays = 30;
    EXPECT_EQ(TermsRecord::BuildName(t), "2/10 NET 30");
    t.discountPercent = 0;
    t.netDays = 45;
    EXPECT_EQ(TermsRecord::BuildName(t), "NET 45");
    t.id = 0;
    t.discountPercent = 5;
    EXPECT_EQ(TermsRecord::BuildName(t), "COD");
    t.id = 4;
    t.discountPercent = 10000;
    t.discountDays = 10000;
    t.netDays = 10000;
    EXPECT_EQ(TermsRecord::BuildName(t), "10000/10000 N");  // cut to 13 characters
}

TEST(ListRecords, DefaultsAreWordsInOrder)
{
    EXPECT_EQ(DefaultsRecord::kSize, 416u);
    DefaultsRecord d;
    for (std::size_t i = 0; i < 104; ++i)
        d.words[i] = 0x01000000u * static_cast<std::uint32_t>(i) + static_cast<std::uint32_t>(i);
    std::vector<std::uint8_t> buf(416);
    d.encode(buf.data());
    EXPECT_EQ(buf[4 * 101], 101);
    EXPECT_EQ(buf[4 * 101 + 3], 101);
    EXPECT_EQ(codec::getU32(buf.data(), 4 * 103), 0x67000067u);
    DefaultsRecord back;
    back.decode(buf.data());
    EXPECT_EQ(back.words, d.words);
}
