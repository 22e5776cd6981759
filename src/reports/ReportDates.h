#pragma once
// Days between the date controls of the report windows and the calendar dates
// the reports compare.

#include "storage/records/OleDate.h"

#include <QDate>

inline CalendarTime FromQDate(const QDate& d)
{
    CalendarTime t;
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    return t;
}

inline QDate ToQDate(const OleDate& d)
{
    CalendarTime t;
    d.toCalendar(t);
    return QDate(t.year, t.month, t.day);
}
