#pragma once
// "Sales by Day Graph": the sales of each hour of each day of the week over a
// range of days, as a grid of cells shaded by their share of the best hour.

#include "reports/graphs/CGraphDlg.h"
#include "reports/graphs/SaleFigures.h"

class CWeekHourGraphDlg : public CGraphDlg {
    Q_OBJECT
public:
    CWeekHourGraphDlg(const CLocalFile& local, QWidget* parent = nullptr);

protected:
    ScanOutcome Gather(const Scope& scope, const ScanProgress& progress) override;
    void Paint(GraphCanvasWidget& canvas, QPainter& p) const override;

private:
    WeekHourFigures figures_{0, 0};
};
