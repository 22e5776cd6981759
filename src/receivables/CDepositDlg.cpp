#include "receivables/CDepositDlg.h"

CDepositDlg::CDepositDlg(const CLocalFile& local, const SalesFileHeader& header, std::int32_t recordNumber,
                         double total, QWidget* parent)
    : CPaymentListDlg(local, header, recordNumber, PaymentList::Kind::Deposit, "CDepositDlg", "Make a Deposit", parent)
{
    list_.SetTotal(total);
    Refresh();
}
