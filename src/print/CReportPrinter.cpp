#include "print/CReportPrinter.h"

#include "platform/Clock.h"
#include "platform/PrintFrame.h"
#include "print/SaleLayout.h"

namespace {

void run(QWidget* parent, const std::string& name, PrintOutput output, const std::function<void(PrintCanvas&)>& draw)
{
    RunDocument(parent, output, DocumentPage{}, {}, name, draw);
}

}  // namespace

void CReportPrinter::PrintReport(QWidget* parent, const std::string& header, const std::string& body,
                                 const std::vector<std::int16_t>& widths, const std::vector<std::uint16_t>& formats,
                                 Output output)
{
    run(parent, "Report", output,
        [&](PrintCanvas& canvas) { LayoutReport(canvas, header, body, widths, formats); });
}

void CReportPrinter::PrintProductListing(QWidget* parent, const std::vector<ListingRow>& rows, bool withCostAndPrice,
                                         Output output)
{
    const CalendarTime now = Clock::now();
    const std::string date = LongDate(now.year, now.month, now.day);
    run(parent, "Receipt", output,
        [&](PrintCanvas& canvas) { LayoutProductListing(canvas, rows, withCostAndPrice, date); });
}
