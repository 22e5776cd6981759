#include "PaymentHistory.h"

#include "InvoiceRecord.h"
#include "PaymentRecord.h"
#include "TextFormat.h"

#include <cmath>

std::string PaymentHistoryText(const CLocalFile& local, const InvoiceRecord& sale)
{
    std::string text = "Payments:\r\n";
    double sum = 0;
    for (const PaymentRecord& p : PaymentsOfSale(local, sale.recordNumber)) {
        const double amount = std::isfinite(p.amount) ? p.amount : 0.0;
        text += strprintf("%s  %-12s %10.2f\r\n", FormatOleDate(p.date, "%m/%d/%Y").c_str(), p.payType.c_str(), amount);
        sum += amount;
    }
    const double total = std::isfinite(sale.total) ? sale.total : 0.0;
    text += strprintf("Paid: %.2f\r\nBalance Due: %.2f\r\n", sum, total - sum);
    return text;
}
