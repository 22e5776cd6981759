#pragma once
// The customer and vendor lists: from one pass over the file, the fields a
// row shows, as they were when it was listed (see ListedSlots); a row's texts
// are made when the row is drawn.

#include "storage/files/ListedRecords.h"

#include <cstdint>
#include <string>

class CLocalFile;

class CustomerRows {
public:
    CustomerRows();
    // Records 1..N-1 in file order, picked as CustomerListFilter picks them.
    // False (no rows) when the file cannot be read; a missing file lists none.
    bool list(const CLocalFile& local, int selector, const std::string& text);

    std::size_t size() const { return slots_.size(); }
    // "Name", "Phone#", "Email", "ID" (the number, "%u").
    std::string cell(std::size_t row, int column) const;
    std::uint16_t number(std::size_t row) const;
    // The first row of the customer with this number, or -1.
    int rowOf(std::uint16_t number) const;

private:
    ListedSlots slots_;
};

class VendorRows {
public:
    VendorRows();
    // Every vendor in file order; false (no rows) when the file cannot be read.
    bool list(const CLocalFile& local);

    std::size_t size() const { return slots_.size(); }
    // "Company", "Phone1", "eMail".
    std::string cell(std::size_t row, int column) const;
    // The first row whose company equals `company` ignoring case, or -1.
    int rowOf(const std::string& company) const;

private:
    ListedSlots slots_;
};
