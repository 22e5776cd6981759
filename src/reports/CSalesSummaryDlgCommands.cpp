// The Reports menu commands that end in the sales summary window.
#include "reports/CSalesSummaryDlg.h"

#include "platform/Clock.h"
#include "reports/CDrawerReconcileDlg.h"
#include "reports/CSalesRangeDlg.h"
#include "reports/CScanProgressDlg.h"
#include "settings/SecurityGate.h"
#include "storage/files/SalesFileHeader.h"

void CSalesSummaryDlg::RunReport(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                 const std::string& title, PeriodSums sums)
{
    const ScanOutcome out =
        CScanProgressDlg::Run(parent, [&](const ScanProgress& progress) { return ScanSales(local, sums, progress); });
    if (out != ScanOutcome::Done)
        return;
    CSalesSummaryDlg(title, sums.sums(), header.showCents != 0, parent).exec();
}

void CSalesSummaryDlg::RunPeriod(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                 const PeriodCommand& command)
{
    if (SecurityGate(local))
        return;
    RunReport(parent, local, header, command.title,
              PeriodSums(SelectPeriod(command.kind, command.last, Clock::now())));
}

void CSalesSummaryDlg::RunRange(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header)
{
    if (SecurityGate(local))
        return;
    CSalesRangeDlg range(local, parent);
    if (range.exec() != QDialog::Accepted)
        return;
    if (SecurityGate(local))
        return;
    const CalendarTime first = range.firstDay(), last = range.lastDay();
    RunReport(parent, local, header, RangeTitle(first, last),
              PeriodSums(DateKey(first.year, first.month, first.day), DateKey(last.year, last.month, last.day)));
}

std::function<void()> CSalesSummaryDlg::MenuCommand(QWidget* parent, const CLocalFile& local,
                                                    SalesFileHeader& header, const std::string& item)
{
    for (const PeriodCommand& command : PeriodCommands())
        if (item == command.title)
            return [parent, &local, &header, command] { RunPeriod(parent, local, header, command); };
    if (item == "Sales...")
        return [parent, &local, &header] { RunRange(parent, local, header); };
    if (item == "Cash Drawer Reconciliation")
        return [parent, &local, &header] { CDrawerReconcileDlg::Open(parent, local, header); };
    if (auto grouped = GroupedReportCommand(parent, local, header, item))
        return grouped;
    return GraphCommand(parent, local, header, item);
}
