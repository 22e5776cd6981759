// The Reports menu's graphs.
#include "reports/CSalesSummaryDlg.h"

#include "reports/graphs/CHourGraphDlg.h"
#include "reports/graphs/CMonthGraphDlg.h"
#include "reports/graphs/CTrendGraphDlg.h"
#include "reports/graphs/CWeekHourGraphDlg.h"

std::function<void()> CSalesSummaryDlg::GraphCommand(QWidget* parent, const CLocalFile& local, SalesFileHeader&,
                                                     const std::string& item)
{
    if (item == "Graph Sales by Hour of Day")
        return [parent, &local] { CGraphDlg::Open<CHourGraphDlg>(parent, local); };
    if (item == "Graph Sales by Hour of Week")
        return [parent, &local] { CGraphDlg::Open<CWeekHourGraphDlg>(parent, local); };
    if (item == "Graph Sales by Month")
        return [parent, &local] { CGraphDlg::Open<CMonthGraphDlg>(parent, local); };
    if (item == "12 Month Trend Graph")
        return [parent, &local] { CGraphDlg::Open<CTrendGraphDlg>(parent, local); };
    return {};
}
