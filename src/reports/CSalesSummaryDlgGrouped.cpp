// The Reports menu's grouped reports.
#include "reports/CSalesSummaryDlg.h"

std::function<void()> CSalesSummaryDlg::GroupedReportCommand(QWidget*, const CLocalFile&, SalesFileHeader&, const std::string&)
{
    return {};
}
