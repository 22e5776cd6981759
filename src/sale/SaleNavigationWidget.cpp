#include "sale/SaleNavigationWidget.h"

#include "sale/SaleKeys.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

using namespace SaleIds;

SaleNavigationWidget::SaleNavigationWidget(QWidget* parent, const RegisterControlFn& reg)
    : QGroupBox("Navigate", parent)
{
    auto* nav = new QGridLayout(this);
    nav->setContentsMargins(6, 2, 6, 2);
    auto button = [this, &reg](int id, const char* text, const char* name, const char* tip) {
        auto* b = new QPushButton(text, this);
        reg(id, b, name);
        b->setToolTip(tip);
        b->setAutoDefault(false);
        return b;
    };
    prev = button(kPrev, "Prev", "prev", "Displays the Previous sale record.");
    next = button(kNext, "Next", "next", "Displays the Next sale record.");
    current = button(kCurrent, "Current", "current", "Displays the Current unprocessed sale.");
    go = button(kGoto, "Goto#", "goto", "Displays the specified sales record.");
    recordNumber = MakeBox(this, reg, kRecordNumber, "recordno", true);
    recordNumber->setToolTip("Sales record number to display with the button 'Goto#'.");
    records = MakeBox(this, reg, kRecords, "records", false);
    records->setToolTip("Total number of Sales records.");
    nav->addWidget(prev, 0, 0);
    nav->addWidget(next, 0, 1);
    nav->addWidget(current, 0, 2);
    nav->addWidget(recordNumber, 1, 0);
    nav->addWidget(go, 1, 1);
    nav->addWidget(new QLabel("Records", this), 2, 0);
    nav->addWidget(records, 2, 1);
}
