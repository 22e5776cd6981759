#include "receivables/PaymentActivity.h"

#include "storage/files/CLocalFile.h"
#include "storage/records/TextFormat.h"

bool ListPaymentActivity(const CLocalFile& local, std::int32_t recordNumber, std::vector<PaymentRecord>& out)
{
    return ReadPayments(local, recordNumber, PaymentRecord::kOnAccount, out) == FileCause::None;
}

std::vector<std::string> PaymentCells(const PaymentRecord& p)
{
    return {strprintf("%i", p.invoiceNumber), p.payType,      strprintf("%.2f", static_cast<double>(p.amount)),
            FormatOleDate(p.date, "%m/%d/%Y"), p.cardNumber, p.cashier, p.notes, strprintf("%i", p.paymentId)};
}
