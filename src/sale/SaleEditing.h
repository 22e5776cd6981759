#pragma once
// Voiding, editing and clearing the sale on the screen, without a window: the
// window asks its questions and shows its messages, this class changes the
// files and the sale state.

class SaleState;

class SaleEditing {
public:
    enum class Result {
        Done,
        NewSaleShown,  // the command needs a stored sale on the screen
        Refused,       // a stored sale is being edited and would be lost
        Failed,        // a file could not be changed; nothing changed
    };

    explicit SaleEditing(SaleState& state) : state_(state) {}

    // "Void This Sale": the shown stored sale is voided in its file (its goods
    // back in stock) and shown again as stored now.
    Result Void();
    // "Edit This Sale": the shown stored sale's goods go back to stock and its
    // stored copy comes onto the screen as the sale being edited, which
    // finishing writes back over its own record number.
    Result BeginEdit();
    // "Clear This Sale": an empty new sale. Refused while a stored sale is
    // being edited, since its record sits emptied until the edit is finished.
    Result Clear();

private:
    SaleState& state_;
};
