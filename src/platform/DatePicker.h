#pragma once
// The date boxes of the windows: a calendar drops down, dates read M/d/yyyy.
// Days pass between the boxes and the calendar dates the files compare.

#include "storage/records/OleDate.h"

#include <QDate>

class QDateEdit;
class QWidget;

QDateEdit* MakeDatePicker(QWidget* owner, const char* name, const QDate& date);

CalendarTime FromQDate(const QDate& d);
QDate ToQDate(const CalendarTime& t);
QDate ToQDate(const OleDate& d);
