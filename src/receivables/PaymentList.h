#pragma once
// What the payment-list windows (split payments, deposits, payments on account)
// do, without a window: the payments of one sale and its balance, adding and
// editing a payment, whether the window may close, and for a payment on account
// the terms discount and the settling of the stored sale.

#include "receivables/PaidRule.h"
#include "sale/StoreStep.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/OleDate.h"
#include "storage/records/TermsRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class CLocalFile;
struct SalesFileHeader;

// The fields of the payment window as entered.
struct EnteredPayment {
    std::string payType;
    std::string amountText;
    std::string cardNumber;
    std::string expiration;
    std::string notes;
    OleDate date;
};

// The payment window's own limits on its texts.
constexpr std::size_t kPayTypeChars = 23;
constexpr std::size_t kCardNumberChars = 23;
constexpr std::size_t kExpirationChars = 13;
constexpr std::size_t kNotesChars = 39;

// "Split", "Deposit", "Terms" and "Layaway", in any case: payment types that
// name a way of paying a sale, not a payment.
bool IsReservedPayType(const std::string& name);
// The entered fields over a payment record, cut to their lengths; the amount
// is the number the text starts with.
void CopyEntered(const EnteredPayment& entered, PaymentRecord& payment);
// A stored payment as the payment window shows it.
EnteredPayment EnteredOf(const PaymentRecord& payment);

// A payment as a row of the payment lists: "Rec#", "Pay Type", "Amount",
// "Date", "Card/Check", "Cashier", "Notes" and the hidden "ID".
std::vector<std::string> PaymentRowTexts(const PaymentRecord& payment);
// The "Print" report of the payment list: the heading (dated `today`) and one
// line per payment, its columns but the id each ended by a tab, the last by "\n".
std::string PaymentReportHeading(const CalendarTime& today);
std::string PaymentReportBody(const std::vector<PaymentRecord>& payments);


// The sale's terms discount: the terms percent over the sale's subtotal.
float TermsDiscount(const InvoiceRecord& sale, const TermsRecord& terms);
// The sale with the terms percent added to its discount and its totals
// computed again with its own tax rates; the store's discount levels play no
// part (they would replace the sale's discount with today's level).
void ApplyTermsDiscount(InvoiceRecord& sale, const TermsRecord& terms, const SalesFileHeader& header);

// "Make Payment to this Sale": a payment on account for the stored sale, named
// for this register's cashier; the stored sale's paid flag follows in the same
// transaction. The payment id, or -1 when nothing was stored.
int PayStoredSale(const CLocalFile& local, std::int32_t recordNumber, const EnteredPayment& entered,
                  const std::string& cashier);

class PaymentPrompt {
public:
    virtual ~PaymentPrompt() = default;
    virtual void tell(const std::string& text) = 0;
    // An OK/Cancel question; true for OK.
    virtual bool askOkCancel(const std::string& text) = 0;
};

class PaymentList {
public:
    // Split: parts of a split payment taken at the sale. Deposit: the first
    // payment of a deposit sale. OnAccount: a payment on a stored sale, which
    // reads the sale itself (with its terms).
    enum class Kind { Split, Deposit, OnAccount };
    enum class Close { Accept, Reject, Stay };

    // cashier: the cashier logged in at this register, whom new payments name.
    PaymentList(const CLocalFile& local, PaymentPrompt& prompt, std::int32_t recordNumber, Kind kind,
                std::string cashier);

    // Runs the file step of each payment stored or changed (Add, Edit and the
    // on-account settling); a window passes one that runs it off its own thread.
    void setStoreRunner(StoreRunner runner) { runner_ = std::move(runner); }
    // Runs Refresh's reading of the files.
    void setReadRunner(StoreRunner runner) { readRunner_ = std::move(runner); }
    // The sale total given by the finish (split and deposit).
    void SetTotal(double total) { total_ = total; }
    // Lists the payments again (and, on account, reads the sale and its terms,
    // with the terms discount applied when asked). False after one message
    // when something could not be read: the balance is then unknown.
    bool Refresh(const SalesFileHeader* header = nullptr, bool applyDiscount = false);

    bool known() const { return known_; }
    const std::vector<PaymentRecord>& payments() const { return payments_; }
    std::int32_t recordNumber() const { return recordNumber_; }
    double total() const { return total_; }
    // The payments and the balance in whole cents, as every balance is compared.
    long long paidCents() const { return paidCents_; }
    long long balanceCents() const { return AmountCents(total_) - paidCents_; }
    double paid() const { return static_cast<double>(paidCents_) / 100; }
    double balance() const { return static_cast<double>(balanceCents()) / 100; }
    // On account: the sale as read, its terms and the terms discount.
    const InvoiceRecord& sale() const { return sale_; }
    const TermsRecord& terms() const { return terms_; }

    // "Add Payment" before the payment window opens: false after
    // "Overpayment not allowed.\n" when nothing is left to pay (or when the
    // payments could not be read).
    bool MayAdd();
    // Stores an entered payment; more than the balance is cut to it after the
    // two overpayment messages. False when nothing was stored.
    bool Add(const EnteredPayment& entered);
    // The listed payment with this id.
    const PaymentRecord* Find(std::int32_t paymentId) const;
    // The entered fields over the stored payment (its cashier and kind stay;
    // no overpayment check). False when nothing was changed.
    bool Edit(std::int32_t paymentId, const EnteredPayment& entered);

    // "OK" of each window. OnAccount writes the stored sale (its paid flag,
    // and with the terms discount its discount and totals) before it accepts.
    Close CloseSplit();
    Close CloseDeposit();
    Close CloseOnAccount(const SalesFileHeader& header, bool applyDiscount);

private:
    bool Settle(const SalesFileHeader& header, bool applyDiscount);

    const CLocalFile& local_;
    PaymentPrompt& prompt_;
    std::int32_t recordNumber_;
    Kind kind_;
    std::string cashier_;
    std::vector<PaymentRecord> payments_;
    double total_ = 0;
    long long paidCents_ = 0;
    bool known_ = false;
    InvoiceRecord sale_;
    TermsRecord terms_;
    StoreRunner runner_;
    StoreRunner readRunner_;
};
