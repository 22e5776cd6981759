#include "reports/graphs/CMonthGraphDlg.h"

#include "platform/Clock.h"
#include "reports/CScanProgressDlg.h"
#include "reports/graphs/GraphCanvasWidget.h"
#include "settings/SecurityGate.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr int kLeft = 70, kRight = 746;
constexpr double kSlot = (kRight - kLeft) / double(MonthFigures::kMonths);
}  // namespace

CMonthGraphDlg::CMonthGraphDlg(const MonthFigures& figures, QWidget* parent) : QDialog(parent), figures_(figures)
{
    setObjectName("CMonthGraphDlg");
    setWindowTitle("Monthly Graph");
    auto* layout = new QVBoxLayout(this);
    auto* canvas = new GraphCanvasWidget(this, QSize(kRight + 24, 360),
                                         [this](GraphCanvasWidget& c, QPainter& p) { paint(c, p); });
    layout->addWidget(canvas);
    layout->addLayout(GraphButtonRow(this, canvas, "Monthly Sales"));
}

void CMonthGraphDlg::Open(QWidget* parent, const CLocalFile& local)
{
    if (SecurityGate(local))
        return;
    const CalendarTime now = Clock::now();
    MonthFigures figures(now);
    const ScanOutcome out =
        CScanProgressDlg::Run(parent, [&](const ScanProgress& progress) { return ScanSales(local, figures, progress); });
    if (out == ScanOutcome::Cancelled)
        return;
    CMonthGraphDlg(out == ScanOutcome::Done ? figures : MonthFigures(now), parent).exec();
}

void CMonthGraphDlg::paint(GraphCanvasWidget& canvas, QPainter& p) const
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
