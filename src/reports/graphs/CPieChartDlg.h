#pragma once
// "Chart": a percentage report's text on the left and its groups as a pie of
// hatched slices on the right, each slice labelled with its share.

#include "reports/ChartData.h"
#include "reports/graphs/PieLayout.h"

#include <QDialog>

#include <string>
#include <vector>

class GraphCanvasWidget;

class CPieChartDlg : public QDialog {
    Q_OBJECT
public:
    CPieChartDlg(const ChartData& chart, const std::string& reportText, QWidget* parent = nullptr);

private:
    void paint(GraphCanvasWidget& canvas, class QPainter& p) const;

    ChartData chart_;
    std::vector<PieSlice> slices_;
};
