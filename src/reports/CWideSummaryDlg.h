#pragma once
// "Summary" for reports of many columns: the heading and the tab-separated
// body as copyable text, printed with the columns' widths and alignments the
// report gives.

#include "reports/ReportPrintWidget.h"

#include <QDialog>

class CWideSummaryDlg : public QDialog {
    Q_OBJECT
public:
    CWideSummaryDlg(const ReportText& report, QWidget* parent = nullptr);
    const ReportText& report() const { return report_; }

private:
    ReportText report_;
};
