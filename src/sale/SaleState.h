#pragma once
// The state of the sale screen without its window: the current sale, the held
// sale, the current customer, the number of stored sales and the record shown,
// and every change the cashier can make to them. The window shows what this
// holds and forwards its edits; everything here is testable without Qt.

#include "sale/StoreStep.h"
#include "storage/files/ProductFile.h"
#include "storage/records/CustomerRecord.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/OleDate.h"

#include <array>
#include <functional>
#include <string>

class CLocalFile;
struct SalesFileHeader;

// Empties line slot i of a sale: no item, no amounts, the cleared line mode,
// and the tax status a fresh product has, for a line typed by hand.
void ClearSaleLine(InvoiceRecord& sale, std::size_t i);

class SaleState {
public:
    static constexpr int kRows = 12;         // grid rows on the screen
    static constexpr int kMaxScroll = 8;     // 20 line slots - 12 rows
    static constexpr int kLines = static_cast<int>(InvoiceRecord::kLines);

    using ClockFn = std::function<CalendarTime()>;
    SaleState(CLocalFile& local, SalesFileHeader& header, ClockFn clock);

    InvoiceRecord current;
    InvoiceRecord held;
    CustomerRecord customer;       // empty when the sale has no customer
    int count = 0;                 // N: stored sales, also the new sale's number
    bool newSale = true;           // false while a stored sale is being edited
    InvoiceRecord editBase;        // that sale as stored when its edit began (SaleEditing)
    int scrollOffset = 0;
    std::array<float, InvoiceRecord::kLines> lineStock{};
    std::string focusText;         // item-number box text when it got the focus

    // The sale's tax-table name; the customer's taxZone doubles as it.
    const std::string& taxTableName() const { return customer.taxZone; }

    // Opening of the screen: the product file made sure of, N read, the new
    // sale cleared for the logged-in cashier and held.
    void Open();
    // Re-reads N; true when read. `runner` runs the reading (StoreStep.h).
    bool RefreshCount(const StoreRunner& runner = {});
    bool showingNew() const;

    // Prepares a record for a new sale; the cashier and salesperson stay.
    void ResetSale(InvoiceRecord& sale);
    // "Clear This Sale": only the new sale; nothing is written.
    void ClearThisSale();

    void Recalculate();
    void LookupRates();

    // Number boxes of the grid and the totals. Nothing is stored on a stored sale.
    enum class LineField { Qty, Markdown, Price };
    void SetLineNumber(int row, LineField field, double value);
    void SetDiscount(double value);
    void SetHandling(double value);
    // "Paid": cashPaid and change only, no recalculation.
    void SetPaid(double value);
    // An address box of the customer group, typed by hand (new sale only).
    void SetAddressLine(std::size_t line, const std::string& text);
    // Stores every row's description, cut to 39 characters.
    void SetDescription(int row, const std::string& text);

    // What an item code did to the sale: the line slot it filled or added one
    // to (-1 when none), whether the code matched no product (nothing is then
    // charged), and whether every line slot was in use.
    struct ItemResult {
        int slot = -1;
        bool unknown = false;
        bool full = false;
    };
    // An item-number box lost the focus with text t. The slot is the line
    // whose "Qty" box should get the focus.
    ItemResult ItemNumberExit(int row, const std::string& text, const QuickAdd& quickAdd);
    // A scanned code: one more of a line of the same item, else the first
    // empty line slot. shownFilled tells which grid rows show an item code
    // not yet stored, so a half-typed row is never taken for empty.
    using ShownRows = std::array<bool, kRows>;
    ItemResult ScanCode(const std::string& code, const ShownRows& shownFilled, const QuickAdd& quickAdd);
    // "Get Product F4" with a product the finder returned. Returns the slot
    // whose "Qty" gets the focus, or -1 when nothing was done.
    int AddPickedProduct(const ProductRecord& picked);

    // Customer name box lost the focus with this name.
    enum class CustomerFound { Cleared, Found, NotFound };
    CustomerFound LookupCustomer(const std::string& name);
    // Takes the previous customer off the sale: level 0, the default tax zone,
    // the address lines empty but the name.
    void ForgetCustomer();
    // Copies a customer into the sale (and, on the new sale, its discount).
    void ShowCustomer(const CustomerRecord& found);
    // Rates for the customer's tax zone, prices at its level, totals.
    void RedoCustomerPricing();

    // Salesperson and payment-type choices: the new sale, else the held one.
    void ChooseSalesperson(const std::string& name);
    void ChoosePayType(const std::string& name);

    // Where the record moves read a stored sale and StartNextSale re-reads N
    // (StoreStep.h); without one they read in place.
    void setReadRunner(StoreRunner runner) { readRunner_ = std::move(runner); }
    const StoreRunner& readRunner() const { return readRunner_; }

    // Record moves. Each re-reads N first, and afterwards saves currentRecord
    // and recomputes the shown sale.
    void GoPrev();
    void GoNext();
    void GoCurrent();
    // False (nothing moves) when n is below 0 or above N.
    bool GoToRecord(long long n);
    // True while the shown sale must not be edited.
    bool readOnly() const { return readOnly_; }
    // True while a stored sale is on the screen to be corrected: finishing
    // writes it back over its own number (SaleEditing has the rules).
    bool editingStored() const { return !newSale; }

    struct MenuStates {
        bool voidSale = false;
        bool editSale = false;
        bool clearSale = true;
        bool payThisSale = false;
    };
    MenuStates menuStates() const;

    // The first line slot that is empty both in the sale and on the screen
    // (shownFilled as for ScanCode); -1 when all 20 are in use.
    int FirstEmptySlot(const ShownRows& shownFilled) const;
    // Scrolls as little as needed to bring a line slot into the grid; returns its row.
    int ScrollToSlot(int slot);
    void Scroll(int offset);
    // Line slot shown in a grid row.
    int slotOf(int row) const { return scrollOffset + row; }

    CLocalFile& local() { return local_; }
    SalesFileHeader& header() { return header_; }
    // Writes the record shown to LocalFileNames.plf if a move changed it.
    void SavePosition();

private:
    StoreRunner readRunner_;
    void FillLine(int slot, const ProductRecord& product);
    ItemResult RingUp(int slot, const std::string& code, const QuickAdd& quickAdd);
    bool SlotEmpty(int slot, const ShownRows& shownFilled) const;
    void HoldIfNew();
    // HoldIfNew with N just read; `wasNew`: the new sale was on the screen before.
    void Hold(bool wasNew);
    // Sale n onto the screen, read through `open` when given (an open sales file).
    bool ReadStored(int n);
    // Shows the stored sale n as read (or an empty one numbered n when it was not).
    bool TakeStored(int n, bool read, const InvoiceRecord& stored);
    void AfterMove();

    CLocalFile& local_;
    SalesFileHeader& header_;
    ClockFn clock_;
    bool positionUnsaved_ = false;
    bool readOnly_ = false;
};
