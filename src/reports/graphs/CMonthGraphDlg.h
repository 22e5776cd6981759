#pragma once
// "Monthly Graph": the sales of the last 13 months and their margin over cost,
// as two panels of bars, the current month on the right.

#include "reports/graphs/CGraphDlg.h"
#include "reports/graphs/SaleFigures.h"

class CMonthGraphDlg : public CGraphDlg {
    Q_OBJECT
public:
    CMonthGraphDlg(const CLocalFile& local, QWidget* parent = nullptr);

protected:
    ScanOutcome Gather(const Scope& scope, const ScanProgress& progress) override;
    void Paint(GraphCanvasWidget& canvas, QPainter& p) const override;

private:
    MonthFigures figures_{CalendarTime{}};
};
