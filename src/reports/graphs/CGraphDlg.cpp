#include "reports/graphs/CGraphDlg.h"

#include "reports/CScanProgressDlg.h"
#include "reports/graphs/GraphCanvasWidget.h"
#include "reports/graphs/GraphRangeWidget.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

CGraphDlg::CGraphDlg(const CLocalFile& local, QWidget* parent, QSize canvas, const std::string& printName,
                     bool withRange)
    : QDialog(parent), local_(local)
{
    auto* layout = new QVBoxLayout(this);
    canvas_ = new GraphCanvasWidget(this, canvas, [this](GraphCanvasWidget& c, QPainter& p) { Paint(c, p); });
    layout->addWidget(canvas_);
    if (withRange) {
        range_ = new GraphRangeWidget(local, this);
        auto* row = new QHBoxLayout;
        row->addWidget(range_);
        row->addStretch();
        layout->addLayout(row);
        connect(range_, &GraphRangeWidget::changed, this, [this] { Recompute(); });
    }
    layout->addLayout(GraphButtonRow(this, canvas_, printName));
    if (range_)
        range_->setFocus();
}

int CGraphDlg::firstKey() const { return range_ ? range_->firstKey() : 0; }
int CGraphDlg::lastKey() const { return range_ ? range_->lastKey() : 0; }

bool CGraphDlg::Recompute()
{
    const ScanOutcome out = CScanProgressDlg::Run(this, [this](const ScanProgress& progress) { return Gather(progress); });
    if (out == ScanOutcome::Cancelled) {
        if (range_)
            range_->restore(shownFirst_, shownLast_);
        return false;
    }
    shownFirst_ = firstKey();
    shownLast_ = lastKey();
    canvas_->update();
    return true;
}
