#include "receivables/CSplitPaymentDlg.h"

CSplitPaymentDlg::CSplitPaymentDlg(const CLocalFile& local, const SalesFileHeader& header, std::int32_t recordNumber,
                                   double total, QWidget* parent)
    : CPaymentListDlg(local, header, recordNumber, PaymentList::Kind::Split, "CSplitPaymentDlg", "Payment", parent)
{
    list_.SetTotal(total);
    Refresh();
}
