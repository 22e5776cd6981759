#pragma once
// The "New Purchase Order" window: the chosen vendor's products above, the
// order's lines in a ten-line window below with the totals, and the Order
// Estimator. What it does to the order and the files is PurchaseOrderDesk's.

#include "purchasing/PurchaseOrderDesk.h"
#include "storage/records/ProductRecord.h"

#include <QDialog>

#include <array>
#include <vector>

class CLocalFile;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QScrollBar;
class QTreeWidget;

class CPurchaseOrderDlg : public QDialog {
    Q_OBJECT
public:
    // The order lives as long as the program: closing and opening the window
    // again shows it as it was left.
    static PurchaseOrderDesk& ProgramOrder();

    CPurchaseOrderDlg(const CLocalFile& local, PurchaseOrderDesk& desk, QWidget* parent = nullptr);
    CPurchaseOrderDlg(const CLocalFile& local, QWidget* parent = nullptr)
        : CPurchaseOrderDlg(local, ProgramOrder(), parent)
    {
    }

    void reject() override;  // "Close", Escape: asks about an unsaved order

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Row {
        QLabel* number;
        QLineEdit* vendorNumber;
        QLineEdit* description;
        QLineEdit* qty;
        QLineEdit* backOrder;
        QLineEdit* received;
        QLineEdit* cost;
        QLineEdit* amount;
    };

    void BuildMenu();
    QWidget* BuildLines();
    QWidget* BuildFoot();
    DeskPrompts Prompts();

    void OnVendorChosen();
    void OnProductChosen(int row);
    void OnScroll(int first);
    void OnNew();
    void OnOpen();
    // Offers an order with unsaved edits for saving before it leaves the
    // screen; false when the user wanted it saved and it was not.
    bool OfferToSave();
    void OnSave();
    void OnPrint();
    void OnStock(PurchaseOrderDesk::Stock direction);
    void OnClearItem();
    void OnEstimate();

    // Stores every box into the order (marking it unsaved when anything
    // changed), recomputes and redisplays.
    void StoreFields();
    void Display();

    const CLocalFile& local_;
    PurchaseOrderDesk& desk_;
    QTreeWidget* products_ = nullptr;
    std::vector<ProductRecord> listed_;  // the vendor's products, as the list shows them
    std::array<Row, PurchaseOrderRecord::kVisibleLines> rows_{};
    QScrollBar* scroll_ = nullptr;
    QComboBox* vendor_ = nullptr;
    QLineEdit* number_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QLineEdit* days_ = nullptr;
    QLabel* status_ = nullptr;
    QLineEdit* subtotal_ = nullptr;
    QLineEdit* discount_ = nullptr;
    QLineEdit* shipping_ = nullptr;
    QLineEdit* total_ = nullptr;
    bool displaying_ = false;
};
