#pragma once
// The payments file's operations (the layout is in storage/records/PaymentRecord.h).
// When a payment makes its sale paid is for the receivables to say: see
// receivables/PaidRule.h.

#include "storage/records/PaymentRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CLocalFile;
class DataFile;
class Transaction;

// What goes with a new payment in its transaction: called once the payment is
// staged (reads still see the files as they were); false refuses the whole change.
using AlongsidePayment = std::function<bool(Transaction& tx, const PaymentRecord& staged)>;

// Appends a payment; it gets the file's next id, which is returned (-1 when
// nothing was stored). A missing file is created with the header {1, 1.0, 1}
// and the payment id 0. The record is written and flushed before the header
// that counts it. Failure to open or to write shows "Error opening Payment file.".
// `alongside` (when given) stages more in the same transaction, which then
// holds the file `alsoHold` too.
int AppendPayment(const CLocalFile& local, PaymentRecord& payment, const std::string& alsoHold = {},
                  const AlongsidePayment& alongside = {});
// The same inside a transaction that holds the payments file (OpenOrCreate);
// staged, stored by the caller's commit. -1 on a read error, -2 when the file
// is damaged (the user was told).
int AppendPaymentIn(Transaction& tx, const CLocalFile& local, PaymentRecord& payment);
// Overwrites, inside a transaction that holds the payments file, the first
// payment that has payment.paymentId; it keeps its sale, kind and cashier.
// `old` receives the payment as it was. 1 when staged, 0 when no payment has
// that id, -1 when the file could not be read.
int ReplacePaymentIn(Transaction& tx, const CLocalFile& local, const PaymentRecord& payment, PaymentRecord& old);
// The message shown when a change of the payments file failed.
extern const char* const kPaymentFileError;

// Number of payment records present (a count past the end of the file reads as
// the records there, a negative one as 0); 0 when the file cannot be opened.
int ReadPaymentCount(const CLocalFile& local);
// Every payment of a sale, in file order; none when the file cannot be read.
std::vector<PaymentRecord> PaymentsOfSale(const CLocalFile& local, std::int32_t invoiceNumber);

// The payments of one sale, or of every sale when invoiceNumber is negative, in
// file order; onlyKind 0 takes every kind. A missing file holds no payments.
// Returns the open cause: anything but None means the payments could not be
// read (the list is then empty and must not be taken for "no payments").
int ReadPayments(const CLocalFile& local, std::int32_t invoiceNumber, std::uint8_t onlyKind,
                 std::vector<PaymentRecord>& out);
// Calls visit with each payment record's bytes in file order, read in blocks,
// without decoding them. Returns the open cause as ReadPayments does; on a
// failure some records may already have been visited.
int VisitPayments(const CLocalFile& local, const std::function<void(const std::uint8_t*)>& visit);
// The same over a payments file already open (a transaction's): FileCause::None,
// or Generic when the file could not be read.
int VisitPaymentsIn(DataFile& file, const std::function<void(const std::uint8_t*)>& visit);
// The first payment with this id; false when there is none or the file cannot be read.
bool FindPaymentById(const CLocalFile& local, std::int32_t paymentId, PaymentRecord& payment);

// Every payment of a sale as "type  amount    date\r\n" lines (the date in the
// locale's date and time), as a split or deposit sale is shown and printed.
std::string PaymentsText(const CLocalFile& local, std::int32_t invoiceNumber);
