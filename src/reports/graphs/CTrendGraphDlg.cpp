#include "reports/graphs/CTrendGraphDlg.h"

#include "platform/Clock.h"
#include "reports/CScanProgressDlg.h"
#include "reports/graphs/GraphCanvasWidget.h"
#include "settings/SecurityGate.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr int kLeft = 70, kRight = 746;
constexpr double kSlot = (kRight - kLeft + 1) / double(TrendFigures::kSlots);
}  // namespace

CTrendGraphDlg::CTrendGraphDlg(const TrendFigures& figures, QWidget* parent) : QDialog(parent), figures_(figures)
{
    setObjectName("CTrendGraphDlg");
    setWindowTitle("12 Month Trend Graph");
    auto* layout = new QVBoxLayout(this);
    auto* canvas = new GraphCanvasWidget(this, QSize(kRight + 24, 340),
                                         [this](GraphCanvasWidget& c, QPainter& p) { paint(c, p); });
    layout->addWidget(canvas);
    layout->addLayout(GraphButtonRow(this, canvas, "12 Month Trend"));
}

void CTrendGraphDlg::Open(QWidget* parent, const CLocalFile& local)
{
    if (SecurityGate(local))
        return;
    const CalendarTime now = Clock::now();
    TrendFigures figures(now);
    const ScanOutcome out =
        CScanProgressDlg::Run(parent, [&](const ScanProgress& progress) { return ScanSales(local, figures, progress); });
    if (out == ScanOutcome::Cancelled)
        return;
    CTrendGraphDlg(out == ScanOutcome::Done ? figures : TrendFigures(now), parent).exec();
}

void CTrendGraphDlg::paint(GraphCanvasWidget& canvas, QPainter& p) const
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
