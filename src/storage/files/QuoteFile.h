#pragma once
// The quote file: the count Q and the next quote number K (8 bytes), then Q
// records in the sale layout. A quote is known by its number (its
// recordNumber), not by its position; numbers only grow.

#include "storage/records/InvoiceRecord.h"

#include <vector>

class CLocalFile;
struct CountedLayout;

constexpr long long kQuoteFileHeaderSize = 8;

inline long long QuoteOffset(long long n)
{
    return kQuoteFileHeaderSize + n * static_cast<long long>(InvoiceRecord::kSize);
}

// Appends the record as a new quote under the next quote number, dated from
// `now`. The caller's record keeps its own recordNumber. Returns the quote
// number given, or -1 when the quote was not stored. A missing file is created.
int SaveQuote(const CLocalFile& local, InvoiceRecord& record, const CalendarTime& now);
// The first quote in file order with that number; false after "Read Invoice
// error: Quote Not Found." when there is none or the file cannot be read.
bool ReadQuote(const CLocalFile& local, int quoteNumber, InvoiceRecord& record);
// The file's header and records, for a list that reads only the fields it shows.
const CountedLayout& QuoteFileLayout();
// Removes the quote with that number: the last quote moves into its place and
// the count drops by one. False after "Read Quote error: can't open in delete"
// when the file cannot be opened, no such quote exists or the change could not
// be written.
bool DeleteQuote(const CLocalFile& local, int quoteNumber);
// The date (time of day dropped) of the first or last quote in file order;
// today's date from `now` when there is none.
OleDate FirstQuoteDate(const CLocalFile& local, const CalendarTime& now);
OleDate LastQuoteDate(const CLocalFile& local, const CalendarTime& now);
