#include "settings/CSaleDatesDlg.h"

#include "platform/Clock.h"
#include "platform/DatePicker.h"
#include "platform/MessageBox.h"
#include "settings/SettingsForm.h"
#include "settings/StoreDetails.h"
#include "storage/files/SalesFileHeader.h"

#include <QCheckBox>
#include <QDateEdit>

CSaleDatesDlg::CSaleDatesDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CSaleDatesDlg");
    setWindowTitle("Sales Dates");
    QDate first = ToQDate(Clock::now());
    QDate last = first;
    CalendarTime a;
    CalendarTime b;
    if (header.saleFirstDay.toCalendar(a) && header.saleLastDay.toCalendar(b)) {
        first = ToQDate(a);
        last = ToQDate(b);
    }
    auto* grid = new QGridLayout(this);
    first_ = MakeDatePicker(this, "first_day", first);
    last_ = MakeDatePicker(this, "last_day", last);
    auto* firstLabel = new QLabel("First Day", this);
    firstLabel->setBuddy(first_);
    auto* lastLabel = new QLabel("Last Day", this);
    lastLabel->setBuddy(last_);
    grid->addWidget(firstLabel, 0, 0);
    grid->addWidget(first_, 0, 1);
    grid->addWidget(lastLabel, 1, 0);
    grid->addWidget(last_, 1, 1);
    on_ = new QCheckBox("Sale On", this);
    on_->setObjectName("sale_on");
    on_->setChecked(header.saleDatesOn);
    grid->addWidget(on_, 2, 0, 1, 2);
    grid->addWidget(new QLabel("The %Sale field takes effect durring this period.", this), 3, 0, 1, 2);
    grid->addWidget(SettingsForm::okCancel(this), 4, 0, 1, 2);
    first_->setFocus();
}

void CSaleDatesDlg::accept()
{
    if (SaveSaleDates(local_, header_, on_->isChecked(), FromQDate(first_->date()), FromQDate(last_->date())) != 0) {
        MessageBox::information(this, "The sale dates could not be saved. Nothing was changed.");
        return;
    }
    QDialog::accept();
}

bool CSaleDatesDlg::Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header)
{
    ReadHeader(local, header);
    CSaleDatesDlg dialog(local, header, parent);
    return dialog.exec() == QDialog::Accepted;
}
