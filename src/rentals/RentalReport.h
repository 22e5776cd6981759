#pragma once
// The printed rental list: the text and columns the report printer takes.

#include <cstdint>
#include <string>
#include <vector>

struct CalendarTime;

struct RentalReport {
    std::string header;
    std::string body;
    std::vector<std::int16_t> widths;
    std::vector<std::uint16_t> formats;
};

// Today's date, the title "Rental List" and, for the Return Rentals window, the
// column heading; then one line per row of the five shown cells (Record#,
// Customer, Item, Qty, Date) as the list shows them.
RentalReport BuildRentalReport(const CalendarTime& today, bool returnWindow,
                               const std::vector<std::vector<std::string>>& rows);
