#include "receivables/UnpaidInvoices.h"

#include "receivables/PaidRule.h"
#include "sale/SaleTotals.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace {

// The terms of each index asked for, read from the terms file once each.
class TermsCache {
public:
    explicit TermsCache(const CLocalFile& local) : local_(local) {}
    const std::optional<TermsRecord>& find(std::uint8_t id)
    {
        auto it = cache_.find(id);
        if (it == cache_.end()) {
            TermsRecord record;
            std::optional<TermsRecord> found;
            if (GetTerms(local_, id, record))
                found = record;
            it = cache_.emplace(id, found).first;
        }
        return it->second;
    }

private:
    const CLocalFile& local_;
    std::map<std::uint8_t, std::optional<TermsRecord>> cache_;
};

}  // namespace

bool PaymentSumsBySale(const CLocalFile& local, std::unordered_map<std::int32_t, long long>& sums)
{
    sums.clear();
    const int cause = VisitPayments(local, [&sums](const std::uint8_t* rec) {
        sums[codec::getI32(rec, PaymentRecord::kInvoiceNumberOff)] += AmountCents(codec::getF32(rec, PaymentRecord::kAmountOff));
    });
    return cause == FileCause::None;
}

UnpaidListing ListUnpaidInvoices(const CLocalFile& local, UnpaidKind kind, const CalendarTime& now)
{
    UnpaidListing listing;
    DataFile file;
    const int cause = CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read);
    if (cause != FileCause::None) {
        if (cause != FileCause::NotFound)
            listing.error = "Error opening Invoice file.";
        return listing;
    }
    const long long present = InvoiceRecordsPresent(file);
    if (present <= 0)
        return listing;
    std::vector<InvoiceRecord> open;
    ScanInvoices(file, present, [&](const std::uint8_t* rec, long long) {
        if (codec::getU8(rec, InvoiceRecord::kPaidOff) == 0) {
            open.emplace_back();
            open.back().decode(rec);
        }
        return true;
    });
    file.close();
    if (open.empty())
        return listing;

    // Without the payments every balance would read as the whole total.
    std::unordered_map<std::int32_t, long long> paid;
    if (!PaymentSumsBySale(local, paid)) {
        listing.error = "Error opening Payment file.";
        return listing;
    }
    TermsCache terms(local);
    long long totalCents = 0;  // the balances are whole cents: their sum is exact
    for (const InvoiceRecord& sale : open) {
        UnpaidInvoice row;
        row.recordNumber = sale.recordNumber;
        const auto& a = sale.address;
        row.customer = a[InvoiceRecord::kName] + ", " + a[InvoiceRecord::kCompany] + ", " + a[InvoiceRecord::kPhone];
        row.total = sale.total;
        const auto sum = paid.find(sale.recordNumber);
        const long long balanceCents = AmountCents(sale.total) - (sum == paid.end() ? 0 : sum->second);
        row.balance = RoundToCents(static_cast<double>(balanceCents) / 100);
        row.saleTime = sale.saleTime;
        const std::optional<TermsRecord>& t = terms.find(sale.termsIndex);
        if (t)
            row.termsName = t->name;
        if (sale.termsIndex != 0 && t) {
            OleDate due;
            row.overdue = IsOverdue(sale, t->netDays, now, due);
            row.hasDueDate = due.isValid();
            row.dueDate = due;
        }
        if (kind == UnpaidKind::Overdue && !row.overdue)
            continue;
        totalCents += balanceCents;
        listing.rows.push_back(std::move(row));
    }
    listing.totalBalance = static_cast<double>(totalCents) / 100;
    return listing;
}

std::vector<std::string> UnpaidCells(const UnpaidInvoice& row)
{
    return {strprintf("%u", static_cast<unsigned>(row.recordNumber)),
            row.customer,
            strprintf("%.2f", static_cast<double>(row.total)),
            strprintf("%.2f", static_cast<double>(row.balance)),
            FormatOleDate(row.saleTime, "%m/%d/%Y"),
            row.termsName,
            row.hasDueDate ? FormatOleDate(row.dueDate, "%m/%d/%Y") : std::string()};
}

std::string UnpaidReportHeading(const CalendarTime& now)
{
    return "\n\nUnpaid Invoices Report\n" + FormatCalendarTime(now, "%A, %B %d, %Y\n\n") +
           "Record#\tCustomer\tTotal\tDue\tDate\n";
}

std::string UnpaidReportBody(const std::vector<UnpaidInvoice>& rows)
{
    std::string body;
    for (const UnpaidInvoice& row : rows) {
        const std::vector<std::string> cells = UnpaidCells(row);
        body += cells[0] + "\t" + cells[1] + "\t" + cells[2] + "\t" + cells[3] + "\t" + cells[4] + "\n";
    }
    return body;
}
