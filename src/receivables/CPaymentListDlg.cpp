#include "receivables/CPaymentListDlg.h"

#include "platform/BackgroundWork.h"
#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "receivables/CDepositDlg.h"
#include "receivables/CPaymentDlg.h"
#include "receivables/CSplitPaymentDlg.h"
#include "sale/FileFault.h"
#include "sale/SaleTotals.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/io/DataFile.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIdColumn = 7;

}  // namespace

std::string PaymentRefusal(const char* what, const CLocalFile& local)
{
    // A payment is stored together with its sale's paid flag.
    return what + FaultText(FaultAmong(local, {"Payments", "Invoices"}, FileCause::Generic)) + ".\n\nNothing was changed.";
}

void CPaymentListDlg::BoxPrompt::tell(const std::string& text) { MessageBox::information(parent_, text); }

bool CPaymentListDlg::BoxPrompt::askOkCancel(const std::string& text)
{
    return MessageBox::show(parent_, text, MessageBox::Buttons::OkCancel) == MessageBox::Answer::Ok;
}

CPaymentListDlg::CPaymentListDlg(const CLocalFile& local, const SalesFileHeader& header, std::int32_t recordNumber,
                                 PaymentList::Kind kind, const char* name, const char* caption, QWidget* parent)
    : QDialog(parent),
      local_(local),
      header_(header),
      prompt_(this),
      list_(local, prompt_, recordNumber, kind, local.loggedInCashier)
{
    setObjectName(name);
    setWindowTitle(caption);
    resize(720, 420);
    list_.setStoreRunner(BackgroundWork::RunnerFor(this));
    list_.setReadRunner(BackgroundWork::RunnerFor(this, BackgroundWork::kReadingNote));
    auto* layout = new QVBoxLayout(this);

    table_ = new QTreeWidget(this);
    table_->setObjectName("payments");
    table_->setRootIsDecorated(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setHeaderLabels({"Rec#", "Pay Type", "Amount", "Date", "Card/Check", "Cashier", "Notes", "ID"});
    const int widths[] = {40, 60, 50, 70, 70, 50, 105, 0};
    for (int c = 0; c < 8; ++c)
        table_->setColumnWidth(c, widths[c] * 3 / 2);
    table_->setColumnHidden(kIdColumn, true);
    table_->installEventFilter(this);
    connect(table_, &QTreeWidget::itemClicked, this, [this] { OnEditPayment(); });
    layout->addWidget(new QLabel("Click on Payment to Edit.", this));
    layout->addWidget(table_, 1);

    extra_ = new QVBoxLayout;
    layout->addLayout(extra_);
    auto* sums = new QFormLayout;
    total_ = new QLineEdit(this);
    total_->setObjectName("total");
    total_->setReadOnly(true);
    balance_ = new QLineEdit(this);
    balance_->setObjectName("balance");
    balance_->setReadOnly(true);
    sums->addRow("Total:", total_);
    sums->addRow("Balance Due:", balance_);
    layout->addLayout(sums);

    auto* buttons = new QHBoxLayout;
    add_ = new QPushButton("&Add Payment", this);
    add_->setObjectName("add_payment");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    buttons->addWidget(add_);
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(add_, &QPushButton::clicked, this, &CPaymentListDlg::OnAddPayment);
    connect(ok, &QPushButton::clicked, this, &CPaymentListDlg::accept);
    add_->setFocus();
}

void CPaymentListDlg::Refresh()
{
    list_.Refresh();
    Show();
}

void CPaymentListDlg::Show()
{
    table_->clear();
    for (const PaymentRecord& p : list_.payments()) {
        QStringList cells;
        for (const std::string& text : PaymentRowTexts(p))
            cells << RecordText::toQt(text);
        auto* row = new QTreeWidgetItem(table_, cells);
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    total_->setText(QString::fromStdString(FixedText(list_.total(), 2)));
    // A balance that could not be read is shown as unknown, never as the total.
    balance_->setText(list_.known() ? QString::fromStdString(FixedText(list_.balance(), 2)) : QString());
}

bool CPaymentListDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnEditPayment();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CPaymentListDlg::OnAddPayment()
{
    if (!list_.MayAdd()) {
        Show();
        return;
    }
    EnteredPayment entered;
    if (!CPaymentDlg::Ask(this, header_, entered))
        return;
    if (!list_.Add(entered))
        MessageBox::information(this, PaymentRefusal("The payment was not stored: ", local_));
    Refresh();
}

void CPaymentListDlg::OnEditPayment()
{
    QTreeWidgetItem* row = table_->currentItem();
    if (!row)
        return;
    const std::int32_t id = row->text(kIdColumn).toInt();
    const PaymentRecord* payment = list_.Find(id);
    if (!payment)
        return;
    EnteredPayment entered = EnteredOf(*payment);
    if (!CPaymentDlg::Ask(this, header_, entered))
        return;
    if (!list_.Edit(id, entered))
        MessageBox::information(this, PaymentRefusal("The payment was not changed: ", local_));
    Refresh();
}

void CPaymentListDlg::accept()
{
    const PaymentList::Close close = CloseDecision();
    Show();
    if (close == PaymentList::Close::Accept)
        QDialog::accept();
    else if (close == PaymentList::Close::Reject)
        QDialog::reject();
}

bool CPaymentListDlg::TakeFinishPayments(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                         const InvoiceRecord& stored)
{
    const double total = ReadNumber(FixedText(stored.total, 2));
    if (EqualsIgnoreCase(stored.payType, "Split"))
        return CSplitPaymentDlg(local, header, stored.recordNumber, total, parent).exec() == QDialog::Accepted;
    if (EqualsIgnoreCase(stored.payType, "Deposit"))
        return CDepositDlg(local, header, stored.recordNumber, total, parent).exec() == QDialog::Accepted;
    return true;
}
