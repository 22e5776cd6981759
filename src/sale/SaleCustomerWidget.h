#pragma once
// The customer group of the sale screen: the name and address boxes under the
// customer file's labels, and the sale's tax zone.

#include "sale/SaleControls.h"
#include "storage/records/InvoiceRecord.h"

#include <QGroupBox>

#include <array>
#include <string>

class QLabel;

class SaleCustomerWidget : public QGroupBox {
    Q_OBJECT
public:
    SaleCustomerWidget(QWidget* parent, const RegisterControlFn& reg);

    // The first six labels of the customer file name the address rows.
    static constexpr std::size_t kLabels = 6;
    void SetLabel(std::size_t k, const std::string& text);
    void Show(const InvoiceRecord& sale, const QString& taxZone);
    // The address line a box holds, or -1 for another widget.
    int lineOf(const QWidget* widget) const;

    std::array<QLineEdit*, InvoiceRecord::kAddressLines> address{};

private:
    std::array<QLabel*, kLabels> labels_{};
    QLabel* taxZone_ = nullptr;
};
