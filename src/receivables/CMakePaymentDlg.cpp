#include "receivables/CMakePaymentDlg.h"

#include "platform/Clock.h"
#include "platform/RecordText.h"
#include "print/CReportPrinter.h"
#include "sale/SaleTotals.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* shownBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

}  // namespace

CMakePaymentDlg::CMakePaymentDlg(const CLocalFile& local, const SalesFileHeader& header, std::int32_t recordNumber,
                                 QWidget* parent)
    : CPaymentListDlg(local, header, recordNumber, PaymentList::Kind::OnAccount, "CMakePaymentDlg", "Make a Payment",
                      parent)
{
    auto* form = new QFormLayout;
    record_ = shownBox(this, "record");
    terms_ = shownBox(this, "terms");
    termsDiscount_ = shownBox(this, "terms_discount");
    form->addRow("Record#", record_);
    form->addRow("Terms:", terms_);
    form->addRow("Terms Discount:", termsDiscount_);
    extra()->addLayout(form);
    auto* row = new QHBoxLayout;
    apply_ = new QCheckBox("Apply &Discount", this);
    apply_->setObjectName("apply_discount");
    auto* print = new QPushButton("&Print", this);
    print->setObjectName("print");
    row->addWidget(apply_);
    row->addStretch();
    row->addWidget(print);
    extra()->addLayout(row);
    connect(apply_, &QCheckBox::toggled, this, [this] { Refresh(); });
    connect(print, &QPushButton::clicked, this, &CMakePaymentDlg::OnPrint);
    Refresh();
}

void CMakePaymentDlg::Refresh()
{
    list_.Refresh(&header(), apply_->isChecked());
    Show();
    record_->setText(QString::number(static_cast<std::uint32_t>(list_.recordNumber())));
    terms_->setText(RecordText::toQt(list_.terms().name));
    termsDiscount_->setText(QString::fromStdString(FixedText(TermsDiscount(list_.sale(), list_.terms()), 2)));
}

PaymentList::Close CMakePaymentDlg::CloseDecision()
{
    const PaymentList::Close close = list_.CloseOnAccount(header(), apply_->isChecked());
    Refresh();
    return close;
}

void CMakePaymentDlg::OnPrint()
{
    CReportPrinter::PrintReport(this, PaymentReportHeading(Clock::now()), PaymentReportBody(list_.payments()),
                                {80, 90, 80, 150, 100, 100, 150, 50}, {0, 0, 2, 0, 0, 0, 0, 0});
}

bool CMakePaymentDlg::Open(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                           std::int32_t recordNumber)
{
    CMakePaymentDlg dlg(local, header, recordNumber, parent);
    return dlg.exec() == QDialog::Accepted;
}
