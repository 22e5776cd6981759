#include "reports/graphs/CTrendGraphDlg.h"

#include "reports/graphs/GraphCanvasWidget.h"

#include <QPainter>

namespace {
constexpr int kLeft = 70, kRight = 746;
constexpr double kSlot = (kRight - kLeft + 1) / double(TrendFigures::kSlots);
}  // namespace

CTrendGraphDlg::CTrendGraphDlg(const CLocalFile& local, QWidget* parent)
    : CGraphDlg(local, parent, QSize(kRight + 24, 340), "12 Month Trend", false)
{
    setObjectName("CTrendGraphDlg");
    setWindowTitle("12 Month Trend Graph");
}

ScanOutcome CTrendGraphDlg::Gather(const Scope& scope, const ScanProgress& progress)
{
    return GatherInto(figures_, progress, scope.now);
}

void CTrendGraphDlg::Paint(GraphCanvasWidget& canvas, QPainter& p) const
{
    BarPanel margin{QRect(QPoint(kLeft, 50), QPoint(kRight, 150)), {}, {}, kSlot, QColor(0, 128, 0), QColor(192, 0, 0),
                    "%d%%", "Margin", {}};
    BarPanel sales{QRect(QPoint(kLeft, 200), QPoint(kRight, 300)), {}, {}, kSlot, QColor(0, 64, 192),
                   QColor(192, 0, 0), "%d", "Daily Sales", "Height"};
    for (int i = 0; i < TrendFigures::kDays; ++i) {
        margin.values.push_back(figures_.marginPercent(i));
        margin.present.push_back(figures_.hasMargin(i));
        sales.values.push_back(figures_.sales(i));
        const CalendarTime day = figures_.date(i);
        if (day.day == 1) {
            const int x = kLeft + static_cast<int>(i * kSlot);
            canvas.text(p, QRect(x - 28, 312, 56, 18), Qt::AlignHCenter | Qt::AlignTop,
                        QString::asprintf("%2u / %02u", static_cast<unsigned>(day.month),
                                          static_cast<unsigned>(day.year % 100)));
        }
    }
    DrawBarPanel(canvas, p, margin);
    DrawBarPanel(canvas, p, sales);
}
