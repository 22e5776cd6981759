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
