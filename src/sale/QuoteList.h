#pragma once
// The rows of the Quotes list, without a window: every stored quote dated
// from the start day through the whole end day, in file order. One pass over
// the quote file keeps only the fields the columns show (see ListedSlots), so
// the list holds about a tenth of the quotes' bytes; a row's texts are made
// when the row is drawn. Deleting a quote moves the last one into its place,
// so a row keeps its quote's fields as listed, never its position.

#include "storage/files/ListedRecords.h"
#include "storage/records/OleDate.h"

#include <cstdint>
#include <string>

class CLocalFile;
struct SalesFileHeader;

class QuoteRows {
public:
    static constexpr std::size_t kColumns = 7;  // "Record#" .. "Address"

    QuoteRows();
    // Quotes whose saleTime lies on or after the start day's midnight and
    // before the midnight after the end day (any time of day of the two is
    // dropped). False (no rows) when the file cannot be read; a missing or
    // empty file lists none.
    bool list(const CLocalFile& local, OleDate startDay, OleDate endDay);
    void clear() { slots_.clear(); }

    std::size_t size() const { return slots_.size(); }
    int number(std::size_t row) const;
    // "Record#", "Total", "Date", "Cashier", "Pay Type", "Category" (the name of
    // the quote's price level in `header`), "Address"; "" past the columns.
    std::string cell(std::size_t row, int column, const SalesFileHeader& header) const;

private:
    ListedSlots slots_;
};

// "Date": the day (time 01:01:00) in the locale's short date form.
std::string QuoteDateText(int year, int month, int day);
