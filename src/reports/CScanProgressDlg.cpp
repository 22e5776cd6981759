#include "reports/CScanProgressDlg.h"

#include "platform/BackgroundWork.h"
#include "storage/io/StepWatch.h"

#include <atomic>
#include <limits>

namespace {
constexpr int kSteps = 1000;
const char* const kLabel = "Reading the sales...";

// The nearest shown window from `widget` up: a report window still being
// built runs its first pass over the window that opened it.
QWidget* shownWindow(QWidget* widget)
{
    for (; widget; widget = widget->parentWidget())
        if (widget->window()->isVisible())
            return widget->window();
    return nullptr;
}
}  // namespace

CScanProgressDlg::CScanProgressDlg(QWidget* parent) : QProgressDialog(kLabel, "Cancel", 0, kSteps, parent)
{
    setObjectName("CScanProgressDlg");
    setWindowTitle("Sales");
    setWindowModality(Qt::WindowModal);
    // Shown by the pass's watch after half a second, never by a timer of its own.
    setMinimumDuration(std::numeric_limits<int>::max());
    setAutoClose(false);
    setAutoReset(false);
    setValue(0);
}

ScanOutcome CScanProgressDlg::Run(QWidget* parent, const std::function<ScanOutcome(const ScanProgress&)>& pass,
                                  const std::function<void(int)>& shown)
{
    QWidget* window = shownWindow(parent);
    std::atomic<bool> stopped{false};
    std::atomic<int> value{0};
    std::atomic<bool> posted{false};
    CScanProgressDlg progress(window ? window : parent);
    connect(&progress, &QProgressDialog::canceled, &progress, [&] {
        stopped = true;
        BackgroundWork::stop();
    });

    // On the pass's thread: the latest value is kept and one call at a time
    // is queued to the window, which draws whatever is latest then.
    const ScanProgress advance = [&](long long done, long long total) {
        // Progress comes between blocks, when no write of the sales index is
        // under way, so the pass can be given up again from here.
        StepWatch::writesDone();
        value = total > 0 ? static_cast<int>(done * kSteps / total) : 0;
        if (!posted.exchange(true))
            QMetaObject::invokeMethod(&progress, [&] {
                posted = false;
                progress.setValue(value);
                if (shown)
                    shown(value);
                BackgroundWork::advanced();
            }, Qt::QueuedConnection);
        return !stopped;
    };
    const BackgroundWork::OwnProgress own{[&](const char* text) {
                                              progress.setLabelText(text);
                                              progress.show();
                                          },
                                          [&] { stopped = true; }};
    ScanOutcome out = ScanOutcome::Failed;
    BackgroundWork::Run(window, [&] { out = pass(advance); }, kLabel, own);
    return stopped ? ScanOutcome::Cancelled : out;
}
