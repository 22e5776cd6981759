#pragma once
// "Monthly Graph": the sales of the last 13 months and their margin over cost,
// as two panels of bars, the current month on the right.

#include "reports/graphs/SaleFigures.h"

#include <QDialog>

class CLocalFile;
class GraphCanvasWidget;

class CMonthGraphDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMonthGraphDlg(const MonthFigures& figures, QWidget* parent = nullptr);
    // The Reports menu's command: security first, then one pass up to today,
    // then the window. Nothing shows when the pass is cancelled; sales that
    // cannot be read draw as none.
    static void Open(QWidget* parent, const CLocalFile& local);

private:
    void paint(GraphCanvasWidget& canvas, class QPainter& p) const;

    MonthFigures figures_;
};
