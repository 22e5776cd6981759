#include "reports/graphs/CWeekHourGraphDlg.h"

#include "reports/graphs/GraphCanvasWidget.h"

#include <QPainter>

namespace {
constexpr int kLeft = 80, kTop = 34, kRight = 599, kBottom = 380;
constexpr int kLegendLeft = 630, kLegendWidth = 160, kLegendStep = 26;
}  // namespace

CWeekHourGraphDlg::CWeekHourGraphDlg(const CLocalFile& local, QWidget* parent)
    : CGraphDlg(local, parent, QSize(kLegendLeft + kLegendWidth + 10, kBottom + 60), "Sales by Hour of Week", true)
{
    setObjectName("CWeekHourGraphDlg");
    setWindowTitle("Sales by Day Graph");
}

ScanOutcome CWeekHourGraphDlg::Gather(const Scope& scope, const ScanProgress& progress)
{
    return GatherInto(figures_, progress, scope.firstKey, scope.lastKey);
}

void CWeekHourGraphDlg::Paint(GraphCanvasWidget& canvas, QPainter& p) const
{
    const GraphScale scale = figures_.scale();
    const int first = figures_.firstHour();
    const int rows = scale.empty ? 1 : figures_.lastHour() - first + 1;
    const int rowHeight = (kBottom - kTop) / rows;
    const QRect plot(QPoint(kLeft, kTop), QPoint(kRight, kTop + rows * rowHeight));
    GraphFrame(canvas, p, plot, scale.empty);
    const QRect frame = plot.adjusted(-10, -10, 10, 10);
    canvas.text(p, QRect(frame.left(), frame.top() - 20, frame.width(), 20), Qt::AlignCenter,
                "Sales Percentile by Hour of Week");
    const double columnWidth = (kRight - kLeft) / 7.0;
    for (int d = 0; d < 7; ++d) {
        const int x0 = kLeft + static_cast<int>(d * columnWidth), x1 = kLeft + static_cast<int>((d + 1) * columnWidth);
        canvas.text(p, QRect(x0, frame.bottom() + 2, x1 - x0, 18), Qt::AlignHCenter | Qt::AlignTop, WeekDayLabel(d));
        for (int r = 0; r < rows && !scale.empty; ++r) {
            const QRect cell(QPoint(x0, kTop + r * rowHeight), QPoint(x1, kTop + (r + 1) * rowHeight));
            const double figure = figures_.cell(d, first + r);
            if (figure == 0) {
                p.fillRect(cell, Qt::white);
            } else {
                p.fillRect(cell, ToQColor(BandColour(WeekHourFigures::Band(figure, scale))));
                canvas.text(p, cell, Qt::AlignCenter, QString::asprintf("%.0f", figure));
            }
            SunkenEdge(p, cell);
        }
    }
    for (int r = 0; r < rows && !scale.empty; ++r)
        canvas.text(p, QRect(0, kTop + r * rowHeight, frame.left() - 4, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                    QString::fromStdString(WeekRowLabel(first + r)));

    // The legend: "No Sale", then the ten bands, in a group of its own.
    const QRect group(kLegendLeft, frame.top(), kLegendWidth, 11 * kLegendStep + 30);
    p.save();
    p.setPen(QColor(160, 160, 160));
    p.setBrush(Qt::NoBrush);
    p.drawRect(group.adjusted(0, 8, 0, 0));
    p.restore();
    const QRect caption(group.left() + 8, group.top(), 60, 16);
    p.fillRect(caption, palette().window());
    canvas.text(p, caption, Qt::AlignCenter, "Legend");
    for (int b = -1; b < 10; ++b) {
        const QRect box(group.left() + 12, group.top() + 24 + (b + 1) * kLegendStep, 22, 18);
        p.fillRect(box, b < 0 ? QColor(Qt::white) : ToQColor(BandColour(b)));
        SunkenEdge(p, box);
        canvas.text(p, QRect(box.right() + 8, box.top(), group.right() - box.right() - 12, box.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, b < 0 ? QString("No Sale") : QString::fromStdString(LegendLabel(b)));
    }
    canvas.text(p, QRect(group.left(), group.bottom() + 8, kLegendWidth, 80),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                "Sales percentile normalized to the highest selling hour of the week.");
}
