#pragma once
// What the rental windows do to the files: read the rentals, book a return,
// delete a wrong record, and name the customers. Each change is one storage
// transaction: all of it is stored or nothing.

#include "rentals/RentalLedger.h"
#include "storage/files/CountedFile.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CLocalFile;

// Every record of the rental file; a missing file reads as no records. False
// when the file cannot be read.
bool ReadRentalRecords(const CLocalFile& local, std::vector<RentalRecord>& records);

struct ReturnOutcome {
    enum class Kind { Booked, OutOfRange, Failed };
    Kind kind = Kind::Failed;
    float outstanding = 0;  // the most that could be returned (OutOfRange)
};

// Books a return of `quantity` against the rental of `row` (an outstanding
// row), dated `when`. The quantity must be above 0 and no more than the row's
// quantity nor what is still out under its key as the file holds it now (a
// return booked meanwhile at another register counts): otherwise nothing is
// written and OutOfRange gives the most that may be returned. The file is
// created when missing.
ReturnOutcome BookRentalReturn(const CLocalFile& local, const RentalRow& row, float quantity, const OleDate& when);

// Deletes the first record with the row's quantity, sale number, customer
// number and item number (ignoring case): the last record takes its place and
// the count goes down. NotFound when no record matches (an outstanding row
// whose rental has partial returns shows a quantity no record holds).
ChangeResult DeleteRentalRecord(const CLocalFile& local, const RentalRow& row);

// The customer column's texts by customer number: name, company and phone
// joined as "%s %s %s", read in one pass over the customer file.
class RentalCustomers {
public:
    explicit RentalCustomers(const CLocalFile& local);
    // Empty when the number is not in the file.
    std::string text(std::uint16_t number) const;

private:
    std::map<std::uint16_t, std::string> texts_;
};
