#pragma once
// A date and time stored as days since 30 December 1899, the time of day as the
// fraction, followed in records by a 32-bit validity word (0 valid, 1 not set).

#include <cstddef>
#include <cstdint>

struct CalendarTime {
    int year = 0;
    int month = 0;      // 1..12
    int day = 0;        // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
    int dayOfYear = 0;  // 0-based
    // Week of the year with weeks starting on Sunday; days before the first
    // Sunday of the year are week 0 (the "%U" conversion).
    int weekOfYear() const { return (dayOfYear + 7 - dayOfWeek) / 7; }
};

struct OleDate {
    static constexpr std::size_t kSize = 12;
    static constexpr std::int32_t kValid = 0;
    static constexpr std::int32_t kNotSet = 1;

    double value = 0.0;
    std::int32_t status = kNotSet;

    bool isValid() const;

    // Builds a valid date; an impossible date or time gives a date that is not set.
    static OleDate fromCalendar(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    static OleDate fromCalendar(const CalendarTime& t);
    // Converts back, rounded to the second. False for a date that is not set or
    // lies outside the years 100 to 9999.
    bool toCalendar(CalendarTime& out) const;
    // The date alone, time of day dropped (same validity).
    OleDate dateOnly() const;

    void encode(std::uint8_t* buf, std::size_t off) const;
    static OleDate decode(const std::uint8_t* buf, std::size_t off);

    bool operator==(const OleDate&) const = default;
};

// Days from 1970-01-01 for a proleptic Gregorian date, and back.
long long daysFromCivil(int year, int month, int day);
void civilFromDays(long long days, int& year, int& month, int& day);
