#include "receivables/CPaymentDlg.h"

#include "platform/BackgroundWork.h"
#include "platform/Clock.h"
#include "platform/ComboFill.h"
#include "platform/DialogButtons.h"
#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "receivables/CPaymentListDlg.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit* textBox(QWidget* parent, const char* name, int maxChars)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxChars);
    return box;
}

}  // namespace

CPaymentDlg::CPaymentDlg(const SalesFileHeader& header, QWidget* parent) : QDialog(parent)
{
    setObjectName("CPaymentDlg");
    setWindowTitle("Payment");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;

    payType_ = new QComboBox(this);
    payType_->setObjectName("paytype");
    FillCombo(payType_, header.paymentTypes);
    payType_->setCurrentIndex(-1);
    amount_ = textBox(this, "amount", 32);
    card_ = textBox(this, "card", static_cast<int>(kCardNumberChars));
    expiration_ = textBox(this, "expiration", static_cast<int>(kExpirationChars));
    date_ = new QDateEdit(this);
    date_->setObjectName("date");
    date_->setDisplayFormat("M/d/yyyy");
    date_->setCalendarPopup(true);
    notes_ = textBox(this, "notes", static_cast<int>(kNotesChars));
    form->addRow("Payment &Type:", payType_);
    form->addRow("&Amount:", amount_);
    form->addRow("&Card# / Check#", card_);
    form->addRow("Card &Expiration:", expiration_);
    form->addRow("Payment &Date:", date_);
    form->addRow("&Notes:", notes_);
    layout->addLayout(form);

    layout->addLayout(OkCancelRow(this));

    EnteredPayment now;
    now.date = Clock::nowOle();
    SetEntered(now);
    payType_->setFocus();
}

void CPaymentDlg::SetEntered(const EnteredPayment& e)
{
    const QString type = RecordText::toQt(e.payType);
    if (!type.isEmpty() && payType_->findText(type) < 0)
        payType_->addItem(type);
    payType_->setCurrentIndex(type.isEmpty() ? -1 : payType_->findText(type));
    amount_->setText(RecordText::toQt(e.amountText));
    card_->setText(RecordText::toQt(e.cardNumber));
    expiration_->setText(RecordText::toQt(e.expiration));
    notes_->setText(RecordText::toQt(e.notes));
    CalendarTime t;
    if (!e.date.toCalendar(t))
        t = Clock::now();
    date_->setDate(QDate(t.year, t.month, t.day));
    time_ = QTime(t.hour, t.minute, t.second);
}

EnteredPayment CPaymentDlg::entered() const
{
    EnteredPayment e;
    e.payType = RecordText::fromQt(payType_->currentText(), kPayTypeChars);
    e.amountText = RecordText::fromQt(amount_->text());
    e.cardNumber = RecordText::fromQt(card_->text(), kCardNumberChars);
    e.expiration = RecordText::fromQt(expiration_->text(), kExpirationChars);
    e.notes = RecordText::fromQt(notes_->text(), kNotesChars);
    const QDate d = date_->date();
    e.date = OleDate::fromCalendar(d.year(), d.month(), d.day(), time_.hour(), time_.minute(), time_.second());
    return e;
}

void CPaymentDlg::accept()
{
    if (IsReservedPayType(RecordText::fromQt(payType_->currentText()))) {
        MessageBox::information(this, "Can't use this as a payment type");
        return;
    }
    QDialog::accept();
}

bool CPaymentDlg::Ask(QWidget* parent, const SalesFileHeader& header, EnteredPayment& entered)
{
    CPaymentDlg dlg(header, parent);
    dlg.SetEntered(entered);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    entered = dlg.entered();
    return true;
}

bool CPaymentDlg::PayStoredSale(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                std::int32_t recordNumber)
{
    EnteredPayment entered;
    if (!Ask(parent, header, entered))
        return false;
    int paymentId = -1;
    BackgroundWork::Run(parent, [&] { paymentId = ::PayStoredSale(local, recordNumber, entered, local.loggedInCashier); });
    if (paymentId >= 0)
        return true;
    MessageBox::information(parent, PaymentRefusal("The payment was not stored: ", local));
    return false;
}
