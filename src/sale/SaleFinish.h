#pragma once
// "Finish Sale F9" without a window. Every refusal comes first and changes
// nothing; then the sale is stored, its stock taken, its customer found or
// created and its rentals recorded, all in one storage transaction, so a
// register that dies or a file that cannot be opened leaves either the whole
// finished sale or nothing. What happens after the commit (the split or deposit
// payments, printing, the next sale) never undoes the stored sale.

#include "sale/FileFault.h"
#include "sale/StoreStep.h"
#include "storage/records/CustomerRecord.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/OleDate.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CLocalFile;
class SaleState;
class Transaction;
struct SalesFileHeader;

// How the finish talks to the cashier: the window shows message boxes, other
// callers answer themselves.
class FinishPrompt {
public:
    virtual ~FinishPrompt() = default;
    virtual void tell(const std::string& text) = 0;
    // Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
};

// What the window shows beside the sale: the cashier button's caption and the
// texts of the salesperson and payment-type lists.
struct FinishEntries {
    std::string cashierCaption;
    std::string salesperson;
    std::string payType;
};

// The lines of every required entry missing, in order, as one message; empty
// when all are there. The change is taken from the sale as the "Paid" box left it.
std::string MissingEntries(const SalesFileHeader& header, const InvoiceRecord& sale, const FinishEntries& entries);

// The customer with this name (ignoring case) in a customer file the
// transaction holds, else a new one appended under the file's next number;
// an existing customer is not rewritten. The customer number, or -1 when the
// file could not be read or is damaged.
int FindOrCreateCustomerIn(Transaction& tx, const std::string& path, const CustomerRecord& customer);

class SaleFinish {
public:
    enum class Result { Stored, Refused, Failed };

    using ClockFn = std::function<CalendarTime()>;
    SaleFinish(SaleState& state, FinishPrompt& prompt, ClockFn clock)
        : state_(state), prompt_(prompt), clock_(std::move(clock))
    {
    }

    // Required entries: false after one message naming every one missing.
    bool CheckRequiredEntries(const FinishEntries& entries);
    // The refusals, then the one transaction. Stored: the sale is in the file
    // (stored() and recordNumber() tell how). Refused: a message or an answer
    // stopped it. Failed: "The sale could not be saved ..." was shown. In both
    // of the latter nothing changed, in the files or on the screen.
    Result FinishSale(const FinishEntries& entries);
    // The storing part of FinishSale alone, for a way of finishing that makes
    // its own checks first (the touch screen): the one transaction, appending
    // a new sale or writing an edited one back over its record.
    Result StoreSale(const FinishEntries& entries);

    // Runs the file step of StoreSale (a window passes one that runs it off
    // its own thread); the refusals, questions and messages stay where they are.
    void setStoreRunner(StoreRunner runner) { runner_ = std::move(runner); }

    const InvoiceRecord& stored() const { return stored_; }
    int recordNumber() const { return stored_.recordNumber; }
    // The payment type asks for a dialog after the commit.
    bool needsSplit() const;
    bool needsDeposit() const;

    // The split or deposit dialog was cancelled: the stored sale, left whole in
    // its file, comes back on the screen to be finished again over the same
    // record number. False when it could not be read again (it stays stored;
    // fault() tells why).
    bool PaymentsCancelled();
    // An empty new sale for the same cashier.
    void StartNextSale();
    // Why the last Failed result failed: the file and its cause.
    const FileFault& fault() const { return fault_; }

private:
    bool Refused(const FinishEntries& entries);
    bool MarginsAccepted();
    // Stages the whole sale in the begun transaction; `over` is the record
    // written back over, or -1 to append. False with fault_ set when a file refused.
    bool Stage(Transaction& tx, InvoiceRecord& sale, bool walkIn, bool rentals, int over, const CalendarTime& now);
    // The file step of StoreSale: the files only, nothing shown.
    Result Store(InvoiceRecord& sale, bool walkIn, int over, const CalendarTime& now);
    Result NotSaved(FileFault fault);

    SaleState& state_;
    FinishPrompt& prompt_;
    ClockFn clock_;
    InvoiceRecord stored_;
    bool changedMeanwhile_ = false;  // an edited sale was changed at another register
    FileFault fault_;
    StoreRunner runner_;
};
