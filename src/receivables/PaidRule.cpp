#include "receivables/PaidRule.h"

#include "storage/files/CLocalFile.h"
#include "storage/io/DataFile.h"
#include "storage/io/UserPrompt.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"

#include <cmath>
#include <functional>

bool IsDeferredPayType(const std::string& name)
{
    return EqualsIgnoreCase(name, "terms") || EqualsIgnoreCase(name, "deposit") || EqualsIgnoreCase(name, "split");
}

bool IsOnAccount(const InvoiceRecord& record) { return IsDeferredPayType(record.payType); }

long long AmountCents(double amount) { return std::isfinite(amount) ? std::llround(amount * 100.0) : 0; }

bool CoversInCents(double paid, double total) { return AmountCents(paid) >= AmountCents(total); }

bool PaidInFull(long long paidCents, double total) { return paidCents >= AmountCents(total); }

std::uint8_t PaidFlag(const InvoiceRecord& sale, long long paidCents)
{
    return !IsOnAccount(sale) || PaidInFull(paidCents, sale.total) ? 1 : 0;
}

namespace {
// The payments of one sale in a payments file, summed in cents; what could be
// read when the file fails part way.
long long sumFor(const std::function<int(const std::function<void(const std::uint8_t*)>&)>& visitAll,
                 std::int32_t invoiceNumber)
{
    long long sum = 0;
    visitAll([&](const std::uint8_t* rec) {
        if (codec::getI32(rec, PaymentRecord::kInvoiceNumberOff) == invoiceNumber)
            sum += AmountCents(codec::getF32(rec, PaymentRecord::kAmountOff));
    });
    return sum;
}
}  // namespace

long long SumPaymentCentsForSale(const CLocalFile& local, std::int32_t invoiceNumber)
{
    return sumFor([&](const auto& visit) { return VisitPayments(local, visit); }, invoiceNumber);
}

long long SumPaymentCentsIn(Transaction& tx, const CLocalFile& local, std::int32_t invoiceNumber)
{
    DataFile& file = tx.file(local.GetPath("Payments"));
    return sumFor([&](const auto& visit) { return VisitPaymentsIn(file, visit); }, invoiceNumber);
}

long long PaymentCents(const std::vector<PaymentRecord>& payments)
{
    long long sum = 0;
    for (const PaymentRecord& p : payments)
        sum += AmountCents(p.amount);
    return sum;
}

void ApplyPaidRule(const CLocalFile& local, InvoiceRecord& record)
{
    record.paid = IsOnAccount(record) ? PaidFlag(record, SumPaymentCentsForSale(local, record.recordNumber)) : 1;
}

PaidFlagOf PaidRuleIn(Transaction& tx, const CLocalFile& local)
{
    return [&tx, &local](const InvoiceRecord& sale) -> std::uint8_t {
        if (!IsOnAccount(sale))
            return 1;
        const std::int32_t n = sale.recordNumber;
        return PaidFlag(sale, tx.holds(local.GetPath("Payments")) ? SumPaymentCentsIn(tx, local, n)
                                                                 : SumPaymentCentsForSale(local, n));
    };
}

int AppendInvoice(const CLocalFile& local, InvoiceRecord& record, int& count, const CalendarTime& now)
{
    Transaction tx;
    tx.add(local.GetPath("Invoices"));
    if (tx.begin() != FileCause::None)
        return -1;
    InvoiceRecord stored = record;
    const int n = AppendInvoiceIn(tx, local, stored, now, PaidRuleIn(tx, local));
    if (n < 0 || tx.commit() != FileCause::None)
        return -1;
    record = stored;
    count = n + 1;
    return n;
}

int UpdateInvoice(const CLocalFile& local, InvoiceRecord& record)
{
    ApplyPaidRule(local, record);
    return RewriteInvoice(local, record);
}

int AppendPaymentToSale(const CLocalFile& local, PaymentRecord& payment)
{
    return AppendPayment(local, payment, local.GetPath("Invoices"), [&local](Transaction& tx, const PaymentRecord& staged) {
        // The transaction still reads the payments as they were: the new one is added here.
        const long long paid = SumPaymentCentsIn(tx, local, staged.invoiceNumber) + AmountCents(staged.amount);
        return StagePaidFlag(tx, local, staged.invoiceNumber,
                             [paid](const InvoiceRecord& sale) { return PaidFlag(sale, paid); });
    });
}

int UpdatePaymentById(const CLocalFile& local, const PaymentRecord& payment)
{
    Transaction tx;
    tx.add(local.GetPath("Payments"), OpenMode::OpenOrCreate);
    tx.add(local.GetPath("Invoices"));
    if (tx.begin() != FileCause::None) {
        userPrompt().showMessage(kPaymentFileError);
        return -1;
    }
    PaymentRecord old;
    const int replaced = ReplacePaymentIn(tx, local, payment, old);
    if (replaced == 0)
        return 0;
    bool stored = replaced > 0;
    if (stored) {
        const long long paid = SumPaymentCentsIn(tx, local, old.invoiceNumber) - AmountCents(old.amount) +
                               AmountCents(payment.amount);
        stored = StagePaidFlag(tx, local, old.invoiceNumber,
                               [paid](const InvoiceRecord& sale) { return PaidFlag(sale, paid); }) &&
                 tx.commit() == FileCause::None;
    }
    if (!stored) {
        userPrompt().showMessage(kPaymentFileError);
        return -1;
    }
    return 1;
}

namespace {
long long secondsOf(const CalendarTime& t)
{
    return daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}
}  // namespace

bool IsOverdue(const InvoiceRecord& record, int termsNetDays, const CalendarTime& now, OleDate& dueDate)
{
    CalendarTime sold;
    if (!record.saleTime.toCalendar(sold)) {
        dueDate = OleDate{};
        return false;
    }
    CalendarTime due = sold;
    civilFromDays(daysFromCivil(sold.year, sold.month, sold.day) + termsNetDays, due.year, due.month, due.day);
    dueDate = OleDate::fromCalendar(due);
    return dueDate.isValid() && secondsOf(now) > secondsOf(due);
}
