#pragma once
// "Sales Report Range": the first and last day of a range report, on two
// calendars. The range chosen last is offered again while the program runs;
// the first time, the days of the first and the last stored sale.

#include "storage/records/OleDate.h"

#include <QDialog>

class CLocalFile;
class QCalendarWidget;

class CSalesRangeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSalesRangeDlg(const CLocalFile& local, QWidget* parent = nullptr);
    CalendarTime firstDay() const;
    CalendarTime lastDay() const;
    void accept() override;

private:
    QCalendarWidget* first_ = nullptr;
    QCalendarWidget* last_ = nullptr;
};
