// The Reports menu's grouped reports: the days (and key) asked, one pass
// under the progress window, then the text in a summary window.
#include "reports/CSalesSummaryDlg.h"

#include "platform/MessageBox.h"
#include "reports/CScanProgressDlg.h"
#include "reports/CWideSummaryDlg.h"
#include "reports/grouped/CReportSelectDlg.h"
#include "reports/grouped/GroupedReports.h"
#include "settings/CSummaryDlg.h"
#include "settings/SecurityGate.h"

#include <memory>

namespace {
void runGrouped(QWidget* parent, const CLocalFile& local, const GroupedReportKind& kind)
{
    if (SecurityGate(local))
        return;
    std::unique_ptr<CSalesRangeDlg> ask;
    CReportSelectDlg* select = nullptr;
    if (kind.ask == GroupedAsk::Range) {
        ask = std::make_unique<CSalesRangeDlg>(local, parent);
    } else {
        auto keyed = std::make_unique<CReportSelectDlg>(local, kind.ask, parent);
        select = keyed.get();
        ask = std::move(keyed);
    }
    if (ask->exec() != QDialog::Accepted)
        return;
    GroupedRequest request;
    request.kind = &kind;
    request.first = ask->firstDay();
    request.last = ask->lastDay();
    if (select)
        request.key = select->key();
    ask.reset();
    if (kind.shape == GroupedShape::ProductTable && kind.ask != GroupedAsk::Range && request.key.empty()) {
        MessageBox::information(parent, kind.ask == GroupedAsk::Category ? "Please select a Category and Date Range."
                                                                         : "Please select a Vendor and Date Range.");
        return;
    }
    GroupedReport report;
    const ScanOutcome out = CScanProgressDlg::Run(
        parent, [&](const ScanProgress& progress) { return BuildGroupedReport(local, request, report, progress); });
    if (out != ScanOutcome::Done)
        return;
    if (report.wide()) {
        CWideSummaryDlg(ReportText{report.heading, report.body, report.widths, report.formats}, parent).exec();
        return;
    }
    CSummaryDlg summary(report.heading, report.body, parent);
    summary.setChart(report.chart);
    summary.exec();
}
}  // namespace

std::function<void()> CSalesSummaryDlg::GroupedReportCommand(QWidget* parent, const CLocalFile& local,
                                                             SalesFileHeader&, const std::string& item)
{
    const GroupedReportKind* kind = FindGroupedReport(item);
    if (!kind)
        return {};
    return [parent, &local, kind] { runGrouped(parent, local, *kind); };
}
