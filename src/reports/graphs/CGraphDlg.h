#pragma once
// What every graph window of the Reports menu is: a canvas, for the hour
// graphs a date range under it, and the printing buttons; the figures come
// from one pass over the sales under the progress window, again whenever the
// range changes.

#include "reports/SaleScan.h"
#include "settings/SecurityGate.h"

#include <QDialog>

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

    virtual ScanOutcome Gather(const ScanProgress& progress) = 0;
    virtual void Paint(GraphCanvasWidget& canvas, QPainter& p) const = 0;

    // Fills `shown` with Figures(args...) fed every sale, unless the pass is
    // cancelled; sales that cannot be read draw as none.
    template <class Figures, class... Args>
    ScanOutcome GatherInto(Figures& shown, const ScanProgress& progress, Args... args)
    {
        Figures figures(args...);
        const ScanOutcome out = ScanSales(local_, figures, progress);
        if (out != ScanOutcome::Cancelled)
            shown = out == ScanOutcome::Done ? figures : Figures(args...);
        return out;
    }
    int firstKey() const;
    int lastKey() const;

private:
    const CLocalFile& local_;
    GraphCanvasWidget* canvas_ = nullptr;
    GraphRangeWidget* range_ = nullptr;
    int shownFirst_ = 0, shownLast_ = 0;  // the range of the figures shown
};
