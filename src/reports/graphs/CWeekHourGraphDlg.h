#pragma once
// "Sales by Day Graph": the sales of each hour of each day of the week over a
// range of days, as a grid of cells shaded by their share of the best hour.

#include "reports/graphs/SaleFigures.h"

#include <QDialog>

class CLocalFile;
class GraphCanvasWidget;
class GraphRangeWidget;

class CWeekHourGraphDlg : public QDialog {
    Q_OBJECT
public:
    CWeekHourGraphDlg(const CLocalFile& local, QWidget* parent = nullptr);
    // As the hour-of-day graph: security, the figures, then the window.
    static void Open(QWidget* parent, const CLocalFile& local);
    bool Recompute();
    const WeekHourFigures& figures() const { return figures_; }

private:
    void paint(GraphCanvasWidget& canvas, class QPainter& p) const;

    const CLocalFile& local_;
    GraphRangeWidget* range_ = nullptr;
    GraphCanvasWidget* canvas_ = nullptr;
    WeekHourFigures figures_{0, 0};
};
