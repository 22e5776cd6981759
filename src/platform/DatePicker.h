#pragma once
// The date boxes of the windows: a calendar drops down, dates read M/d/yyyy.

class QDate;
class QDateEdit;
class QWidget;

QDateEdit* MakeDatePicker(QWidget* owner, const char* name, const QDate& date);
