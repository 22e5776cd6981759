#include "rentals/RentalReport.h"

#include "print/SaleLayout.h"
#include "storage/records/OleDate.h"

RentalReport BuildRentalReport(const CalendarTime& today, bool returnWindow,
                               const std::vector<std::vector<std::string>>& rows)
{
    RentalReport report;
    report.header = LongDate(today.year, today.month, today.day) + (returnWindow ? "\n\n" : "\n\n\n");
    report.header += "\n\nRental List\n";
    if (returnWindow)
        report.header += "Record#\tCustomer\tItem#\tQty\tDate\n";
    for (const std::vector<std::string>& row : rows)
        for (std::size_t i = 0; i < 5; ++i) {
            // Tabs and line breaks inside a cell would shift the columns.
            std::string cell = i < row.size() ? row[i] : std::string();
            for (char& c : cell)
                if (c == '\t' || c == '\n' || c == '\r')
                    c = ' ';
            report.body += cell;
            report.body += i < 4 ? '\t' : '\n';
        }
    // The text area is 825 units wide with 10 between cells.
    report.widths = {80, 320, 140, 80, 165};
    report.formats = {0, 0, 0, 2, 0};
    return report;
}
