#include "sale/SaleCustomerWidget.h"

#include "sale/SaleKeys.h"

#include <QGridLayout>
#include <QLabel>

#include <algorithm>

using namespace SaleIds;

SaleCustomerWidget::SaleCustomerWidget(QWidget* parent, const RegisterControlFn& reg)
    : QGroupBox("Customer Information  F3", parent)
{
    reg(kCustomerGroup, this, "customer");
    auto* cust = new QGridLayout(this);
    cust->setContentsMargins(6, 2, 6, 2);
    cust->setVerticalSpacing(2);
    for (std::size_t k = 0; k < address.size(); ++k)
        address[k] = MakeBox(this, reg, kCustomerName + static_cast<int>(k), k == 0 ? "name" : "address", true);
    for (std::size_t k = 0; k < labels_.size(); ++k) {
        labels_[k] = new QLabel(this);
        cust->addWidget(labels_[k], static_cast<int>(k), 0);
    }
    cust->addWidget(address[0], 0, 1, 1, 3);  // name
    cust->addWidget(address[1], 1, 1, 1, 3);  // company
    cust->addWidget(address[2], 2, 1, 1, 3);  // address
    cust->addWidget(address[3], 3, 1);        // city
    cust->addWidget(address[4], 3, 2);        // state
    cust->addWidget(address[5], 3, 3);        // zip
    cust->addWidget(address[6], 4, 1, 1, 2);  // phone
    cust->addWidget(address[7], 4, 3);        // second phone
    cust->addWidget(address[8], 5, 1, 1, 3);  // e-mail
    address[4]->setMaximumWidth(50);
    cust->setColumnStretch(1, 3);
    cust->setColumnStretch(3, 2);
    taxZone_ = new QLabel(this);
    reg(kTaxZone, taxZone_, "taxzone");
    cust->addWidget(taxZone_, 6, 1, 1, 3);
}

void SaleCustomerWidget::SetLabel(std::size_t k, const std::string& text)
{
    if (k < labels_.size())
        labels_[k]->setText(qs(text));
}

void SaleCustomerWidget::Show(const InvoiceRecord& sale, const QString& taxZone)
{
    taxZone_->setText(taxZone);
    for (std::size_t k = 0; k < address.size(); ++k)
        address[k]->setText(qs(sale.address[k]));
}

int SaleCustomerWidget::lineOf(const QWidget* widget) const
{
    const auto it = std::find(address.begin(), address.end(), widget);
    return it == address.end() ? -1 : static_cast<int>(it - address.begin());
}
