#pragma once
// The touch-screen sale: coloured category and product buttons, a keypad and
// the sale as a receipt-like list, for a touch monitor or a mouse. It works on
// the sale screen's own sale; TouchSale holds what it does.

#include "sale/TouchSale.h"

#include <QDialog>

#include <array>
#include <functional>

class CLocalFile;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class SaleState;
struct SalesFileHeader;

class CTouchSaleDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids of the buttons, list and box that have one.
    static constexpr int kFirstCategory = 1177;
    static constexpr int kFirstProduct = 1159;
    static constexpr int kCategoryPrev = 1253;
    static constexpr int kCategoryNext = 1260;
    static constexpr int kList = 1429;
    static constexpr int kItemNumber = 1723;

    CTouchSaleDlg(CLocalFile& local, SalesFileHeader& header, SaleState& state, QWidget* parent = nullptr);

    // Opens the window modally on the sale screen's sale; returns on "Close".
    static void RunTouchSale(CLocalFile& local, SalesFileHeader& header, SaleState& state, QWidget* parent);

    TouchSale& touch() { return touch_; }
    QTreeWidget* list() const { return list_; }
    // The button of a control id or caption ("Finish Sale", "7").
    QPushButton* button(const QString& captionOrName) const;
    QGroupBox* keypad() const { return keypad_; }

    // Recomputes the totals and rebuilds the list, the captions and the buttons.
    void ShowTouchSale();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override {}

private:
    void BuildControls();
    // A button whose command runs through Run (none when empty).
    QPushButton* MakeButton(const QString& caption, const QString& name, std::function<void()> command);
    void Run(const std::function<void()>& command);
    void PaintButtons();
    void ShowAdded(TouchSale::Added added);

    void OnCategory(int k);
    void OnProduct(int k);
    void OnItemNumberExit();
    void OnListClicked(QTreeWidgetItem* clicked);
    void OnCashier();
    void OnFinish();
    void OnPrintCopy();
    void OnClearOrder();
    void Move(void (SaleState::*move)());

    CLocalFile& local_;
    SalesFileHeader& header_;
    SaleState& state_;
    TouchSale touch_;
    int quickAddsShown_ = 0;
    bool inItemExit_ = false;
    std::array<QPushButton*, TouchSale::kCategoryButtons> categories_{};
    std::array<QPushButton*, TouchSale::kProductButtons> products_{};
    std::vector<QPushButton*> saleControls_;  // disabled while a stored sale is shown
    QTreeWidget* list_ = nullptr;
    QGroupBox* keypad_ = nullptr;
    QLineEdit* itemNumber_ = nullptr;
    QPushButton* payType_ = nullptr;
    QPushButton* cashier_ = nullptr;
};
