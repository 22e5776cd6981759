#include "InvoiceRecord.h"
#include "InvoiceTestSupport.h"
#include "LayoutCheck.h"

#include <gtest/gtest.h>

#include <vector>

TEST(InvoiceRecord, EveryFieldLiesAtItsOffset)
{
    static_assert(InvoiceRecord::kSize == 4728);
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
    r.cashier = "Cashier Name";
    r.salesperson = "Sales Person";
    r.payType = "Terms";
    r.year = 2006;
    r.month = 11;
    r.period = 2;
    r.week = 47;
    r.day = 23;
    r.saleTime = OleDate{38990.75, 0};
    r.secondDate = OleDate{12.25, 1};
    std::vector<Slot> slots{u8(0, 1),       u8(1, 0),        u8(2, 7),        u8(3, 5),     u16(4, 0xBEEF),
                            zeros(6, 2),    i32(8, -123456), text(540, 24, "Cashier Name"),
                            text(564, 24, "Sales Person"), text(948, 24, "Terms"), i16(4692, 2006), i16(4694, 11),
                            i16(4696, 2),   i16(4698, 47),   i16(4700, 23),   zeros(4702, 2), f64(4704, 38990.75),
                            i32(4712, 0),   f64(4716, 12.25), i32(4724, 1)};
    for (std::size_t i = 0; i < 12; ++i)
        slots.push_back(f32(12 + 4 * i, 1.5f + static_cast<float>(i)));
    for (std::size_t i = 0; i < 9; ++i) {
        r.address[i] = "addr" + std::to_string(i);
        slots.push_back(text(588 + 40 * i, 40, r.address[i]));
    }
    for (std::size_t i = 0; i < 20; ++i) {
        const float f = static_cast<float>(i);
        const std::string n = std::to_string(i);
        r.qty[i] = 100 + f;
        r.markdownPercent[i] = 200 + f;
        r.price[i] = 300 + f;
        r.extended[i] = 400 + f;
        r.cost[i] = 500 + f;
        r.commissionPercent[i] = 600 + f;
        for (std::size_t a = 0; a < 6; ++a)
            slots.push_back(f32(60 + 80 * a + 4 * i, 100.0f * static_cast<float>(a + 1) + f));
        r.itemNumber[i] = "item" + n;
        r.description[i] = "desc" + n;
        r.category[i] = "cat" + n;
        r.vendor[i] = "vend" + n;
        r.department[i] = "dept" + n;
        slots.push_back(text(972 + 24 * i, 24, "item" + n));
        slots.push_back(text(1452 + 40 * i, 40, "desc" + n));
        slots.push_back(text(2252 + 40 * i, 40, "cat" + n));
        slots.push_back(text(3052 + 40 * i, 40, "vend" + n));
        slots.push_back(text(3852 + 40 * i, 40, "dept" + n));
        r.lineMode[i] = static_cast<std::uint8_t>(i % 4);
        r.taxStatus[i] = static_cast<std::uint8_t>(10 + i);
        slots.push_back(u8(4652 + i, static_cast<double>(i % 4)));
        slots.push_back(u8(4672 + i, static_cast<double>(10 + i)));
    }
    std::vector<std::uint8_t> buf(InvoiceRecord::kSize, 0xCC);
    r.encode(buf.data());
    expectLayout(buf.data(), InvoiceRecord::kSize, slots);
    InvoiceRecord back;
    back.decode(buf.data());
    EXPECT_EQ(back, r);
    EXPECT_EQ(InvoiceRecord(back).secondDate, (OleDate{12.25, 1}));  // a copy carries both dates
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
    // A fresh record is zero but for the two date validity words ("not set").
    std::vector<std::uint8_t> buf(InvoiceRecord::kSize, 0xCC);
    InvoiceRecord().encode(buf.data());
    std::vector<std::uint8_t> want(InvoiceRecord::kSize, 0);
    want[4712] = want[4724] = 1;
    EXPECT_EQ(buf, want);

    const InvoiceRecord cleared = ClearedInvoice();
    cleared.encode(buf.data());
    std::fill(want.begin() + 4652, want.begin() + 4672, 3);  // every line mode "cleared"
    EXPECT_EQ(buf, want);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_TRUE(cleared.lineIsEmpty(i));
}

TEST(InvoiceRecord, DatingTakesPeriodWeekAndTimeFromOneMoment)
{
    InvoiceRecord r = ClearedInvoice();
    // 1 April 2006 was a Saturday; 1 January 2006 a Sunday, so that week is week 1
    // and the week from Sunday 26 March is week 13. Day 38808 counted from 30 Dec 1899.
    DateRecord(r, at(2006, 4, 1, 12, 0, 0));
    EXPECT_EQ((std::vector<int>{r.year, r.month, r.period, r.week, r.day}), (std::vector<int>{2006, 4, 1, 13, 1}));
    EXPECT_EQ(r.saleTime, (OleDate{38808.5, 0}));
    EXPECT_EQ(DateKey(r), 2006 * 385 + 4 * 32 + 1);

    // Periods come in groups of 3, 4, 4 and 1 months.
    const int expectedPeriod[13] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3};
    for (int m = 1; m <= 12; ++m) {
        DateRecord(r, at(2007, m, 15));
        EXPECT_EQ(r.period, expectedPeriod[m]) << m;
    }
    // 1 January 2007 was a Monday: the days before Sunday 7 January are week 0.
    struct Week {
        CalendarTime when;
        int week;
    };
    for (const Week& w : {Week{at(2007, 1, 6, 23, 59, 59), 0}, Week{at(2007, 1, 7), 1}, Week{at(2007, 12, 31), 52}}) {
        DateRecord(r, w.when);
        EXPECT_EQ(r.week, w.week) << w.when.month << "/" << w.when.day;
    }
}
