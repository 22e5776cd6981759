#pragma once
// "Sales": the summed figures of a set of sales (a period, a range of days or
// the sales listed in Find Sales), with the averages and the margin derived
// from them, printed through the report printer. Also the Reports menu's
// period commands that fill it.

#include "reports/SalesSummary.h"

#include <QDialog>

#include <functional>
#include <string>

class CLocalFile;
class QLabel;
class QLineEdit;
struct SalesFileHeader;

class CSalesSummaryDlg : public QDialog {
    Q_OBJECT
public:
    CSalesSummaryDlg(const std::string& title, const SaleSums& sums, bool showCents, QWidget* parent = nullptr);
    const SummaryTexts& texts() const { return texts_; }

    // The Reports menu: the command of a menu item this window's reports serve
    // (the ten periods, "Sales..." and "Cash Drawer Reconciliation"); empty for
    // any other item.
    static std::function<void()> MenuCommand(QWidget* parent, const CLocalFile& local, SalesFileHeader& header,
                                             const std::string& item);
    // One pass summing the sales `sums` selects, under the progress window,
    // then the summary. Security is asked first; nothing shows when it is on,
    // the pass is cancelled or the sales cannot be read.
    static void RunReport(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                          const std::string& title, PeriodSums sums);
    static void RunPeriod(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                          const PeriodCommand& command);
    static void RunRange(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header);
    // The grouped reports' and the graphs' menu items, each family in a file of
    // its own; empty for an item the family does not serve.
    static std::function<void()> GroupedReportCommand(QWidget* parent, const CLocalFile& local,
                                                      SalesFileHeader& header, const std::string& item);
    static std::function<void()> GraphCommand(QWidget* parent, const CLocalFile& local, SalesFileHeader& header,
                                              const std::string& item);

private:
    QLineEdit* box(const char* caption, const char* name, const std::string& text, class QGridLayout* grid, int row,
                   int column);

    std::string title_;
    SummaryTexts texts_;
};
