#pragma once
// The split payments taken when a sale is finished: the parts must cover the
// sale's total to the cent before the window closes with OK.

#include "receivables/CPaymentListDlg.h"

class CSplitPaymentDlg : public CPaymentListDlg {
    Q_OBJECT
public:
    // total: the sale's total as the finish gives it.
    CSplitPaymentDlg(const CLocalFile& local, const SalesFileHeader& header, std::int32_t recordNumber, double total,
                     QWidget* parent = nullptr);

protected:
    PaymentList::Close CloseDecision() override { return list_.CloseSplit(); }
};
