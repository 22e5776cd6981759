#include "sale/QuoteList.h"

#include "storage/files/SalesFileHeader.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <ctime>

std::string QuoteDateText(const InvoiceRecord& quote)
{
    std::tm t{};
    t.tm_year = quote.year - 1900;
    t.tm_mon = quote.month - 1;
    t.tm_mday = quote.day;
    t.tm_hour = 1;
    t.tm_min = 1;
    char text[64];
    return std::strftime(text, sizeof text, "%x", &t) ? text : "";
}

std::vector<QuoteRow> ListQuoteRows(const std::vector<InvoiceRecord>& quotes, const SalesFileHeader& header,
                                    OleDate startDay, OleDate endDay)
{
    const double from = startDay.dateOnly().value;
    const double before = endDay.dateOnly().value + 1;  // the whole end day
    std::vector<QuoteRow> rows;
    for (const InvoiceRecord& q : quotes) {
        const double at = q.saleTime.value;
        if (!(at >= from && at < before))
            continue;
        QuoteRow row;
        row.number = q.recordNumber;
        const auto& a = q.address;
        // A walk-in quote has no address: its cell stays empty, not ", ,".
        const bool noAddress = std::all_of(a.begin(), a.begin() + 6, [](const std::string& s) { return s.empty(); });
        row.cells = {strprintf("%d", q.recordNumber),
                     strprintf("%.2f", q.total),
                     QuoteDateText(q),
                     q.cashier,
                     q.payType,
                     header.levelNames[std::min<std::size_t>(q.priceLevel, header.levelNames.size() - 1)],
                     noAddress ? std::string()
                               : strprintf("%s %s %s, %s, %s %s", a[0].c_str(), a[1].c_str(), a[2].c_str(),
                                           a[3].c_str(), a[4].c_str(), a[5].c_str())};
        rows.push_back(std::move(row));
    }
    return rows;
}
