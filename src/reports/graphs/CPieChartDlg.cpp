#include "reports/graphs/CPieChartDlg.h"

#include "platform/RecordText.h"
#include "reports/graphs/GraphCanvasWidget.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace {
constexpr int kWidth = 400, kHeight = 380;
constexpr int kRadius = 90;
const QPoint kCentre(kWidth / 2, 30 + (kHeight - 30) / 2);

Qt::BrushStyle styleOf(PieHatch hatch)
{
    switch (hatch) {
    case PieHatch::BackwardDiagonal: return Qt::BDiagPattern;
    case PieHatch::Cross: return Qt::CrossPattern;
    case PieHatch::DiagonalCross: return Qt::DiagCrossPattern;
    case PieHatch::ForwardDiagonal: return Qt::FDiagPattern;
    case PieHatch::Horizontal: return Qt::HorPattern;
    case PieHatch::Vertical: return Qt::VerPattern;
    }
    return Qt::SolidPattern;
}
}  // namespace

CPieChartDlg::CPieChartDlg(const ChartData& chart, const std::string& reportText, QWidget* parent)
    : QDialog(parent), chart_(chart), slices_(LayoutPie(chart))
{
    setObjectName("CPieChartDlg");
    setWindowTitle("Chart");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* text = new QPlainTextEdit(this);
    text->setObjectName("report_text");
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // One tab stop of 11 dialog units (a dialog unit is a quarter of the
    // average character width).
    text->setTabStopDistance(QFontMetrics(text->font()).averageCharWidth() * 11 / 4.0);
    text->setPlainText(RecordText::toQt(reportText).replace("\r\n", "\n"));
    row->addWidget(text, 1);
    auto* canvas = new GraphCanvasWidget(this, QSize(kWidth, kHeight),
                                         [this](GraphCanvasWidget& c, QPainter& p) { paint(c, p); });
    row->addWidget(canvas);
    layout->addLayout(row);
    layout->addLayout(GraphButtonRow(this, canvas, chart.title));
    resize(820, kHeight + 80);
}

void CPieChartDlg::paint(GraphCanvasWidget& canvas, QPainter& p) const
{
    canvas.text(p, QRect(0, 4, kWidth, 22), Qt::AlignCenter, RecordText::toQt(chart_.title.substr(0, 29)));
    const QRect disc(kCentre.x() - kRadius, kCentre.y() - kRadius, 2 * kRadius, 2 * kRadius);
    if (slices_.empty()) {
        p.drawEllipse(disc);
        canvas.text(p, disc, Qt::AlignCenter, "No sales");
        return;
    }
    // Hatches are drawn over the white background, as a hatched brush fills.
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::white);
    for (const PieSlice& s : slices_) {
        const PieBrush& b = PieBrushOf(s.brush);
        QPainterPath path(kCentre);
        path.arcTo(disc, s.start, s.sweep);
        path.closeSubpath();
        p.setBrush(QBrush(QColor(b.red, b.green, b.blue), styleOf(b.hatch)));
        p.drawPath(path);
    }
    p.setBackgroundMode(Qt::TransparentMode);
    p.setBrush(Qt::white);
    const QFontMetrics metrics(p.font());
    for (const PieSlice& s : slices_) {
        if (s.label.empty())
            continue;
        const QString label = RecordText::toQt(s.label);
        const double angle = s.middle() * std::numbers::pi / 180;
        const QPoint at(kCentre.x() + static_cast<int>(std::lround(s.labelRadius * std::cos(angle))),
                        kCentre.y() - static_cast<int>(std::lround(s.labelRadius * std::sin(angle))));
        const int width = std::min(metrics.horizontalAdvance(label), 110) + 4;
        const int height = metrics.height() + 4;
        const QRect box(at.x() - width / 2, at.y() - height / 2, width, height);
        p.drawRect(box);
        p.save();
        p.setClipRect(box.adjusted(2, 2, -2, -2));  // a long name is cut at the box
        canvas.text(p, box.adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignVCenter, label);
        p.restore();
    }
}
