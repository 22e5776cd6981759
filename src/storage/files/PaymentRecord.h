#pragma once
// The payments file: a 12-byte header followed by 220-byte payment records,
// each tied to a sale by the sale's record number.

#include "storage/records/OleDate.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CLocalFile;
class Transaction;

struct PaymentFileHeader {
    static constexpr std::size_t kSize = 12;
    static constexpr float kVersion = 1.0f;

    std::int32_t count = 0;
    float version = kVersion;
    std::int32_t nextId = 0;

    void encode(std::uint8_t* buf) const;
    void decode(const std::uint8_t* buf);
};

struct PaymentRecord {
    static constexpr std::size_t kSize = 220;
    static constexpr std::uint8_t kSplitPart = 1;
    static constexpr std::uint8_t kOnAccount = 2;  // deposit or payment on account

    static constexpr std::size_t kKindOff = 64;
    static constexpr std::size_t kInvoiceNumberOff = 68;
    static constexpr std::size_t kPaymentIdOff = 72;
    static constexpr std::size_t kAmountOff = 76;
    static constexpr std::size_t kDateOff = 80;
    static constexpr std::size_t kPayTypeOff = 92;
    static constexpr std::size_t kPayTypeWidth = 24;
    static constexpr std::size_t kCardNumberOff = 116;
    static constexpr std::size_t kCardNumberWidth = 24;
    static constexpr std::size_t kExpirationOff = 140;
    static constexpr std::size_t kExpirationWidth = 14;
    static constexpr std::size_t kCashierOff = 154;
    static constexpr std::size_t kCashierWidth = 24;
    static constexpr std::size_t kNotesOff = 178;
    static constexpr std::size_t kNotesWidth = 42;

    std::uint8_t kind = kOnAccount;
    std::int32_t invoiceNumber = 0;
    std::int32_t paymentId = 0;
    float amount = 0;
    OleDate date;
    std::string payType;
    std::string cardNumber;
    std::string expiration;
    std::string cashier;
    std::string notes;

    // The reserved bytes (0..63, 65..67) are written as zeros and ignored when read.
    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);

    bool operator==(const PaymentRecord&) const = default;
};

// Offset of payment record i in the file.
inline long long PaymentOffset(long long i)
{
    return static_cast<long long>(PaymentFileHeader::kSize) + i * static_cast<long long>(PaymentRecord::kSize);
}

// Appends a payment; it gets the file's next id, which is returned (-1 when
// nothing was stored). A missing file is created with the header {1, 1.0, 1}
// and the payment id 0. The record is written and flushed before the header
// that counts it. Failure to open or to write shows "Error opening Payment file.".
int AppendPayment(const CLocalFile& local, PaymentRecord& payment);
// The same inside a transaction that holds the payments file (OpenOrCreate);
// staged, stored by the caller's commit. -1 on a read error, -2 when the file
// is damaged (the user was told).
int AppendPaymentIn(Transaction& tx, const CLocalFile& local, PaymentRecord& payment);
// SumPaymentCentsForSale through a transaction that holds the payments file.
long long SumPaymentCentsIn(Transaction& tx, const CLocalFile& local, std::int32_t invoiceNumber);
// Number of payment records present (a count past the end of the file reads as
// the records there, a negative one as 0); 0 when the file cannot be opened.
int ReadPaymentCount(const CLocalFile& local);
// Reads payment record i; false when it is not present or the file cannot be read.
bool ReadPayment(const CLocalFile& local, int index, PaymentRecord& payment);
// Sum of the amounts of every payment for the sale with that record number, in
// whole cents (AmountCents of each); 0 when the file cannot be opened.
long long SumPaymentCentsForSale(const CLocalFile& local, std::int32_t invoiceNumber);
// The same sum over payments already read.
long long PaymentCents(const std::vector<PaymentRecord>& payments);
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
// The first payment with this id; false when there is none or the file cannot be read.
bool FindPaymentById(const CLocalFile& local, std::int32_t paymentId, PaymentRecord& payment);

// Appends a payment to a stored sale and sets that sale's paid flag by the paid
// rule (a sale on account is paid when its payments cover its total to the
// cent), in one transaction: only the flag of the stored record is rewritten,
// whatever other registers changed in it meanwhile. The payment id, or -1 when
// nothing was stored ("Error opening Payment file." shown).
int AppendPaymentToSale(const CLocalFile& local, PaymentRecord& payment);
// Overwrites the payment that has payment.paymentId in place, and sets the paid
// flag of its sale again, in one transaction. 1 when updated, 0 when no payment
// has that id (nothing written), -1 when the files could not be changed
// ("Error opening Payment file." shown).
int UpdatePaymentById(const CLocalFile& local, const PaymentRecord& payment);

// Every payment of a sale as "type  amount    date\r\n" lines (the date in the
// locale's date and time), as a split or deposit sale is shown and printed.
std::string PaymentsText(const CLocalFile& local, std::int32_t invoiceNumber);
