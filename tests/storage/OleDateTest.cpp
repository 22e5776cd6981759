#include "OleDate.h"

#include <gtest/gtest.h>

TEST(OleDate, ConvertsToAndFromCalendarAroundTheEpoch)
{
    // Day 0 is 30 December 1899; 2.0 is 1 January 1900; 36526 is 1 January 2000.
    EXPECT_EQ(OleDate::fromCalendar(1899, 12, 30).value, 0.0);
    EXPECT_EQ(OleDate::fromCalendar(1900, 1, 1).value, 2.0);
    EXPECT_EQ(OleDate::fromCalendar(2000, 1, 1).value, 36526.0);
    EXPECT_DOUBLE_EQ(OleDate::fromCalendar(2000, 1, 1, 18, 0, 0).value, 36526.75);
    // Before the epoch the fraction counts forward from midnight: -1.25 is 29 Dec 1899, 06:00.
    EXPECT_DOUBLE_EQ(OleDate::fromCalendar(1899, 12, 29, 6, 0, 0).value, -1.25);

    CalendarTime t;
    ASSERT_TRUE((OleDate{-1.25, 0}).toCalendar(t));
    EXPECT_EQ(t.year, 1899);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 6);

    ASSERT_TRUE(OleDate::fromCalendar(2024, 2, 29, 23, 59, 59).toCalendar(t));
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_EQ(t.second, 59);
    EXPECT_EQ(t.dayOfWeek, 4);  // a Thursday
    EXPECT_EQ(t.dayOfYear, 59);

    // A time a hair before midnight rounds into the next day, not to 24:00:00.
    ASSERT_TRUE((OleDate{36526.9999999, 0}).toCalendar(t));
    EXPECT_EQ(t.day, 2);
    EXPECT_EQ(t.hour, 0);
}

TEST(OleDate, WeekOfYearCountsFromTheFirstSunday)
{
    CalendarTime t;
    // 1 January 2026 is a Thursday: week 0 until Saturday 3 January, week 1 from Sunday 4 January.
    OleDate::fromCalendar(2026, 1, 3).toCalendar(t);
    EXPECT_EQ(t.weekOfYear(), 0);
    OleDate::fromCalendar(2026, 1, 4).toCalendar(t);
    EXPECT_EQ(t.weekOfYear(), 1);
    OleDate::fromCalendar(2026, 12, 31).toCalendar(t);
    EXPECT_EQ(t.weekOfYear(), 52);
    // 2023 began on a Sunday: 1 January is already week 1.
    OleDate::fromCalendar(2023, 1, 1).toCalendar(t);
    EXPECT_EQ(t.weekOfYear(), 1);
}

TEST(OleDate, ImpossibleOrUnsetDatesAreNotValid)
{
    EXPECT_FALSE(OleDate::fromCalendar(2025, 2, 29).isValid());
    EXPECT_FALSE(OleDate::fromCalendar(2025, 13, 1).isValid());
    EXPECT_FALSE(OleDate::fromCalendar(2025, 1, 1, 24, 0, 0).isValid());
    EXPECT_FALSE(OleDate{}.isValid());  // status 1: not set
    EXPECT_FALSE((OleDate{1e300, 0}).isValid());
    CalendarTime t;
    EXPECT_FALSE((OleDate{std::numeric_limits<double>::quiet_NaN(), 0}).toCalendar(t));

    std::uint8_t buf[12];
    OleDate d = OleDate::fromCalendar(2006, 7, 4, 9, 30, 0);
    d.encode(buf, 0);
    EXPECT_EQ(OleDate::decode(buf, 0), d);
    EXPECT_EQ(buf[8], 0);  // validity word 0 follows the double
    OleDate unset;
    unset.encode(buf, 0);
    EXPECT_EQ(buf[8], 1);
    EXPECT_EQ(OleDate::fromCalendar(2006, 7, 4, 9, 30, 0).dateOnly().value, OleDate::fromCalendar(2006, 7, 4).value);
}
