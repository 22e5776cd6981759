#include "reports/CSalesRangeDlg.h"

#include "platform/Clock.h"
#include "platform/DatePicker.h"
#include "platform/DialogButtons.h"
#include "storage/files/InvoiceFile.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace {
std::optional<std::pair<QDate, QDate>>& lastRange()
{
    static std::optional<std::pair<QDate, QDate>> range;
    return range;
}
}  // namespace

CSalesRangeDlg::CSalesRangeDlg(const CLocalFile& local, QWidget* parent) : QDialog(parent)
{
    setObjectName("CSalesRangeDlg");
    setWindowTitle("Sales Report Range");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("Date Selection for Sales Summary", this);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    auto* grid = new QGridLayout;
    first_ = new QCalendarWidget(this);
    first_->setObjectName("first_day");
    last_ = new QCalendarWidget(this);
    last_->setObjectName("last_day");
    grid->addWidget(new QLabel("First Day:", this), 0, 0);
    grid->addWidget(new QLabel("Last Day:", this), 0, 1);
    grid->addWidget(first_, 1, 0);
    grid->addWidget(last_, 1, 1);
    layout->addLayout(grid);
    layout->addWidget(new QLabel("o  Click on a number to select that day.\n"
                                 "o  Select the 'First Day' on the left calendar.\n"
                                 "o  Select the 'Last Day' to be included on the right calendar..\n"
                                 "o  Use the left and right arrows in the calendars to change the months.",
                                 this));
    layout->addLayout(OkCancelRow(this));

    if (lastRange()) {
        first_->setSelectedDate(lastRange()->first);
        last_->setSelectedDate(lastRange()->second);
    } else {
        const CalendarTime now = Clock::now();
        first_->setSelectedDate(ToQDate(FirstSaleDate(local, now)));
        last_->setSelectedDate(ToQDate(LastSaleDate(local, now)));
    }
    first_->setFocus();
}

CalendarTime CSalesRangeDlg::firstDay() const { return FromQDate(first_->selectedDate()); }
CalendarTime CSalesRangeDlg::lastDay() const { return FromQDate(last_->selectedDate()); }

void CSalesRangeDlg::accept()
{
    lastRange() = std::make_pair(first_->selectedDate(), last_->selectedDate());
    QDialog::accept();
}
