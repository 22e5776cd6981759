#pragma once
// The progress of a pass over the sales. The pass runs on a thread of its own
// (platform/BackgroundWork) while the window that asked for it waits, taking no
// input; after half a second this window with a bar and "Cancel" shows, its
// bar advanced on the window's thread. After five seconds without progress (a
// file call the kernel holds, a register holding the sales file) it says that
// it still waits and asks whether to keep waiting; "No", like "Cancel", stops
// the pass at its next block, and the report shows nothing.

#include "reports/SaleScan.h"

#include <QProgressDialog>

#include <functional>

class CScanProgressDlg : public QProgressDialog {
    Q_OBJECT
public:
    explicit CScanProgressDlg(QWidget* parent);

    // Runs pass(progress) with this window's progress; Cancelled when the user
    // pressed "Cancel" or answered "No". `shown`, when given, is handed the
    // bar's value (0 to 1000) on the window's thread as the pass goes. What
    // the pass touches must be its own: no widget, no clock, no window state.
    static ScanOutcome Run(QWidget* parent, const std::function<ScanOutcome(const ScanProgress&)>& pass,
                           const std::function<void(int)>& shown = {});
};
