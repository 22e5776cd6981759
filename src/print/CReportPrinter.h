#pragma once
// Prints reports: tab-separated text reports and the product listing, on the
// printer chosen in the print dialog, in a preview window, or into a PDF file.

#include "platform/PrintFrame.h"
#include "print/ReportLayout.h"

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

class CReportPrinter {
public:
    using Output = PrintOutput;

    // A cancelled dialog prints nothing; a job the printer refuses is reported.
    static void PrintReport(QWidget* parent, const std::string& header, const std::string& body,
                            const std::vector<std::int16_t>& widths, const std::vector<std::uint16_t>& formats,
                            Output output = Output::Printer);
    static void PrintProductListing(QWidget* parent, const std::vector<ListingRow>& rows, bool withCostAndPrice,
                                    Output output = Output::Printer);
};
