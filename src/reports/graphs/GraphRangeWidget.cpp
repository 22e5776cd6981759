#include "reports/graphs/GraphRangeWidget.h"

#include "platform/Clock.h"
#include "platform/DatePicker.h"
#include "storage/files/InvoiceFile.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace {
int keyOf(const QDate& d) { return DateKey(d.year(), d.month(), d.day()); }
QDate dateOf(int key) { return QDate(key / 385, key % 385 / 32, key % 32); }
}  // namespace

GraphRangeWidget::GraphRangeWidget(const CLocalFile& local, QWidget* parent) : QGroupBox("Date Range", parent)
{
    setObjectName("date_range");
    const CalendarTime now = Clock::now();
    first_ = MakeDatePicker(this, "first_day", ToQDate(FirstSaleDate(local, now)));
    last_ = MakeDatePicker(this, "last_day", ToQDate(LastSaleDate(local, now)));
    auto* grid = new QGridLayout(this);
    const auto add = [&](const char* caption, QDateEdit* edit, int row) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        connect(edit, &QDateEdit::editingFinished, this, &GraphRangeWidget::edited);
        edit->installEventFilter(this);
        // A day picked on the calendar (the box itself does not have the focus then).
        connect(edit, &QDateEdit::dateChanged, this, [this, edit] {
            if (!edit->hasFocus())
                edited();
        });
    };
    add("&First Day:", first_, 0);
    add("&Last Day:", last_, 1);
    setFocusProxy(first_);
    shownFirst_ = firstKey();
    shownLast_ = lastKey();
}

int GraphRangeWidget::firstKey() const { return keyOf(first_->date()); }
int GraphRangeWidget::lastKey() const { return keyOf(last_->date()); }

void GraphRangeWidget::edited()
{
    if (firstKey() == shownFirst_ && lastKey() == shownLast_)
        return;
    shownFirst_ = firstKey();
    shownLast_ = lastKey();
    emit changed();
}

bool GraphRangeWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    static_cast<QDateEdit*>(watched)->interpretText();
    edited();
    return true;
}

void GraphRangeWidget::restore(int firstKey, int lastKey)
{
    const QSignalBlocker a(first_), b(last_);
    first_->setDate(dateOf(firstKey));
    last_->setDate(dateOf(lastKey));
    shownFirst_ = firstKey;
    shownLast_ = lastKey;
}
