#include "reports/graphs/CHourGraphDlg.h"

#include "reports/graphs/GraphCanvasWidget.h"

#include <QPainter>

#include <cmath>

namespace {
// The plot in the canvas's pixels.
constexpr int kLeft = 70, kTop = 50, kRight = 600, kBottom = 150;
}  // namespace

CHourGraphDlg::CHourGraphDlg(const CLocalFile& local, QWidget* parent)
    : CGraphDlg(local, parent, QSize(kRight + 20, kBottom + 35), "Sales by Hour", true)
{
    setObjectName("CHourGraphDlg");
    setWindowTitle("Sales by Hour Graph");
}

ScanOutcome CHourGraphDlg::Gather(const Scope& scope, const ScanProgress& progress)
{
    return GatherInto(figures_, progress, scope.firstKey, scope.lastKey);
}

void CHourGraphDlg::Paint(GraphCanvasWidget& canvas, QPainter& p) const
{
    const GraphScale scale = figures_.scale();
    const QRect plot(QPoint(kLeft, kTop), QPoint(kRight, kBottom));
    GraphFrame(canvas, p, plot, scale.empty);
    const QRect frame = plot.adjusted(-10, -10, 10, 10);
    canvas.text(p, QRect(QPoint(5, frame.bottom() - 16), QPoint(kLeft - 15, frame.bottom())),
                Qt::AlignRight | Qt::AlignBottom, QString::asprintf("%.0f", scale.smallest));
    canvas.text(p, QRect(QPoint(5, frame.top()), QPoint(kLeft - 15, frame.top() + 16)), Qt::AlignRight | Qt::AlignTop,
                QString::asprintf("%.0f", scale.largest));
    canvas.text(p, QRect(frame.left(), frame.top() - 20, frame.width(), 20), Qt::AlignCenter, "Total Sales By Hour");
    const double perUnit = (kBottom - kTop) / scale.span();
    const double perHour = (kRight - kLeft) / 24.0;
    for (int h = 0; h < 24; ++h) {
        const int x0 = kLeft + static_cast<int>(h * perHour), x1 = kLeft + static_cast<int>((h + 1) * perHour);
        canvas.text(p, QRect(x0 - 5, frame.bottom() + 2, x1 - x0 + 10, 18), Qt::AlignHCenter | Qt::AlignTop,
                    QString::fromStdString(HourLabel(h)));
        if (scale.empty)
            continue;
        const int top = kBottom - static_cast<int>(std::lround((figures_.buckets()[h] - scale.smallest) * perUnit));
        const QRect bar(QPoint(x0, top), QPoint(x1, kBottom));
        p.fillRect(bar, ToQColor(HourColour(h)));
        SunkenEdge(p, bar);
    }
}
