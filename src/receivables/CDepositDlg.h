#pragma once
// The deposit taken when a sale is finished: OK closes the window once some
// payment was made.

#include "receivables/CPaymentListDlg.h"

class CDepositDlg : public CPaymentListDlg {
    Q_OBJECT
public:
    // total: the sale's total as the finish gives it.
    CDepositDlg(const CLocalFile& local, const SalesFileHeader& header, std::int32_t recordNumber, double total,
                QWidget* parent = nullptr);

protected:
    PaymentList::Close CloseDecision() override { return list_.CloseDeposit(); }
};
