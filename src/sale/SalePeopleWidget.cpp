#include "sale/SalePeopleWidget.h"

#include "sale/SaleKeys.h"
#include "storage/records/InvoiceRecord.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SaleIds;

namespace {
// A combo box that refills itself just before its list opens.
class RefillingCombo : public QComboBox {
public:
    RefillingCombo(std::function<void()> refill, QWidget* parent) : QComboBox(parent), refill_(std::move(refill)) {}
    void showPopup() override
    {
        refill_();
        QComboBox::showPopup();
    }

private:
    std::function<void()> refill_;
};
}  // namespace

SalePeopleWidget::SalePeopleWidget(QWidget* parent, const RegisterControlFn& reg,
                                   std::function<void()> refillSalespeople, std::function<void()> refillPayTypes)
    : QWidget(parent)
{
    auto* people = new QVBoxLayout(this);
    people->setContentsMargins(0, 0, 0, 0);
    cashier = new QPushButton("Log Cashier", this);
    reg(kCashier, cashier, "cashier");
    cashier->setToolTip("Log in available Cashiers 'Settings: Cashiers Names'.");
    cashier->setAutoDefault(false);
    people->addWidget(cashier);
    salespersonLabel = new QLabel("Salesperson: F7", this);
    people->addWidget(salespersonLabel);
    salesperson = new RefillingCombo(std::move(refillSalespeople), this);
    reg(kSalesperson, salesperson, "salesperson");
    people->addWidget(salesperson);
    people->addWidget(new QLabel("Payment: F8", this));
    payType = new RefillingCombo(std::move(refillPayTypes), this);
    reg(kPayType, payType, "paytype");
    payType->setToolTip("Available payment types in the menu 'Settings: Payment Types'.");
    people->addWidget(payType);
    paidState = new QLabel(this);
    reg(kPaidState, paidState, "paidstate");
    people->addWidget(paidState);
    people->addStretch();
}

void SalePeopleWidget::Select(QComboBox* combo, const std::string& text)
{
    combo->setCurrentIndex(text.empty() ? -1 : combo->findText(qs(text), Qt::MatchFixedString));
}

void SalePeopleWidget::Show(const InvoiceRecord& sale)
{
    Select(payType, sale.payType);
    Select(salesperson, sale.salesperson);
    paidState->setText(sale.paid == 0 ? "Unpaid" : "Paid");
    cashier->setText(sale.cashier.empty() ? QString("Log Cashier") : qs(sale.cashier));
}

void SalePeopleWidget::SetReadOnly(bool on)
{
    payType->setEnabled(!on);
    salesperson->setEnabled(!on);
}
