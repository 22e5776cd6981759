#include "CashierRecord.h"
#include "DefaultsRecord.h"
#include "LayoutCheck.h"
#include "SalespersonRecord.h"
#include "TaxTableRecord.h"
#include "TermsRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
template <class R> void expectRecord(const R& r, std::size_t size, const std::vector<Slot>& slots)
{
    ASSERT_EQ(R::kSize, size);
    std::vector<std::uint8_t> buf(size, 0xAA);
    r.encode(buf.data());
    expectLayout(buf.data(), size, slots);
    expectRoundTrip(R{}, buf.data(), size);
}
}  // namespace

TEST(ListRecords, CashierSalespersonTaxAndTermsLayouts)
{
    expectRecord(CashierRecord{"Alice-abcdefghijklmnopqrstu", "pw"}, 48,
                 {text(0, 24, "Alice-abcdefghijklmnopq"), text(24, 24, "pw")});
    expectRecord(SalespersonRecord{"Bob"}, 24, {text(0, 24, "Bob")});
    expectRecord(TaxTableRecord{"County", 7.25f, 1.5f}, 32, {text(0, 24, "County"), f32(24, 7.25f), f32(28, 1.5f)});
    TermsRecord t;
    t.id = 9;
    t.discountDays = 10;
    t.netDays = -2;
    t.discountPercent = 0x0102;
    t.name = "abcdefghijklmnop";
    expectRecord(t, 22, {u8(0, 9), u8(1, 0), i16(2, 10), i16(4, -2), i16(6, 0x0102), text(8, 14, "abcdefghijklm")});
}

TEST(ListRecords, TermsNamesAreBuiltFromTheirDays)
{
    struct Case {
        std::uint8_t id;
        std::int16_t percent, discountDays, netDays;
        const char* name;
    };
    for (const Case& c : {Case{3, 2, 10, 30, "2/10 NET 30"}, Case{3, 0, 10, 45, "NET 45"}, Case{0, 5, 10, 45, "COD"},
                          Case{4, 10000, 10000, 10000, "10000/10000 N"}}) {  // cut to 13 characters
        TermsRecord t;
        t.id = c.id;
        t.discountPercent = c.percent;
        t.discountDays = c.discountDays;
        t.netDays = c.netDays;
        EXPECT_EQ(TermsRecord::BuildName(t), c.name);
    }
}

TEST(ListRecords, DefaultsAreWordsInOrder)
{
    DefaultsRecord d;
    std::vector<Slot> slots;
    for (std::size_t i = 0; i < 104; ++i) {
        d.words[i] = 0x01000000u * static_cast<std::uint32_t>(i) + static_cast<std::uint32_t>(i);
        slots.push_back(u32(4 * i, 0x01000000u * i + i));
    }
    expectRecord(d, 416, slots);
}
