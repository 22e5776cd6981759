#pragma once
// The touch-screen sale without its window: category and product buttons, the
// keypad, the sale list and the commands on the selected line, all acting on
// the sale screen's own SaleState. Finishing goes through SaleFinish's one
// storage transaction, as F9 does.

#include "sale/StoreStep.h"
#include "storage/files/ProductFile.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/OleDate.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class FinishPrompt;
class SaleState;
struct ProductRecord;

class TouchSale {
public:
    static constexpr int kCategoryButtons = 16;
    static constexpr int kProductButtons = 18;
    static constexpr int kCategoryStep = 3;
    static constexpr std::size_t kMaxEntryDigits = 12;

    using ClockFn = std::function<CalendarTime()>;
    TouchSale(SaleState& state, ClockFn clock);

    // The buttons as the window opens: categories from the first, the first
    // category current, its first page of products, the last line selected.
    void Open();

    // Categories. Slots without a category are empty.
    const std::array<std::string, kCategoryButtons>& categorySlots() const { return categorySlots_; }
    void NextCategories();
    void PrevCategories();
    // The same category again shows its next page of products (after the last
    // page, the first); another category starts at its first page. New sale only.
    void PressCategory(int k);
    const std::string& currentCategory() const { return currentCategory_; }
    int page() const { return page_; }
    // The shown button of the current category, or -1 when it is scrolled away.
    int currentCategoryButton() const;

    struct ProductSlot {
        std::string caption;
        std::string itemNumber;
    };
    const std::array<ProductSlot, kProductButtons>& productSlots() const { return productSlots_; }

    // What adding a product did.
    enum class Added { Line, OneMore, Full, Rent, NotFound, NotNewSale };
    Added PressProduct(int k);
    Added AddProductToSale(const ProductRecord& product);
    // What the cashier is told when a rental product was pressed.
    static const char* RentRefusal();
    // The item-number box left with text: the product by item number or bar
    // code, Quick Add offered for an unknown code.
    Added EnterItemNumber(const std::string& code, const QuickAdd& quickAdd);

    // The sale list: one row per line in use, then the totals. `slot` is the
    // line slot of a line row, -1 for a total row.
    struct Row {
        std::string number, qty, desc, price;
        int slot = -1;
    };
    std::vector<Row> Rows();
    int selected() const { return selected_; }
    // Another sale on the screen (a move, a cleared order): the keypad entry
    // is dropped and its last line selected.
    void AfterSaleChanged();
    void Select(int slot);
    void Up();
    void Down();
    void Plus();
    void Minus();
    void ClearItem();

    // Keypad: up to 12 digits, the last two the cents.
    void Digit(int d);
    void ClearEntry() { entry_.clear(); }
    const std::string& entry() const { return entry_; }
    std::string EntryText() const;
    double EntryAmount() const;
    void PaidAmount();
    void PriceChange();
    void QtyChange();

    // The next payment type of the store's list, and the next cashier of the
    // cashier file (the caller runs the log-in instead while it is required).
    void NextPayType();
    void NextCashier();
    std::string payTypeCaption() const;
    std::string cashierCaption() const;

    // Finish Sale: the refusals, then the sale is stored. Stored: the caller
    // prints and calls StartNextSale. Refused and Failed change nothing.
    // `runner` runs the storing's file step (SaleFinish::setStoreRunner).
    enum class Finished { Stored, Refused, Failed };
    Finished Finish(FinishPrompt& prompt, const StoreRunner& runner = {});
    // The sale as stored by the last Finish.
    const InvoiceRecord& stored() const { return stored_; }
    // After a stored sale: the next empty sale, keypad and selection cleared.
    void StartNextSale();

    // The message for a refused required entry, empty when all are there.
    std::string MissingEntries() const;

private:
    bool editable() const;
    void FillCategories();
    void FillProducts();
    bool ScanProducts();
    bool LineInUse(int slot) const;
    void SelectLast();
    void SetSelectedNumber(bool price);

    SaleState& state_;
    ClockFn clock_;
    int categoryOffset_ = 0;
    std::array<std::string, kCategoryButtons> categorySlots_;
    std::string currentCategory_;
    int page_ = 0;
    std::array<ProductSlot, kProductButtons> productSlots_;
    int selected_ = 0;
    std::string entry_;
    InvoiceRecord stored_;
};
