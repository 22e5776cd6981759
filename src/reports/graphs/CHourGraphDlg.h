#pragma once
// "Sales by Hour Graph": the sales of each hour of the day over a range of
// days, as 24 bars coloured from night to evening.

#include "reports/graphs/SaleFigures.h"

#include <QDialog>

class CLocalFile;
class GraphCanvasWidget;
class GraphRangeWidget;

class CHourGraphDlg : public QDialog {
    Q_OBJECT
public:
    CHourGraphDlg(const CLocalFile& local, QWidget* parent = nullptr);
    // The Reports menu's command: security first, then the figures over the
    // days of the first and last sale, then the window. Nothing shows when the
    // pass is cancelled.
    static void Open(QWidget* parent, const CLocalFile& local);
    // One pass for the range shown; false when it was cancelled (the figures
    // are then those of before). Sales that cannot be read draw as none.
    bool Recompute();
    const HourFigures& figures() const { return figures_; }

private:
    void paint(GraphCanvasWidget& canvas, class QPainter& p) const;

    const CLocalFile& local_;
    GraphRangeWidget* range_ = nullptr;
    GraphCanvasWidget* canvas_ = nullptr;
    HourFigures figures_{0, 0};
};
