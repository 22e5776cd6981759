#include "receivables/PaymentList.h"

#include "sale/SaleTotals.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/SalesIndex.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/io/UserPrompt.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kOpenError = "Error opening Payment file.";
const char* const kOverpayment = "Overpayment not allowed.\n";
const char* const kAmountCut = "Overpayment not allowed.\n\nOnly the amount due was applied to this Invoice.\n";
const char* const kSplitNotPaid =
    "The balance is not paid off. Do you want to return to the Split payments?\n\nPress OK to adjust the split "
    "payments.\n\nPress Cancel to adjust the invoice.\n\n";
const char* const kNoDeposit =
    "No payment was made. Do you want to return to make a payment?\n\nPress OK to make a payment.\n\nPress Cancel "
    "to adjust the invoice.\n\n";
const char* const kDiscountNotPaid = "Terms discount is not allowed\nunless the Invoice is paid in full..\n";
const char* const kSaleNotWritten = "Read Invoice error: can't open";

std::string cut(const std::string& text, std::size_t chars) { return text.substr(0, std::min(text.size(), chars)); }

}  // namespace

bool IsReservedPayType(const std::string& name)
{
    for (const char* reserved : {"Split", "Deposit", "Terms", "Layaway"})
        if (EqualsIgnoreCase(name, reserved))
            return true;
    return false;
}

void CopyEntered(const EnteredPayment& entered, PaymentRecord& payment)
{
    payment.payType = cut(entered.payType, kPayTypeChars);
    payment.cardNumber = cut(entered.cardNumber, kCardNumberChars);
    payment.expiration = cut(entered.expiration, kExpirationChars);
    payment.notes = cut(entered.notes, kNotesChars);
    payment.date = entered.date;
    payment.amount = StoreAmount(ReadNumber(entered.amountText));
}

EnteredPayment EnteredOf(const PaymentRecord& payment)
{
    EnteredPayment e;
    e.payType = payment.payType;
    e.amountText = FixedText(payment.amount, 2);
    e.cardNumber = payment.cardNumber;
    e.expiration = payment.expiration;
    e.notes = payment.notes;
    e.date = payment.date;
    return e;
}

std::vector<std::string> PaymentRowTexts(const PaymentRecord& p)
{
    return {strprintf("%i", p.invoiceNumber),
            p.payType,
            FixedText(p.amount, 2),
            FormatOleDate(p.date, "%m/%d/%Y"),
            p.cardNumber,
            p.cashier,
            p.notes,
            strprintf("%i", p.paymentId)};
}

std::string PaymentReportHeading(const CalendarTime& today)
{
    return "\n\nUnpaid Invoices Report\n" + FormatCalendarTime(today, "%A, %B %d, %Y\n\n") +
           "Record#\tPay Type\tAmount\tDate\tCard/Check\tCashier\tNotes\n";
}

std::string PaymentReportBody(const std::vector<PaymentRecord>& payments)
{
    std::string body;
    for (const PaymentRecord& p : payments) {
        const std::vector<std::string> row = PaymentRowTexts(p);
        for (std::size_t k = 0; k + 1 < row.size(); ++k)
            body += row[k] + (k + 2 < row.size() ? "\t" : "\n");
    }
    return body;
}

float TermsDiscount(const InvoiceRecord& sale, const TermsRecord& terms)
{
    const double subtotal = static_cast<double>(sale.taxableSubtotal) + sale.exemptSubtotal;
    return StoreAmount(subtotal * terms.discountPercent / 100.0);
}

void ApplyTermsDiscount(InvoiceRecord& sale, const TermsRecord& terms, const SalesFileHeader& header)
{
    SalesFileHeader ownRates = header;
    ownRates.salesDiscountOn = 0;
    sale.discountPercent = StoreAmount(static_cast<double>(sale.discountPercent) + terms.discountPercent);
    RecalculateTotals(sale, ownRates);
}

int PayStoredSale(const CLocalFile& local, std::int32_t recordNumber, const EnteredPayment& entered,
                  const std::string& cashier)
{
    PaymentRecord payment;
    CopyEntered(entered, payment);
    payment.kind = PaymentRecord::kOnAccount;
    payment.invoiceNumber = recordNumber;
    payment.cashier = cashier;
    return AppendPaymentToSale(local, payment);
}

PaymentList::PaymentList(const CLocalFile& local, PaymentPrompt& prompt, std::int32_t recordNumber, Kind kind,
                         std::string cashier)
    : local_(local), prompt_(prompt), recordNumber_(recordNumber), kind_(kind), cashier_(std::move(cashier))
{
}

bool PaymentList::Refresh(const SalesFileHeader* header, bool applyDiscount)
{
    known_ = false;
    paidCents_ = 0;
    bool saleRead = true;
    int paymentsRead = FileCause::None;
    InvoiceRecord sale = sale_;
    TermsRecord terms;
    std::vector<PaymentRecord> payments;
    const CLocalFile& local = local_;
    const bool onAccount = kind_ == Kind::OnAccount;
    const std::int32_t number = recordNumber_;
    RunStoreStep(readRunner_, [&] {
        if (onAccount) {
            saleRead = ReadInvoice(local, number, sale);
            if (!saleRead)
                return;
            terms.name = FindTermsName(local, sale.termsIndex);
            GetTerms(local, sale.termsIndex, terms);
        }
        paymentsRead = ReadPayments(local, number, 0, payments);
    });
    if (!saleRead)
        return false;
    if (onAccount) {
        sale_ = sale;
        terms_ = terms;
        if (applyDiscount && header)
            ApplyTermsDiscount(sale_, terms_, *header);
        total_ = sale_.total;
    }
    payments_ = std::move(payments);
    if (paymentsRead != FileCause::None) {
        prompt_.tell(kOpenError);
        return false;
    }
    paidCents_ = PaymentCents(payments_);
    known_ = true;
    return true;
}

bool PaymentList::MayAdd()
{
    if (!known_ && !Refresh())
        return false;
    if (balanceCents() <= 0) {
        prompt_.tell(kOverpayment);
        return false;
    }
    return true;
}

bool PaymentList::Add(const EnteredPayment& entered)
{
    PaymentRecord payment;
    CopyEntered(entered, payment);
    payment.cashier = cashier_;
    payment.kind = kind_ == Kind::Split ? PaymentRecord::kSplitPart : PaymentRecord::kOnAccount;
    payment.invoiceNumber = recordNumber_;
    if (AmountCents(payment.amount) > balanceCents()) {
        prompt_.tell(kAmountCut);
        prompt_.tell(strprintf("Change amount: %.2f", static_cast<double>(payment.amount) - balance()));
        payment.amount = RoundToCents(balance());
    }
    bool stored = false;
    RunStoreStep(runner_, [&] { stored = AppendPaymentToSale(local_, payment) >= 0; });
    Refresh();
    return stored;
}

const PaymentRecord* PaymentList::Find(std::int32_t paymentId) const
{
    for (const PaymentRecord& p : payments_)
        if (p.paymentId == paymentId)
            return &p;
    return nullptr;
}

bool PaymentList::Edit(std::int32_t paymentId, const EnteredPayment& entered)
{
    bool found = false;
    bool changed = false;
    RunStoreStep(runner_, [&] {
        PaymentRecord payment;
        found = FindPaymentById(local_, paymentId, payment);
        if (!found)
            return;
        CopyEntered(entered, payment);
        changed = UpdatePaymentById(local_, payment) > 0;
    });
    if (!found)
        return false;
    Refresh();
    return changed;
}

PaymentList::Close PaymentList::CloseSplit()
{
    if (!Refresh())
        return Close::Stay;
    const long long due = balanceCents();
    if (due > 0)
        return prompt_.askOkCancel(kSplitNotPaid) ? Close::Stay : Close::Reject;
    if (due < 0) {
        prompt_.tell("Over Payment.");
        return Close::Stay;
    }
    return Close::Accept;
}

PaymentList::Close PaymentList::CloseDeposit()
{
    if (!Refresh())
        return Close::Stay;
    if (paidCents_ != 0)
        return Close::Accept;
    return prompt_.askOkCancel(kNoDeposit) ? Close::Stay : Close::Reject;
}

PaymentList::Close PaymentList::CloseOnAccount(const SalesFileHeader& header, bool applyDiscount)
{
    if (!Refresh(&header, applyDiscount))
        return Close::Stay;
    if (balanceCents() < 0) {
        prompt_.tell(kOverpayment);
        return Close::Stay;
    }
    if (applyDiscount && balanceCents() != 0) {
        prompt_.tell(kDiscountNotPaid);
        return Close::Stay;
    }
    return Settle(header, applyDiscount) ? Close::Accept : Close::Stay;
}

// The stored sale is read again under the exclusive lock, so what other
// registers changed in it meanwhile is kept: only its paid flag changes, and
// with the terms discount its discount and totals.
bool PaymentList::Settle(const SalesFileHeader& header, bool applyDiscount)
{
    enum class Settled { Written, NoLongerPaid, NotWritten };
    Settled settled = Settled::NotWritten;
    RunStoreStep(runner_, [&] {
        TermsRecord terms;
        Transaction tx;
        tx.add(local_.GetPath("Payments"), OpenMode::OpenOrCreate);
        tx.add(local_.GetPath("Invoices"));
        if (applyDiscount)
            JoinSalesIndex(tx, local_.GetPath("Invoices"));
        if (tx.begin() != FileCause::None)
            return;
        DataFile& invoices = tx.file(local_.GetPath("Invoices"));
        bool damaged = false;
        const long long present = InvoiceRecordsPresent(invoices, &damaged);
        InvoiceRecord sale;
        if (damaged || recordNumber_ < 0 || recordNumber_ >= present || !ReadInvoiceAt(invoices, recordNumber_, sale))
            return;
        const long long paid = SumPaymentCentsIn(tx, local_, recordNumber_);
        if (applyDiscount) {
            GetTerms(local_, sale.termsIndex, terms);
            ApplyTermsDiscount(sale, terms, header);
            if (AmountCents(sale.total) != paid) {
                // Paid in full when the window was refreshed, no longer now.
                tx.release();
                settled = Settled::NoLongerPaid;
                return;
            }
        }
        const std::uint8_t flag = !IsOnAccount(sale) || PaidInFull(paid, sale.total) ? 1 : 0;
        if (applyDiscount) {
            sale.paid = flag;
            StageInvoiceAt(tx, invoices, recordNumber_, sale);
        } else if (flag != sale.paid) {
            tx.write(invoices, InvoiceOffset(recordNumber_), &flag, 1);
        }
        if (!tx.pending() || tx.commit() == FileCause::None)
            settled = Settled::Written;
    });
    if (settled == Settled::NoLongerPaid) {
        prompt_.tell(kDiscountNotPaid);
        Refresh(&header, applyDiscount);
        return false;
    }
    if (settled == Settled::NotWritten)
        prompt_.tell(kSaleNotWritten);
    return settled == Settled::Written;
}
