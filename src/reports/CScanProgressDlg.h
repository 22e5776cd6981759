#pragma once
// The progress of a pass over the sales: a window with a bar and "Cancel" that
// appears once the pass has run for half a second, while the windows behind it
// keep repainting. The pass runs on the window's thread and, once the window
// is up, lets the events through after each block it reads.

#include "reports/SaleScan.h"

#include <QProgressDialog>

#include <functional>

class CScanProgressDlg : public QProgressDialog {
    Q_OBJECT
public:
    explicit CScanProgressDlg(QWidget* parent, const QString& label = "Reading the sales...");

    // Runs pass(progress) with this window's progress; Cancelled when the user
    // pressed "Cancel".
    static ScanOutcome Run(QWidget* parent, const std::function<ScanOutcome(const ScanProgress&)>& pass);

    // The progress callback a pass is given: advances the bar, lets events
    // through, false once "Cancel" was pressed.
    bool Advance(long long done, long long total);
};
