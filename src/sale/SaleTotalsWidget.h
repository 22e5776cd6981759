#pragma once
// The money column of the sale screen: discount, subtotal, taxes, handling,
// total, the change calculator and the three command buttons under them.

#include "sale/SaleControls.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
struct InvoiceRecord;
struct SalesFileHeader;

class SaleTotalsWidget : public QWidget {
    Q_OBJECT
public:
    SaleTotalsWidget(QWidget* parent, const RegisterControlFn& reg);

    void Show(const InvoiceRecord& sale, const SalesFileHeader& header);
    // "Change" as the Paid box is typed: always two decimals.
    void ShowChange(float change);

    QLineEdit* discount = nullptr;
    QLineEdit* subtotal = nullptr;
    QLineEdit* tax1 = nullptr;
    QLineEdit* tax2 = nullptr;
    QLabel* taxLabel = nullptr;
    QLineEdit* handling = nullptr;
    QLineEdit* total = nullptr;
    QGroupBox* changeCalc = nullptr;
    QLineEdit* paid = nullptr;
    QLineEdit* change = nullptr;
    QPushButton* getProduct = nullptr;
    QPushButton* finish = nullptr;
    QPushButton* touch = nullptr;
};
