#pragma once
// The rows of the Quotes list, without a window: every stored quote dated
// from the start day through the whole end day, in file order.

#include "storage/records/InvoiceRecord.h"
#include "storage/records/OleDate.h"

#include <array>
#include <string>
#include <vector>

struct SalesFileHeader;

struct QuoteRow {
    static constexpr std::size_t kColumns = 7;  // "Record#" .. "Address"
    int number = 0;
    std::array<std::string, kColumns> cells;
};

// Quotes whose saleTime lies on or after the start day's midnight and before
// the midnight after the end day; startDay and endDay are dates (any time of
// day is dropped).
std::vector<QuoteRow> ListQuoteRows(const std::vector<InvoiceRecord>& quotes, const SalesFileHeader& header,
                                    OleDate startDay, OleDate endDay);
// "Date": the quote's year, month and day (time 01:01:00) in the locale's short date form.
std::string QuoteDateText(const InvoiceRecord& quote);
