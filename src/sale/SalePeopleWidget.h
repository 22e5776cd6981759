#pragma once
// The people and payment column of the sale screen: the cashier button, the
// salesperson and payment-type lists (each refilled just before it opens) and
// the paid state of the shown sale.

#include "sale/SaleControls.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
struct InvoiceRecord;

class SalePeopleWidget : public QWidget {
    Q_OBJECT
public:
    SalePeopleWidget(QWidget* parent, const RegisterControlFn& reg, std::function<void()> refillSalespeople,
                     std::function<void()> refillPayTypes);

    void Show(const InvoiceRecord& sale);
    void SetReadOnly(bool on);
    // Selects the entry with this text (letter case ignored), or none.
    static void Select(QComboBox* combo, const std::string& text);

    QPushButton* cashier = nullptr;
    QLabel* salespersonLabel = nullptr;
    QComboBox* salesperson = nullptr;
    QComboBox* payType = nullptr;
    QLabel* paidState = nullptr;
};
