#include "storage/records/TextFormat.h"

#include "storage/records/OleDate.h"

#include <ctime>

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string strprintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buf(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, args);
        out.assign(buf.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    return out;
}

std::string FormatOleDate(const OleDate& date, const char* format)
{
    CalendarTime t;
    if (!date.toCalendar(t))
        return {};
    return FormatCalendarTime(t, format);
}

std::string FormatCalendarTime(const CalendarTime& t, const char* format)
{
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_wday = t.dayOfWeek;
    tm.tm_yday = t.dayOfYear;
    tm.tm_isdst = -1;
    char buf[256];
    const std::size_t n = std::strftime(buf, sizeof buf, format, &tm);
    return std::string(buf, n);
}
