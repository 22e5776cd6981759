#include "ByteCodec.h"
#include "InvoiceRecord.h"
#include "InvoiceTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// Every field a distinct value.
InvoiceRecord distinctSale()
{
    InvoiceRecord r;
    r.paid = 1;
    r.termsIndex = 7;
    r.priceLevel = 5;
    r.customerNumber = 0xBEEF;
    r.recordNumber = -123456;
    r.taxRate1 = 1.5f;
    r.taxRate2 = 2.5f;
    r.discountPercent = 3.5f;
    r.taxableSubtotal = 4.5f;
    r.exemptSubtotal = 5.5f;
    r.tax1 = 6.5f;
    r.tax2 = 7.5f;
    r.handling = 8.5f;
    r.total = 9.5f;
    r.cashPaid = 10.5f;
    r.change = 11.5f;
    r.totalCost = 12.5f;
    for (std::size_t i = 0; i < 20; ++i) {
        const float f = static_cast<float>(i);
        r.qty[i] = 100 + f;
        r.markdownPercent[i] = 200 + f;
        r.price[i] = 300 + f;
        r.extended[i] = 400 + f;
        r.cost[i] = 500 + f;
        r.commissionPercent[i] = 600 + f;
        r.itemNumber[i] = "item" + std::to_string(i);
        r.description[i] = "desc" + std::to_string(i);
        r.category[i] = "cat" + std::to_string(i);
        r.vendor[i] = "vend" + std::to_string(i);
        r.department[i] = "dept" + std::to_string(i);
        r.lineMode[i] = static_cast<std::uint8_t>(i % 4);
        r.taxStatus[i] = static_cast<std::uint8_t>(10 + i);
    }
    r.cashier = "Cashier Name";
    r.salesperson = "Sales Person";
    for (std::size_t i = 0; i < 9; ++i)
        r.address[i] = "addr" + std::to_string(i);
    r.payType = "Terms";
    r.year = 2006;
    r.month = 11;
    r.period = 2;
    r.week = 47;
    r.day = 23;
    r.saleTime = OleDate{38990.75, 0};
    r.secondDate = OleDate{12.25, 1};
    return r;
}
}  // namespace

TEST(InvoiceRecord, EveryFieldLiesAtItsOffset)
{
    static_assert(InvoiceRecord::kSize == 4728);
    const InvoiceRecord r = distinctSale();
    std::vector<std::uint8_t> buf(InvoiceRecord::kSize, 0xCC);
    r.encode(buf.data());
    const std::uint8_t* b = buf.data();

    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 7);
    EXPECT_EQ(b[3], 5);
    EXPECT_EQ(codec::getU16(b, 4), 0xBEEF);
    EXPECT_EQ(b[6], 0);
    EXPECT_EQ(b[7], 0);
    EXPECT_EQ(codec::getI32(b, 8), -123456);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(codec::getF32(b, 12 + 4 * static_cast<std::size_t>(i)), 1.5f + static_cast<float>(i)) << i;
    for (std::size_t i = 0; i < 20; ++i) {
        const float f = static_cast<float>(i);
        EXPECT_EQ(codec::getF32(b, 60 + 4 * i), 100 + f);
        EXPECT_EQ(codec::getF32(b, 140 + 4 * i), 200 + f);
        EXPECT_EQ(codec::getF32(b, 220 + 4 * i), 300 + f);
        EXPECT_EQ(codec::getF32(b, 300 + 4 * i), 400 + f);
        EXPECT_EQ(codec::getF32(b, 380 + 4 * i), 500 + f);
        EXPECT_EQ(codec::getF32(b, 460 + 4 * i), 600 + f);
        EXPECT_EQ(codec::getText(b, 972 + 24 * i, 24), "item" + std::to_string(i));
        EXPECT_EQ(codec::getText(b, 1452 + 40 * i, 40), "desc" + std::to_string(i));
        EXPECT_EQ(codec::getText(b, 2252 + 40 * i, 40), "cat" + std::to_string(i));
        EXPECT_EQ(codec::getText(b, 3052 + 40 * i, 40), "vend" + std::to_string(i));
        EXPECT_EQ(codec::getText(b, 3852 + 40 * i, 40), "dept" + std::to_string(i));
        EXPECT_EQ(b[4652 + i], i % 4);
        EXPECT_EQ(b[4672 + i], 10 + i);
    }
    EXPECT_EQ(codec::getText(b, 540, 24), "Cashier Name");
    EXPECT_EQ(codec::getText(b, 564, 24), "Sales Person");
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(codec::getText(b, 588 + 40 * i, 40), "addr" + std::to_string(i));
    EXPECT_EQ(codec::getText(b, 948, 24), "Terms");
    EXPECT_EQ(codec::getI16(b, 4692), 2006);
    EXPECT_EQ(codec::getI16(b, 4694), 11);
    EXPECT_EQ(codec::getI16(b, 4696), 2);
    EXPECT_EQ(codec::getI16(b, 4698), 47);
    EXPECT_EQ(codec::getI16(b, 4700), 23);
    EXPECT_EQ(b[4702], 0);
    EXPECT_EQ(b[4703], 0);
    EXPECT_EQ(codec::getF64(b, 4704), 38990.75);
    EXPECT_EQ(codec::getI32(b, 4712), 0);
    EXPECT_EQ(codec::getF64(b, 4716), 12.25);
    EXPECT_EQ(codec::getI32(b, 4724), 1);
    // Text slots are zero-filled after their text: the last byte of the last
    // department slot and of the last e-mail byte are 0, not the fill.
    EXPECT_EQ(b[3852 + 40 * 20 - 1], 0);
    EXPECT_EQ(b[588 + 9 * 40 - 1], 0);

    InvoiceRecord back;
    back.decode(b);
    EXPECT_EQ(back, r);
    // Record copy carries both date slots.
    const InvoiceRecord copy = back;
    EXPECT_EQ(copy.secondDate, (OleDate{12.25, 1}));
}

TEST(InvoiceRecord, TextsAreCutToTheirSlotsAndDamagedSlotsReadToCapacity)
{
    InvoiceRecord r;
    r.cashier = std::string(30, 'c');
    r.itemNumber[19] = std::string(30, 'i');
    r.description[0] = std::string(45, 'd');
    std::vector<std::uint8_t> buf(InvoiceRecord::kSize);
    r.encode(buf.data());
    EXPECT_EQ(buf[540 + 23], 0);
    EXPECT_EQ(buf[972 + 24 * 19 + 23], 0);
    InvoiceRecord back;
    back.decode(buf.data());
    EXPECT_EQ(back.cashier, std::string(23, 'c'));
    EXPECT_EQ(back.itemNumber[19], std::string(23, 'i'));
    EXPECT_EQ(back.description[0], std::string(39, 'd'));
    EXPECT_EQ(back.description[1], "");

    // A pay type slot without its NUL must not run into the item numbers.
    std::fill(buf.begin() + 948, buf.begin() + 972, 'p');
    back.decode(buf.data());
    EXPECT_EQ(back.payType, std::string(23, 'p'));
}

TEST(InvoiceRecord, FreshAndClearedRecords)
{
    std::vector<std::uint8_t> buf(InvoiceRecord::kSize, 0xCC);
    InvoiceRecord().encode(buf.data());
    for (std::size_t i = 0; i < InvoiceRecord::kSize; ++i) {
        // Only the two validity words say "not set".
        const bool validityLow = i == 4712 || i == 4724;
        EXPECT_EQ(buf[i], validityLow ? 1 : 0) << "offset " << i;
    }

    const InvoiceRecord cleared = ClearedInvoice();
    cleared.encode(buf.data());
    for (std::size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(buf[4652 + i], 3);
        EXPECT_EQ(buf[4672 + i], 0);
        EXPECT_TRUE(cleared.lineIsEmpty(i));
    }
    EXPECT_EQ(codec::getF64(buf.data(), 4704), 0.0);
    EXPECT_EQ(codec::getI32(buf.data(), 4712), 1);
    EXPECT_EQ(codec::getF64(buf.data(), 4716), 0.0);
    EXPECT_EQ(codec::getI32(buf.data(), 4724), 1);
    EXPECT_EQ(cleared.total, 0.0f);
    EXPECT_EQ(cleared.payType, "");
}

TEST(InvoiceRecord, DatingTakesPeriodWeekAndTimeFromOneMoment)
{
    InvoiceRecord r = ClearedInvoice();
    // 1 April 2006 was a Saturday; 1 January 2006 a Sunday, so that week is week 1
    // and the week from Sunday 26 March is week 13. Day 38808 counted from 30 Dec 1899.
    DateRecord(r, at(2006, 4, 1, 12, 0, 0));
    EXPECT_EQ(r.year, 2006);
    EXPECT_EQ(r.month, 4);
    EXPECT_EQ(r.period, 1);
    EXPECT_EQ(r.week, 13);
    EXPECT_EQ(r.day, 1);
    EXPECT_EQ(r.saleTime, (OleDate{38808.5, 0}));
    EXPECT_EQ(DateKey(r), 2006 * 385 + 4 * 32 + 1);

    // Periods come in groups of 3, 4, 4 and 1 months.
    const int expectedPeriod[13] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3};
    for (int m = 1; m <= 12; ++m) {
        DateRecord(r, at(2007, m, 15));
        EXPECT_EQ(r.period, expectedPeriod[m]) << m;
    }
    // 1 January 2007 was a Monday: the days before Sunday 7 January are week 0.
    DateRecord(r, at(2007, 1, 6, 23, 59, 59));
    EXPECT_EQ(r.week, 0);
    DateRecord(r, at(2007, 1, 7));
    EXPECT_EQ(r.week, 1);
    DateRecord(r, at(2007, 12, 31));
    EXPECT_EQ(r.week, 52);
}
