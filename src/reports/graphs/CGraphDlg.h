#pragma once
// What every graph window of the Reports menu is: a canvas, for the hour
// graphs a date range under it, and the printing buttons; the figures come
// from one pass over the sales under the progress window, again whenever the
// range changes.

#include "reports/SaleScan.h"
#include "settings/SecurityGate.h"

#include <QDialog>

#include <functional>
#include <string>

class CLocalFile;
class GraphCanvasWidget;
class GraphRangeWidget;
class QPainter;

class CGraphDlg : public QDialog {
    Q_OBJECT
public:
    // The Reports menu's command: security first, then the figures, then the
    // window. Nothing shows when the pass is cancelled.
    template <class Dlg> static void Open(QWidget* parent, const CLocalFile& local)
    {
        if (SecurityGate(local))
            return;
        Dlg dlg(local, parent);
        if (dlg.Recompute())
            dlg.exec();
    }

    // One pass for the figures shown; false when it was cancelled (the figures
    // and the range shown are then those of before).
    bool Recompute();

protected:
    // `withRange`: the "Date Range" group under the canvas.
    CGraphDlg(const CLocalFile& local, QWidget* parent, QSize canvas, const std::string& printName, bool withRange);

    // What a pass needs from the window, read on its thread before the pass.
    struct Scope {
        int firstKey = 0, lastKey = 0;  // the range's days (0 without a range)
        CalendarTime now;
    };
    // The pass, off the window's thread: reads the sales for `scope` and
    // leaves the figures for ShowGathered. Touches no widget.
    virtual ScanOutcome Gather(const Scope& scope, const ScanProgress& progress) = 0;
    virtual void Paint(GraphCanvasWidget& canvas, QPainter& p) const = 0;

    // Gathers Figures(args...) fed every sale; once the pass is over, on the
    // window's thread, they become `shown` unless it was cancelled. Sales that
    // cannot be read draw as none.
    template <class Figures, class... Args>
    ScanOutcome GatherInto(Figures& shown, const ScanProgress& progress, Args... args)
    {
        Figures figures(args...);
        const ScanOutcome out = ScanSales(local_, figures, progress);
        if (out != ScanOutcome::Cancelled)
            gathered_ = [&shown, kept = out == ScanOutcome::Done ? figures : Figures(args...)] { shown = kept; };
        return out;
    }

private:
    const CLocalFile& local_;
    GraphCanvasWidget* canvas_ = nullptr;
    GraphRangeWidget* range_ = nullptr;
    int shownFirst_ = 0, shownLast_ = 0;  // the range of the figures shown
    std::function<void()> gathered_;      // puts the figures of the last pass on show
};
