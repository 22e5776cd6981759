#pragma once
// The lists of the rental windows, worked out from the rental file's records.
//
// A rental is tied to its returns by customer number, item number (ignoring
// case) and sale number: a return carries the sale number of the rental it was
// booked against, so two rentals of one item by one customer are returned
// separately. Returns of one rental key are set against its rental records in
// file order (a sale edited to rent more adds a second record for its key).
// Quantities are netted in whole cents, so float crumbs never keep a returned
// rental on the list.

#include "storage/files/RentalFile.h"

#include <cstdint>
#include <string>
#include <vector>

// One row of a rental list.
struct RentalRow {
    std::int32_t saleNumber = 0;
    std::uint16_t customerNumber = 0;
    std::string itemNumber;
    float quantity = 0;  // stored, or outstanding in the list of rentals not returned
    OleDate date;
};

// `filter` is the "Item#" box: empty lists every record, otherwise only the
// records whose item number equals it ignoring case.

// Every record in file order, with its stored quantity (returns negative).
std::vector<RentalRow> ListAllRentals(const std::vector<RentalRecord>& records, const std::string& filter);
// Every rental record with a quantity still out, in file order, showing that quantity.
std::vector<RentalRow> ListOutstandingRentals(const std::vector<RentalRecord>& records, const std::string& filter);

// Cents still out under the rental key of `row` (customer, item, sale), over
// all its rental records.
long long OutstandingCents(const std::vector<RentalRecord>& records, const RentalRow& row);

long long ToCents(double quantity);
