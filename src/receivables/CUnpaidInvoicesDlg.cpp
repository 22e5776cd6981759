#include "receivables/CUnpaidInvoicesDlg.h"

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/RecordList.h"
#include "print/CReportPrinter.h"
#include "print/canvas/PrintCanvas.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr ListColumn kColumns[] = {{"Rec#", 50, false},    {"Customer", 180, false}, {"Total", 70, true},
                               {"Balance", 70, true},  {"Date", 70, false},      {"Terms", 90, false},
                               {"Due", 70, false}};

}  // namespace

CUnpaidInvoicesDlg::CUnpaidInvoicesDlg(const CLocalFile& local, UnpaidKind kind, PaymentOpener openPayment,
                                       QWidget* parent)
    : QDialog(parent), local_(local), kind_(kind), openPayment_(std::move(openPayment))
{
    const bool overdue = kind == UnpaidKind::Overdue;
    setObjectName(overdue ? "COverdueInvoicesDlg" : "CUnpaidInvoicesDlg");
    setWindowTitle(overdue ? "Overdue Invoices" : "Unpaid Invoices");
    resize(680, 420);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Click to make a payment", this));
    model_ = new RecordListModel(
        kColumns, [this] { return rows_.size(); },
        RecordListModel::FromRecordText([this](std::size_t row, int column) {
            return UnpaidCells(rows_[row])[static_cast<std::size_t>(column)];
        }),
        this);
    list_ = MakeRecordTable(this, "invoices", model_, kColumns);
    list_->installEventFilter(this);
    connect(list_, &QAbstractItemView::clicked, this, [this] { OnInvoiceChosen(); });
    layout->addWidget(list_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(overdue ? "Balance Due:" : "Total Balance Due:", this));
    total_ = new QLineEdit(this);
    total_->setObjectName("total");
    total_->setReadOnly(true);
    total_->setAlignment(Qt::AlignRight);
    bottom->addWidget(total_);
    bottom->addStretch(1);
    auto* print = new QPushButton("Print", this);
    print->setObjectName("print");
    print->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, &CUnpaidInvoicesDlg::OnPrint);
    bottom->addWidget(print);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(ok);
    layout->addLayout(bottom);

    Fill();
    list_->setFocus();
}

void CUnpaidInvoicesDlg::Fill()
{
    UnpaidListing listing = ListUnpaidInvoices(local_, kind_, Clock::now());
    model_->reset([&] { rows_ = std::move(listing.rows); });
    total_->setText(listing.error.empty() ? QString::asprintf("%.2f", listing.totalBalance) : QString());
    if (!listing.error.empty())
        MessageBox::information(this, listing.error);
}

QString CUnpaidInvoicesDlg::totalText() const { return total_->text(); }

void CUnpaidInvoicesDlg::OnInvoiceChosen()
{
    const int row = list_->currentRow();
    if (row < 0 || !list_->selectionModel()->isRowSelected(row) || !openPayment_)
        return;
    openPayment_(this, rows_[static_cast<std::size_t>(row)].recordNumber);
    Fill();
}

void CUnpaidInvoicesDlg::OnPrint()
{
    CReportPrinter::PrintReport(this, UnpaidReportHeading(Clock::now()), UnpaidReportBody(rows_),
                                {80, 300, 80, 80, 150, 150, 110, 50},
                                {kPrintLeft, kPrintLeft, kPrintRight, kPrintRight, kPrintLeft, kPrintLeft, kPrintLeft,
                                 kPrintLeft});
}

// Enter on an invoice row takes a payment on it, as a click does. The list's
// own keys are filtered, so this holds whether or not the window is active yet.
bool CUnpaidInvoicesDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnInvoiceChosen();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
