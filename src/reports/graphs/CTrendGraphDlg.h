#pragma once
// "12 Month Trend Graph": the daily sales of the last 365 days and, for each
// day with a cost, its margin over that cost, as two panels of thin bars.

#include "reports/graphs/CGraphDlg.h"
#include "reports/graphs/SaleFigures.h"

class CTrendGraphDlg : public CGraphDlg {
    Q_OBJECT
public:
    CTrendGraphDlg(const CLocalFile& local, QWidget* parent = nullptr);

protected:
    ScanOutcome Gather(const Scope& scope, const ScanProgress& progress) override;
    void Paint(GraphCanvasWidget& canvas, QPainter& p) const override;

private:
    TrendFigures figures_{CalendarTime{2000, 1, 1}};
};
