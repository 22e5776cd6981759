#pragma once
// "Cash Drawer Reconciliation": the coins, bills and other media counted,
// against what the day's sales and payments of every register (or of one
// cashier) say the drawer should hold, per payment type; live as the counts
// are typed, and printed.

#include "reports/DrawerCount.h"

#include <QDialog>

#include <array>
#include <memory>

class CLocalFile;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTreeWidget;
struct SalesFileHeader;

class CDrawerReconcileDlg : public QDialog {
    Q_OBJECT
public:
    // Asks the security gate, then opens the window.
    static void Open(QWidget* parent, const CLocalFile& local, SalesFileHeader& header);

    CDrawerReconcileDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // Reads the chosen day's sales and payments again (under the progress window).
    void Calculate();
    // Recomputes the counted side and the error from the boxes.
    void Recount();

private:
    DrawerCounts counts() const;
    CalendarTime chosenDay() const;
    QLineEdit* countBox(const char* caption, const char* name, class QGridLayout* grid, int row);
    QLabel* amountLabel(const char* name);

    const CLocalFile& local_;
    SalesFileHeader& header_;
    std::unique_ptr<DrawerTally> tally_;
    QDateEdit* day_ = nullptr;
    QComboBox* cashier_ = nullptr;
    std::array<QLineEdit*, 12> counts_{};
    std::array<QLabel*, 12> values_{};
    QLabel* coins_ = nullptr;
    QLabel* bills_ = nullptr;
    QLabel* calcOther_ = nullptr;
    QLabel* calcCash_ = nullptr;
    QLabel* calcTotal_ = nullptr;
    QLineEdit* drawerStart_ = nullptr;
    QLineEdit* actualOther_ = nullptr;
    QLabel* actualCash_ = nullptr;
    QLabel* actualTotal_ = nullptr;
    QLabel* error_ = nullptr;
    QTreeWidget* types_ = nullptr;
};
