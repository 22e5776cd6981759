#include "rentals/CRentalsDlg.h"

#include "platform/Clock.h"
#include "platform/RecordList.h"
#include "platform/RecordText.h"
#include "print/CReportPrinter.h"
#include "storage/files/CLocalFile.h"
#include "storage/records/TextFormat.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
enum Column { kRecord, kCustomer, kItem, kQty, kDate, kCustId, kColumns };
constexpr ListColumn kListColumns[kColumns] = {{"Record#", 60, false}, {"Customer", 210, false}, {"Item", 100, false},
                                               {"Qty", 50, true},      {"Date", 105, false},     {"CustID", 0, false}};
}

CRentalsDlg::CRentalsDlg(const CLocalFile& local, Listing listing, QWidget* parent)
    : CRentalsDlg(local, false, parent)
{
    listing_ = listing;
    Relist();
}

CRentalsDlg::CRentalsDlg(const CLocalFile& local, bool returnWindow, QWidget* parent)
    : QDialog(parent), local_(local), returnWindow_(returnWindow), customers_(local)
{
    setObjectName(returnWindow ? "CReturnRentalsDlg" : "CRentalsDlg");
    setWindowTitle(returnWindow ? "Return Rentals" : "Rentals");
    print_ = [](QWidget* parent, const RentalReport& r) {
        CReportPrinter::PrintReport(parent, r.header, r.body, r.widths, r.formats);
    };
    auto* outer = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* itemLabel = new QLabel("&Item#", this);
    item_ = new QLineEdit(this);
    item_->setObjectName("item_number");
    item_->setMaxLength(static_cast<int>(RentalRecord::kItemWidth) - 1);
    itemLabel->setBuddy(item_);
    item_->installEventFilter(this);
    connect(item_, &QLineEdit::textChanged, this, [this] { Relist(); });
    top->addWidget(itemLabel);
    top->addWidget(item_);
    top->addStretch(1);
    outer->addLayout(top);

    model_ = new RecordListModel(
        kListColumns, [this] { return rows_.size(); },
        [this](std::size_t row, int column) { return Cell(rows_[row], column); }, this);
    list_ = MakeRecordTable(this, "rental_list", model_, kListColumns);
    list_->setMinimumSize(560, 240);
    outer->addWidget(list_, 1);

    extras_ = new QVBoxLayout;
    outer->addLayout(extras_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    print_button_ = new QPushButton("&Print List", this);
    print_button_->setObjectName("print_list");
    print_button_->setAutoDefault(false);
    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("ok");
    ok_->setDefault(true);
    buttons->addWidget(print_button_);
    buttons->addWidget(ok_);
    outer->addLayout(buttons);
    connect(print_button_, &QPushButton::clicked, this, &CRentalsDlg::OnPrintList);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    item_->setFocus();
}

bool CRentalsDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in "Item#" moves on to the list, as Tab does, instead of closing.
    if (watched == item_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            list_->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString CRentalsDlg::CustomerText(std::uint16_t number) const
{
    return RecordText::toQt(customers_.text(number));
}

QString CRentalsDlg::DateText(const OleDate& date)
{
    CalendarTime t;
    if (!date.toCalendar(t))
        return {};
    const QDateTime when(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
    return QLocale().toString(when, QLocale::ShortFormat);
}

QString CRentalsDlg::Cell(const RentalRow& r, int column) const
{
    switch (column) {
    case kRecord: return QString::number(static_cast<std::uint32_t>(r.saleNumber));
    case kCustomer: return CustomerText(r.customerNumber);
    case kItem: return RecordText::toQt(r.itemNumber);
    case kQty: return QString::fromStdString(strprintf("%.2f", static_cast<double>(r.quantity)));
    case kDate: return DateText(r.date);
    case kCustId: return QString::number(r.customerNumber);
    default: return {};
    }
}

void CRentalsDlg::Relist()
{
    std::vector<RentalRecord> records;
    if (!ReadRentalRecords(local_, records))
        records.clear();  // a file that cannot be read lists nothing
    const std::string filter = RecordText::fromQt(item_->text(), RentalRecord::kItemWidth - 1);
    model_->reset(
        [&] { rows_ = listAll() ? ListAllRentals(records, filter) : ListOutstandingRentals(records, filter); });
    Relisted();
}

void CRentalsDlg::OnPrintList()
{
    std::vector<std::vector<std::string>> cells;
    for (const RentalRow& r : rows_) {
        std::vector<std::string>& row = cells.emplace_back();
        for (int c = kRecord; c <= kDate; ++c)
            row.push_back(RecordText::fromQt(Cell(r, c)));
    }
    print_(this, BuildRentalReport(Clock::now(), returnWindow_, cells));
}
