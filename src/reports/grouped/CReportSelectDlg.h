#pragma once
// The windows that ask a grouped report for its days and its one key: "Report
// By Category", "Report By Vendor", "Customer Report", "Cashier Report" and
// "Salesperson Report". The days are chosen as in "Sales Report Range"; the
// key control has the focus when the window opens.

#include "reports/CSalesRangeDlg.h"
#include "reports/grouped/GroupedReports.h"

#include <string>

class QComboBox;
class QLineEdit;

class CReportSelectDlg : public CSalesRangeDlg {
    Q_OBJECT
public:
    CReportSelectDlg(const CLocalFile& local, GroupedAsk ask, QWidget* parent = nullptr);
    // The chosen name or the search text; empty when nothing was chosen.
    std::string key() const;

private:
    QComboBox* choice_ = nullptr;
    QLineEdit* search_ = nullptr;
};
