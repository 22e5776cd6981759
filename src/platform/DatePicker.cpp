#include "platform/DatePicker.h"

#include <QDateEdit>

QDateEdit* MakeDatePicker(QWidget* owner, const char* name, const QDate& date)
{
    auto* edit = new QDateEdit(date, owner);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat("M/d/yyyy");
    return edit;
}

CalendarTime FromQDate(const QDate& d)
{
    CalendarTime t;
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    return t;
}

QDate ToQDate(const CalendarTime& t) { return QDate(t.year, t.month, t.day); }

QDate ToQDate(const OleDate& d)
{
    CalendarTime t;
    d.toCalendar(t);
    return ToQDate(t);
}
