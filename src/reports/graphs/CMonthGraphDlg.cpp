#include "reports/graphs/CMonthGraphDlg.h"

#include "reports/graphs/GraphCanvasWidget.h"

#include <QPainter>

namespace {
constexpr int kLeft = 70, kRight = 746;
constexpr double kSlot = (kRight - kLeft) / double(MonthFigures::kMonths);
}  // namespace

CMonthGraphDlg::CMonthGraphDlg(const CLocalFile& local, QWidget* parent)
    : CGraphDlg(local, parent, QSize(kRight + 24, 360), "Monthly Sales", false)
{
    setObjectName("CMonthGraphDlg");
    setWindowTitle("Monthly Graph");
}

ScanOutcome CMonthGraphDlg::Gather(const Scope& scope, const ScanProgress& progress)
{
    return GatherInto(figures_, progress, scope.now);
}

void CMonthGraphDlg::Paint(GraphCanvasWidget& canvas, QPainter& p) const
{
    canvas.text(p, QRect(kLeft, 4, kRight - kLeft, 20), Qt::AlignCenter, "Monthly Sales");
    BarPanel margin{QRect(QPoint(kLeft, 60), QPoint(kRight, 150)), {}, {}, kSlot, QColor(0, 128, 0), QColor(192, 0, 0),
                    "%d%%", "Margin", {}};
    BarPanel sales{QRect(QPoint(kLeft, 200), QPoint(kRight, 290)), {}, {}, kSlot, QColor(0, 64, 192),
                   QColor(192, 0, 0), "%d", "Height", {}};
    for (int i = 0; i < MonthFigures::kMonths; ++i) {
        margin.values.push_back(figures_.marginPercent(i));
        sales.values.push_back(figures_.sales(i));
        const int x = kLeft + static_cast<int>(i * kSlot);
        canvas.text(p, QRect(x, 302, static_cast<int>(kSlot), 36), Qt::AlignHCenter | Qt::AlignTop,
                    QString::fromStdString(figures_.label(i)));
    }
    DrawBarPanel(canvas, p, margin);
    DrawBarPanel(canvas, p, sales);
}
