#pragma once
// "Sales by Hour Graph": the sales of each hour of the day over a range of
// days, as 24 bars coloured from night to evening.

#include "reports/graphs/CGraphDlg.h"
#include "reports/graphs/SaleFigures.h"

class CHourGraphDlg : public CGraphDlg {
    Q_OBJECT
public:
    CHourGraphDlg(const CLocalFile& local, QWidget* parent = nullptr);

protected:
    ScanOutcome Gather(const Scope& scope, const ScanProgress& progress) override;
    void Paint(GraphCanvasWidget& canvas, QPainter& p) const override;

private:
    HourFigures figures_{0, 0};
};
