#pragma once
// "Make a Payment": payments on account to one stored sale, with its terms and
// the terms discount. "Apply Discount" grants the discount when the payments
// cover the discounted total; "OK" then stores it in the sale.

#include "receivables/CPaymentListDlg.h"

class QCheckBox;
class QLineEdit;

class CMakePaymentDlg : public CPaymentListDlg {
    Q_OBJECT
public:
    CMakePaymentDlg(const CLocalFile& local, const SalesFileHeader& header, std::int32_t recordNumber,
                    QWidget* parent = nullptr);

    // Opens the window for a stored sale; true when it closed with "OK".
    static bool Open(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                     std::int32_t recordNumber);

protected:
    void Refresh() override;
    PaymentList::Close CloseDecision() override;

private:
    void OnPrint();

    QLineEdit* record_ = nullptr;
    QLineEdit* terms_ = nullptr;
    QLineEdit* termsDiscount_ = nullptr;
    QCheckBox* apply_ = nullptr;
};
