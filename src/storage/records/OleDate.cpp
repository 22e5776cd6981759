#include "storage/records/OleDate.h"

#include "storage/records/ByteCodec.h"

#include <cmath>

namespace {
// 1899-12-30 counted from 1970-01-01.
constexpr long long kOleEpochFromUnix = -25569;
constexpr double kMinOle = -657434.0;   // 0100-01-01
constexpr double kMaxOle = 2958465.9999999;  // 9999-12-31 23:59:59

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}
}  // namespace

long long daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

bool OleDate::isValid() const
{
    return status == kValid && std::isfinite(value) && value >= kMinOle && value <= kMaxOle;
}

OleDate OleDate::fromCalendar(int year, int month, int day, int hour, int minute, int second)
{
    OleDate d;
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return d;
    const long long days = daysFromCivil(year, month, day) - kOleEpochFromUnix;
    const double frac = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before the epoch the fraction still counts forward from midnight: -1.25 is 29 Dec 1899, 06:00.
    d.value = days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
    d.status = kValid;
    return d;
}

OleDate OleDate::fromCalendar(const CalendarTime& t)
{
    return fromCalendar(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

bool OleDate::toCalendar(CalendarTime& out) const
{
    if (!isValid())
        return false;
    double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    long long secs = std::llround(frac * 86400.0);
    if (secs >= 86400) {  // rounding carried into the next day
        secs -= 86400;
        whole += value >= 0 ? 1.0 : -1.0;
    }
    const long long days = static_cast<long long>(whole) + kOleEpochFromUnix;
    civilFromDays(days, out.year, out.month, out.day);
    out.hour = static_cast<int>(secs / 3600);
    out.minute = static_cast<int>((secs / 60) % 60);
    out.second = static_cast<int>(secs % 60);
    long long wd = (days + 4) % 7;  // 1970-01-01 was a Thursday
    out.dayOfWeek = static_cast<int>(wd < 0 ? wd + 7 : wd);
    out.dayOfYear = static_cast<int>(days - daysFromCivil(out.year, 1, 1));
    return true;
}

OleDate OleDate::dateOnly() const
{
    CalendarTime t;
    if (!toCalendar(t))
        return *this;
    OleDate d = fromCalendar(t.year, t.month, t.day);
    d.status = status;
    return d;
}

void OleDate::encode(std::uint8_t* buf, std::size_t off) const
{
    codec::putF64(buf, off, value);
    codec::putI32(buf, off + 8, status);
}

OleDate OleDate::decode(const std::uint8_t* buf, std::size_t off)
{
    OleDate d;
    d.value = codec::getF64(buf, off);
    d.status = codec::getI32(buf, off + 8);
    return d;
}
