#pragma once
// printf-style formatting into a std::string, for the system's fixed message texts.

#include <string>

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

struct CalendarTime;
struct OleDate;
// strftime of a calendar time in the current C locale.
std::string FormatCalendarTime(const CalendarTime& t, const char* format);
// strftime of a stored date in the current C locale; empty for a date that is
// not set or cannot be shown.
std::string FormatOleDate(const OleDate& date, const char* format);
