#pragma once
// The purchase order being written, without a window: its lines and amounts,
// and saving, opening and receiving it. The order file is compared with the
// bytes this register last read or wrote before anything is written over it,
// so an order another register saved or received meanwhile is never written
// back from a stale copy (which could add its goods to stock twice).

#include "storage/records/PurchaseOrderRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CLocalFile;

// How the desk reaches the user: `say` shows a message (OK only), `ask` a
// Yes/No question (true for Yes).
struct DeskPrompts {
    std::function<void(const std::string&)> say;
    std::function<bool(const std::string&)> ask;
};

class PurchaseOrderDesk {
public:
    enum class Stock { Add, Sub };

    // An empty order has nothing to lose: it counts as saved.
    PurchaseOrderDesk() { order.saved = 1; }

    PurchaseOrderRecord order;

    bool unsaved() const { return order.saved == 0; }
    void markUnsaved() { order.saved = 0; }
    int lineCount() const { return order.lineCount; }

    // A line for a product of the vendor list (vendor number and description
    // cut to their fields), quantity the case quantity, shown at the end of the
    // window. False, adding nothing, when the order holds 300 lines.
    bool AddProduct(const std::string& vendorNumber, const std::string& description, float cost, float caseQty);
    // Removes line `index`: the last line moves into its slot.
    bool ClearLine(int index);
    // amount = qty * cost per line; subtotal, total = subtotal - discount + shipping.
    void Recompute();
    void SetFirstVisible(int line);
    // An empty order (counted as saved), not stored anywhere.
    void New();

    // The file an order number is saved in: "PO-<number>.PON" in the data folder.
    static std::string PathFor(const CLocalFile& local, const std::string& number);
    // Saves the order. Refuses an empty number or one that cannot name a file,
    // asks before replacing an order file that is not the one open, and refuses
    // a file changed at another register since it was read here. False, with
    // the order still unsaved, when nothing was written.
    bool Save(const CLocalFile& local, const DeskPrompts& prompts);
    // Reads an order file. A damaged one is refused with its message and the
    // order on the desk stays as it was. False when nothing was read.
    bool Open(const CLocalFile& local, const std::string& path, const DeskPrompts& prompts);
    // "Add to Inventory" / "Sub from Inventory": saves first when unsaved, then
    // changes the stock of the matching products and stores the order with its
    // received quantities and added flag in one transaction: both or neither.
    bool Receive(const CLocalFile& local, Stock direction, const DeskPrompts& prompts);

private:
    bool openedHere(const std::string& path) const { return path == storedPath_; }

    std::string storedPath_;                // the order file as last read or written here
    std::vector<std::uint8_t> storedBytes_;
};
