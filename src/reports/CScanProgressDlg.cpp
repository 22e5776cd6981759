#include "reports/CScanProgressDlg.h"

#include <QCoreApplication>

namespace {
constexpr int kSteps = 1000;
}

CScanProgressDlg::CScanProgressDlg(QWidget* parent, const QString& label)
    : QProgressDialog(label, "Cancel", 0, kSteps, parent)
{
    setObjectName("CScanProgressDlg");
    setWindowTitle("Sales");
    setWindowModality(Qt::WindowModal);
    setMinimumDuration(500);
    setAutoClose(false);
    setAutoReset(false);
    setValue(0);
}

bool CScanProgressDlg::Advance(long long done, long long total)
{
    if (total > 0)
        setValue(static_cast<int>(done * kSteps / total));
    // Once the window is up the events go through (repaints, "Cancel"); a
    // pass that ends before that never lets other work run in its middle.
    if (isVisible())
        QCoreApplication::processEvents();
    return !wasCanceled();
}

ScanOutcome CScanProgressDlg::Run(QWidget* parent, const std::function<ScanOutcome(const ScanProgress&)>& pass)
{
    CScanProgressDlg progress(parent);
    const ScanOutcome out = pass([&](long long done, long long total) { return progress.Advance(done, total); });
    progress.close();
    return out;
}
