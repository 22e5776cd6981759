#pragma once
// Voiding, editing and clearing the sale on the screen, without a window: the
// window asks its questions and shows its messages, this class changes the
// files and the sale state.
//
// A stored sale being edited is never touched in its file until the edit is
// finished. "Edit This Sale" writes nothing: it keeps the record as it was read
// and puts a copy on the screen. Finishing (F9, on any screen) gives back the
// stock of the record as read, takes the stock of the edited lines and writes
// the record over its own number, all in the finish's one transaction, after
// reading the record again inside it: when another register changed it meanwhile
// (voided, paid, edited) nothing is written. Abandoning the edit in any way
// (clearing, a crash, leaving the program) leaves the stored sale as it is.

#include "sale/FileFault.h"
#include "sale/StoreStep.h"
#include "storage/files/ProductFile.h"

#include <string>
#include <vector>

class CLocalFile;
class SaleState;
class Transaction;
struct CustomerRecord;
struct InvoiceRecord;

class SaleEditing {
public:
    enum class Result {
        Done,
        NewSaleShown,  // the command needs a stored sale on the screen
        Failed,        // a file could not be read or changed; nothing changed
    };

    explicit SaleEditing(SaleState& state) : state_(state) {}

    // "Void This Sale": the shown stored sale is voided in its file (its goods
    // back in stock) and shown again as stored now. `runner` runs the voiding's
    // file step.
    Result Void(const StoreRunner& runner = {});
    // "Edit This Sale": the shown stored sale comes onto the screen as the sale
    // being edited, with its customer; nothing is written. `runner` runs the
    // reading of the sale and its customer.
    Result BeginEdit(const StoreRunner& runner = {});
    // "Clear This Sale": an empty new sale. A sale being edited is left as it is stored.
    Result Clear();
    // The split or deposit payments of sale `recordNumber`, just stored, were
    // cancelled: the sale comes back on the screen as an edit of the record as
    // it is stored now. Nothing is written: the stored sale keeps its lines,
    // stock and payments, so clearing, leaving or a crash loses nothing, and
    // finishing again writes it back over its own record.
    Result ReopenStored(int recordNumber, const StoreRunner& runner = {});

    // Finishing an edit inside the finish's transaction, which holds the invoice,
    // product and payments files: the record is read again and compared with
    // the one the edit started from; when unchanged `sale` is staged over it
    // (the paid rule applied) and `stock` receives the old lines as negative
    // takes, to be followed by the new lines.
    enum class Rewrite { Staged, ChangedMeanwhile, Failed };
    static Rewrite StageRewrite(Transaction& tx, const CLocalFile& local, const InvoiceRecord& base,
                                InvoiceRecord& sale, std::vector<StockLine>& stock);
    static const char* const kChangedMeanwhile;

    // Why the last Failed result failed: the file and its cause.
    const FileFault& fault() const { return fault_; }

    // The current customer of a sale that comes onto the screen whole (an
    // edited sale, a loaded quote): the customer file's record of the sale's
    // customer number, else of its first address line; no customer when
    // neither is found. Prices and rates stay as the sale holds them.
    static CustomerRecord CustomerOf(const CLocalFile& local, const InvoiceRecord& sale);

private:
    SaleState& state_;
    FileFault fault_;
};
