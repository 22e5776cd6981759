#pragma once
// "12 Month Trend Graph": the daily sales of the last 365 days and, for each
// day with a cost, its margin over that cost, as two panels of thin bars.

#include "reports/graphs/SaleFigures.h"

#include <QDialog>

class CLocalFile;
class GraphCanvasWidget;

class CTrendGraphDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTrendGraphDlg(const TrendFigures& figures, QWidget* parent = nullptr);
    // As the monthly graph: security, one pass up to today, the window.
    static void Open(QWidget* parent, const CLocalFile& local);

private:
    void paint(GraphCanvasWidget& canvas, class QPainter& p) const;

    TrendFigures figures_;
};
