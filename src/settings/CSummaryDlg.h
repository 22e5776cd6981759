#pragma once
// The "Summary" window: a heading and a tab-separated body shown as plain,
// selectable text that can be copied into a spreadsheet or word processor,
// previewed, printed or saved as PDF.

#include "reports/ChartData.h"

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

class CSummaryDlg : public QDialog {
    Q_OBJECT
public:
    CSummaryDlg(const std::string& heading, const std::string& body, QWidget* parent = nullptr);

    const std::string& heading() const { return heading_; }
    const std::string& body() const { return body_; }

    // A percentage report's slices: "Chart" is offered only when there are some.
    void setChart(const ChartData& chart);
    const ChartData& chart() const { return chart_data_; }

private:
    std::string heading_;
    std::string body_;
    QPlainTextEdit* text_ = nullptr;
    ChartData chart_data_;
    QPushButton* chart_ = nullptr;  // greyed while there is nothing to chart
};
