#include "reports/graphs/CGraphDlg.h"

#include "platform/Clock.h"
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

bool CGraphDlg::Recompute()
{
    Scope scope;
    if (range_) {
        scope.firstKey = range_->firstKey();
        scope.lastKey = range_->lastKey();
    }
    scope.now = Clock::now();
    gathered_ = nullptr;
    const ScanOutcome out =
        CScanProgressDlg::Run(this, [&](const ScanProgress& progress) { return Gather(scope, progress); });
    if (out == ScanOutcome::Cancelled || !gathered_) {
        if (range_)
            range_->restore(shownFirst_, shownLast_);
        return false;
    }
    gathered_();
    shownFirst_ = scope.firstKey;
    shownLast_ = scope.lastKey;
    canvas_->update();
    return true;
}
