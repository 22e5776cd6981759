#pragma once
// The "Navigate" group of the sale screen: Prev, Next, Current, the record
// number box with Goto#, and the number of stored sales.

#include "sale/SaleControls.h"

#include <QGroupBox>

class QPushButton;

class SaleNavigationWidget : public QGroupBox {
    Q_OBJECT
public:
    SaleNavigationWidget(QWidget* parent, const RegisterControlFn& reg);

    QPushButton* prev = nullptr;
    QPushButton* next = nullptr;
    QPushButton* current = nullptr;
    QPushButton* go = nullptr;
    QLineEdit* recordNumber = nullptr;
    QLineEdit* records = nullptr;
};
