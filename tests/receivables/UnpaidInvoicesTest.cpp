// The unpaid and overdue lists over a few hundred generated sales, against
// balances kept in whole cents and due dates computed with the calendar.

#include "receivables/UnpaidInvoices.h"
#include "sale/SaleTotals.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"
#include "support/DataFolder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <random>

namespace {

using namespace std::chrono;

struct Generated {
    InvoiceRecord sale;
    sys_seconds soldAt;
    long long owedCents = 0;  // total less the payments, in cents
};

const CalendarTime kNow{2026, 12, 7, 10, 0, 0, 1, 340};

std::string mdY(sys_days day)
{
    const year_month_day d{day};
    return strprintf("%02u/%02u/%04d", static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()),
                     static_cast<int>(d.year()));
}

using UnpaidInvoices = DataFolder;

TEST_F(UnpaidInvoices, ListsBalancesDueDatesAndOverdueOfGeneratedSales)
{
    ASSERT_EQ(ListTerms(local).size(), 2u);  // COD (0) and NET 30 (1) are made
    TermsRecord net10, net60;
    net10.netDays = 10, net60.netDays = 60;
    ASSERT_EQ(AppendTerms(local, net10), 0);
    ASSERT_EQ(AppendTerms(local, net60), 0);
    ASSERT_EQ(DeleteTerms(local, net60.id), ChangeResult::Done);  // sales keep its id
    const std::map<int, int> netDays = {{1, 30}, {net10.id, 10}};
    const std::uint8_t termsIds[] = {0, 1, net10.id, net60.id, 7};

    std::mt19937 rng(15);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<Generated> sales(300);
    std::vector<std::pair<int, int>> payments;  // sale, cents
    const sys_seconds now = sys_days{2026y / December / 7} + 10h;
    for (int n = 0; n < 300; ++n) {
        Generated& g = sales[static_cast<std::size_t>(n)];
        g.sale = ClearedInvoice();
        g.sale.recordNumber = n;
        g.sale.paid = pick(0, 3) == 0;
        g.sale.termsIndex = termsIds[pick(0, 4)];
        const long long totalCents = pick(100, 50000);
        g.sale.total = static_cast<float>(totalCents) / 100;
        g.sale.address[InvoiceRecord::kName] = "Name" + std::to_string(n);
        g.sale.address[InvoiceRecord::kPhone] = "555-" + std::to_string(n);
        g.soldAt = sys_days{2026y / September / 1} + days{pick(0, 96)} + seconds{pick(0, 86399)};
        if (n < 2) {  // NET 30 due exactly now (not yet past due), and a second before now
            g.soldAt = now - days{30} - seconds{n};
            g.sale.termsIndex = 1;
            g.sale.paid = 0;
        }
        const year_month_day d{floor<days>(g.soldAt)};
        const hh_mm_ss t{g.soldAt - floor<days>(g.soldAt)};
        g.sale.saleTime = OleDate::fromCalendar(static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                                                static_cast<unsigned>(d.day()), static_cast<int>(t.hours().count()),
                                                static_cast<int>(t.minutes().count()),
                                                static_cast<int>(t.seconds().count()));
        g.owedCents = totalCents;
        for (int k = pick(0, 3); k > 0; --k) {
            const int cents = pick(1, static_cast<int>(totalCents / 3));
            payments.emplace_back(n, cents);
            g.owedCents -= cents;
        }
    }
    payments.emplace_back(900, 1234);  // a payment for no stored sale
    std::shuffle(payments.begin(), payments.end(), rng);

    std::vector<std::uint8_t> bytes(4 + sales.size() * InvoiceRecord::kSize);
    codec::putI32(bytes.data(), 0, static_cast<std::int32_t>(sales.size()));
    for (std::size_t i = 0; i < sales.size(); ++i)
        sales[i].sale.encode(bytes.data() + 4 + i * InvoiceRecord::kSize);
    writeBytes(local.GetPath("Invoices"), bytes);

    // Without a payments file every balance is the whole total.
    for (const UnpaidInvoice& row : ListUnpaidInvoices(local, UnpaidKind::Unpaid, kNow).rows)
        EXPECT_EQ(row.balance, sales[static_cast<std::size_t>(row.recordNumber)].sale.total);

    std::vector<std::uint8_t> pay(PaymentOffset(static_cast<long long>(payments.size())));
    PaymentFileHeader{static_cast<std::int32_t>(payments.size()), 1.0f, 1}.encode(pay.data());
    for (std::size_t i = 0; i < payments.size(); ++i) {
        PaymentRecord p;
        p.invoiceNumber = payments[i].first;
        p.amount = static_cast<float>(payments[i].second) / 100;
        p.encode(pay.data() + PaymentOffset(static_cast<long long>(i)));
    }
    writeBytes(local.GetPath("Payments"), pay);

    for (const UnpaidKind kind : {UnpaidKind::Unpaid, UnpaidKind::Overdue}) {
        SCOPED_TRACE(kind == UnpaidKind::Unpaid ? "unpaid" : "overdue");
        const UnpaidListing listing = ListUnpaidInvoices(local, kind, kNow);
        std::size_t next = 0;
        long long totalCents = 0;
        for (const Generated& g : sales) {
            const int n = g.sale.recordNumber;
            const auto net = netDays.find(g.sale.termsIndex);
            const bool hasDue = g.sale.termsIndex != 0 && net != netDays.end();
            const bool overdue = hasDue && now > g.soldAt + days{net->second};
            if (g.sale.paid || (kind == UnpaidKind::Overdue && !overdue))
                continue;
            ASSERT_LT(next, listing.rows.size());
            const UnpaidInvoice& row = listing.rows[next++];
            ASSERT_EQ(row.recordNumber, n);
            EXPECT_EQ(std::llround(row.balance * 100.0), g.owedCents) << n;
            const std::vector<std::string> cells = UnpaidCells(row);
            EXPECT_EQ(cells[1], "Name" + std::to_string(n) + ", , 555-" + std::to_string(n));
            EXPECT_EQ(cells[4], mdY(floor<days>(g.soldAt)));
            EXPECT_EQ(cells[5], g.sale.termsIndex == 0 ? "COD" : net == netDays.end() ? "" : FindTermsName(local, g.sale.termsIndex));
            EXPECT_EQ(cells[6], hasDue ? mdY(floor<days>(g.soldAt) + days{net->second}) : "") << n;
            EXPECT_EQ(row.overdue, overdue) << n;
            totalCents += g.owedCents;
        }
        EXPECT_EQ(next, listing.rows.size());
        // The printed report: the "Due" heading's column holds the balance.
        EXPECT_EQ(UnpaidReportHeading(kNow),
                  "\n\nUnpaid Invoices Report\nMonday, December 07, 2026\n\nRecord#\tCustomer\tTotal\tDue\tDate\n");
        const std::vector<std::string> first = UnpaidCells(listing.rows[0]);
        EXPECT_EQ(UnpaidReportBody(listing.rows).substr(0, UnpaidReportBody(listing.rows).find('\n') + 1),
                  first[0] + "\t" + first[1] + "\t" + first[2] + "\t" + first[3] + "\t" + first[4] + "\n");
        EXPECT_DOUBLE_EQ(listing.totalBalance, static_cast<double>(totalCents) / 100);
    }
}

}  // namespace
