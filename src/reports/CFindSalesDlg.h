#pragma once
// "Find Sales": the store's sales history. Searches every stored sale for the
// texts, people, type, dates and margin given, lists today's sales, totals
// the listed sales into the sales summary, prints the list, and opens a listed
// sale read-only.

#include "reports/SaleSearch.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class CLocalFile;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class RecordListModel;
class RecordTable;
struct SalesFileHeader;

class CFindSalesDlg : public QDialog {
    Q_OBJECT
public:
    CFindSalesDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    void Search();
    void TodaysSales();
    void SalesTotal();
    void PrintSalesList(int output);  // a PrintOutput
    void Clear();
    void Done();
    void ViewSale();

    // The items of "Help and How To's" with the text each shows.
    static const std::vector<std::pair<const char*, const char*>>& FindSalesHelp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* combo(const char* name, const char* tip, bool sorted);
    void refill(QComboBox* box);
    // Runs the pass and lists what it found.
    void list(SaleSearch search);
    SaleSearchInput input() const;

    const CLocalFile& local_;
    SalesFileHeader& header_;
    QLineEdit* item_ = nullptr;
    QLineEdit* description_ = nullptr;
    QPlainTextEdit* address_ = nullptr;
    QComboBox* cashier_ = nullptr;
    QComboBox* payType_ = nullptr;
    QComboBox* type_ = nullptr;
    QComboBox* category_ = nullptr;
    QComboBox* department_ = nullptr;
    QComboBox* vendor_ = nullptr;
    QCheckBox* useDates_ = nullptr;
    QDateEdit* start_ = nullptr;
    QDateEdit* end_ = nullptr;
    QCheckBox* lowMargin_ = nullptr;
    QLineEdit* marginLimit_ = nullptr;
    QLabel* securityOn_ = nullptr;
    QProgressBar* progress_ = nullptr;
    FoundSales rows_;
    RecordListModel* model_ = nullptr;
    RecordTable* list_ = nullptr;
};
