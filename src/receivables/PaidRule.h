#pragma once
// When a sale counts as paid, and the changes that keep its stored paid flag
// true: a sale on account (terms, deposit or split) is paid when its payments,
// summed in whole cents, cover its total to the cent; any other sale is paid.

#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"

#include <cstdint>
#include <string>
#include <vector>

class CLocalFile;
class Transaction;

// name is "terms", "deposit" or "split", ignoring case.
bool IsDeferredPayType(const std::string& name);
// payType is "terms", "deposit" or "split", ignoring case: a sale whose payments
// are recorded against it, paid only when they cover its total.
bool IsOnAccount(const InvoiceRecord& record);
// An amount in whole cents, rounded to the nearest; a damaged (not finite) amount is 0.
// Every sum of payments adds each payment's cents, so balances compare exactly
// at any size (a float sum is off by a cent above about 55,000).
long long AmountCents(double amount);
// An amount covers a total to the cent.
bool CoversInCents(double paid, double total);
// Payments summed in whole cents cover a total: the paid rule's test.
bool PaidInFull(long long paidCents, double total);
// The paid flag of a sale whose payments sum to paidCents.
std::uint8_t PaidFlag(const InvoiceRecord& sale, long long paidCents);

// Sum of the amounts of every payment for the sale with that record number, in
// whole cents (AmountCents of each); 0 when the file cannot be opened.
long long SumPaymentCentsForSale(const CLocalFile& local, std::int32_t invoiceNumber);
// The same through a transaction that holds the payments file.
long long SumPaymentCentsIn(Transaction& tx, const CLocalFile& local, std::int32_t invoiceNumber);
// The same sum over payments already read.
long long PaymentCents(const std::vector<PaymentRecord>& payments);

// Sets the sale's paid flag by the paid rule, its payments read from the file.
void ApplyPaidRule(const CLocalFile& local, InvoiceRecord& record);
// The paid rule for a sale appended in tx: its payments are read through the
// transaction when it holds the payments file, from the file otherwise.
PaidFlagOf PaidRuleIn(Transaction& tx, const CLocalFile& local);

// Stores the sale as a new record: it gets the next record number, is dated from
// `now` and has the paid rule applied. The record reaches the disk before the
// count that includes it. Returns the record number and sets `count` to the new
// number of sales; -1 when the sale was not stored (`count` then unchanged).
int AppendInvoice(const CLocalFile& local, InvoiceRecord& record, int& count, const CalendarTime& now);
// Applies the paid rule and writes the sale over its stored position (its dates
// are kept). Returns recordNumber, or -1 when nothing could be written or no
// sale of that number is stored.
int UpdateInvoice(const CLocalFile& local, InvoiceRecord& record);

// Appends a payment to a stored sale and sets that sale's paid flag by the paid
// rule, in one transaction: only the flag of the stored record is rewritten,
// whatever other registers changed in it meanwhile. The payment id, or -1 when
// nothing was stored ("Error opening Payment file." shown).
int AppendPaymentToSale(const CLocalFile& local, PaymentRecord& payment);
// Overwrites the payment that has payment.paymentId in place, and sets the paid
// flag of its sale again, in one transaction. 1 when updated, 0 when no payment
// has that id (nothing written), -1 when the files could not be changed
// ("Error opening Payment file." shown).
int UpdatePaymentById(const CLocalFile& local, const PaymentRecord& payment);

// Due date = saleTime + the net days of the sale's terms record; overdue when
// `now` is later. A sale without a valid sale time is never overdue (its due
// date is then not set).
bool IsOverdue(const InvoiceRecord& record, int termsNetDays, const CalendarTime& now, OleDate& dueDate);
