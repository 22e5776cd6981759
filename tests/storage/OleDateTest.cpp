#include "storage/records/OleDate.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {
std::vector<int> fields(const CalendarTime& t)
{
    return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.dayOfWeek, t.dayOfYear, t.weekOfYear()};
}
}  // namespace

TEST(OleDate, ConvertsToAndFromCalendarAroundTheEpochAndRefusesImpossibleDates)
{
    // Day 0 is 30 December 1899 (a Saturday); before it the fraction counts
    // forward from midnight. Weeks start on Sunday: 1 January 2026 is a
    // Thursday, so its first days are week 0; 2023 began on a Sunday.
    struct Case {
        CalendarTime when;
        double value;
        std::vector<int> back;  // y m d h m s, day of week, day of year, week
    };
    const Case cases[] = {
        {{1899, 12, 30}, 0.0, {1899, 12, 30, 0, 0, 0, 6, 363, 52}},
        {{1900, 1, 1}, 2.0, {1900, 1, 1, 0, 0, 0, 1, 0, 0}},
        {{2000, 1, 1, 18, 0, 0}, 36526.75, {2000, 1, 1, 18, 0, 0, 6, 0, 0}},
        {{1899, 12, 29, 6, 0, 0}, -1.25, {1899, 12, 29, 6, 0, 0, 5, 362, 52}},
        {{2024, 2, 29, 23, 59, 59}, 45351 + 86399.0 / 86400, {2024, 2, 29, 23, 59, 59, 4, 59, 8}},
        {{2026, 1, 3}, 46025, {2026, 1, 3, 0, 0, 0, 6, 2, 0}},
        {{2026, 1, 4}, 46026, {2026, 1, 4, 0, 0, 0, 0, 3, 1}},
        {{2026, 12, 31}, 46387, {2026, 12, 31, 0, 0, 0, 4, 364, 52}},
        {{2023, 1, 1}, 44927, {2023, 1, 1, 0, 0, 0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        const OleDate d = OleDate::fromCalendar(c.when);
        EXPECT_DOUBLE_EQ(d.value, c.value) << c.when.year << "-" << c.when.month << "-" << c.when.day;
        CalendarTime t;
        ASSERT_TRUE(d.toCalendar(t));
        EXPECT_EQ(fields(t), c.back) << c.value;
    }

    // A time a hair before midnight rounds into the next day, not to 24:00:00.
    CalendarTime t;
    ASSERT_TRUE((OleDate{36526.9999999, 0}).toCalendar(t));
    EXPECT_EQ((std::pair{t.day, t.hour}), (std::pair{2, 0}));
    EXPECT_EQ(OleDate::fromCalendar(2006, 7, 4, 9, 30, 0).dateOnly().value, OleDate::fromCalendar(2006, 7, 4).value);

    // Impossible or unset dates are not valid.
    for (const OleDate& d : {OleDate::fromCalendar(2025, 2, 29), OleDate::fromCalendar(2025, 13, 1),
                             OleDate::fromCalendar(2025, 1, 1, 24, 0, 0), OleDate{} /* status 1: not set */,
                             OleDate{1e300, 0}})
        EXPECT_FALSE(d.isValid()) << d.value;
    EXPECT_FALSE((OleDate{std::numeric_limits<double>::quiet_NaN(), 0}).toCalendar(t));
}
