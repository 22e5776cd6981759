#include "ReportBench.h"

#include "BenchFiles.h"
#include "BenchPair.h"
#include "reports/DrawerCount.h"
#include "reports/SaleScan.h"
#include "reports/SaleSearch.h"
#include "reports/SalesSummary.h"
#include "storage/files/CLocalFile.h"
#include "receivables/PaidRule.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kSales = 500000;
constexpr int kPayments = 1000000;
constexpr std::size_t kAlone = 100;  // appends timed before the report starts

CalendarTime dayOf(int n)
{
    CalendarTime t{2018 + n / 70000, 1 + (n / 6000) % 12, 1 + (n / 200) % 28, 9 + n % 8, 0, 0};
    return t;
}

InvoiceRecord reportSale(int n)
{
    InvoiceRecord r = ClearedInvoice();
    r.recordNumber = n;
    r.payType = n % 3 == 0 ? "Visa" : "Cash";
    r.cashier = n % 2 ? "Ann" : "Bob";
    DateRecord(r, dayOf(n));
    for (std::size_t i = 0; i < 6; ++i) {
        r.itemNumber[i] = "ITEM-" + std::to_string((n * 7 + static_cast<int>(i) * 13) % 5000);
        r.description[i] = "Report bench product " + std::to_string(i);
        r.category[i] = "Books";
        r.qty[i] = 1;
        r.price[i] = 9.95f;
        r.cost[i] = 6.5f;
    }
    r.taxableSubtotal = r.total = 59.7f;
    r.totalCost = 39;
    return r;
}



// Runs report() while a register in another process appends sales, one after
// another, until the report is done. Before each append the register times
// taking the invoice file's exclusive lock as an append takes it (and lets it
// go): that is its wait for the report. The line gives the worst wait, and the
// worst whole append (its flushes included) during the report and before it,
// what the disk alone gives.
void registerWaits(const std::string& folder, const std::function<void()>& report)
{
    const std::string name = "register_wait_during_report";
    if (!benchWanted(name))
        return;
    int stop[2], times[2];
    if (pipe(stop) != 0 || pipe(times) != 0)
        return;
    const pid_t pid = fork();
    if (pid == 0) {
        close(stop[1]);
        close(times[0]);
        const CLocalFile mine(folder);
        std::vector<double> ms;
        pollfd p{stop[0], POLLIN, 0};
        for (std::size_t i = 0; i < kAlone || poll(&p, 1, 0) == 0; ++i) {
            InvoiceRecord sale = reportSale(static_cast<int>(i));
            int count = 0;
            ms.push_back(timeMs([&] {
                DataFile held;
                CLocalFile::OpenFile(held, mine.GetPath("Invoices"), OpenMode::ReadWrite);
            }));
            ms.push_back(timeMs([&] { AppendInvoice(mine, sale, count, dayOf(static_cast<int>(i))); }));
            if (i + 1 == kAlone && write(times[1], "r", 1) != 1)  // the report may start
                _exit(2);
        }
        const auto* bytes = reinterpret_cast<const char*>(ms.data());
        for (std::size_t left = ms.size() * sizeof(double); left > 0;) {
            const ssize_t w = write(times[1], bytes, left);
            if (w <= 0)
                _exit(3);
            bytes += w, left -= static_cast<std::size_t>(w);
        }
        _exit(0);
    }
    close(stop[0]);
    close(times[1]);
    char ready = 0;
    if (read(times[0], &ready, 1) != 1)
        return;
    int reports = 0;
    const double reportMs = timeMs([&] {
        for (; reports < 3; ++reports)
            report();
    });
    close(stop[1]);
    std::vector<double> all;
    double ms;
    while (read(times[0], &ms, sizeof ms) == static_cast<ssize_t>(sizeof ms))
        all.push_back(ms);
    close(times[0]);
    waitpid(pid, nullptr, 0);
    if (all.size() <= 2 * kAlone)
        return benchLine(name, "appends=0", "worst_wait_ms<50", false);
    // Pairs of (wait, append) times; the first kAlone pairs ran before the report.
    double aloneWorst = 0, appendWorst = 0;
    std::vector<double> waits;
    for (std::size_t i = 0; i + 1 < all.size(); i += 2) {
        if (i < 2 * kAlone) {
            aloneWorst = std::max(aloneWorst, all[i + 1]);
            continue;
        }
        waits.push_back(all[i]);
        appendWorst = std::max(appendWorst, all[i + 1]);
    }
    std::sort(waits.begin(), waits.end());
    benchLine(name,
              strprintf("worst_wait_ms=%.1f median_wait_ms=%.2f appends=%zu reports=%d report_ms=%.0f "
                        "worst_append_ms=%.1f worst_append_alone_ms=%.1f",
                        waits.back(), waits[waits.size() / 2], waits.size(), reports, reportMs / reports, appendWorst,
                        aloneWorst),
              "worst_wait_ms<50", waits.back() < 50);
}
}  // namespace

void runReportBenchmarks(const std::string& folder)
{
    if (!benchWanted("period_summary_500k_sales") && !benchWanted("find_sales_description_500k_sales") &&
        !benchWanted("drawer_count_500k_sales_1m_payments") && !benchWanted("register_wait_during_report"))
        return;
    const std::string shared = folder + "reports/";
    std::filesystem::create_directory(shared);
    const CLocalFile local(shared);
    const std::string sales = local.GetPath("Invoices"), payments = local.GetPath("Payments");
    std::vector<std::uint8_t> salesHeader(4), paymentsHeader(PaymentFileHeader::kSize);
    codec::putI32(salesHeader.data(), 0, kSales);
    PaymentFileHeader ph;
    ph.count = ph.nextId = kPayments;
    ph.encode(paymentsHeader.data());
    const bool built =
        WriteCountedFile(sales, salesHeader, InvoiceRecord::kSize, kSales,
                  [](int n, std::uint8_t* at) { reportSale(n).encode(at); }) &&
        WriteCountedFile(payments, paymentsHeader, PaymentRecord::kSize, kPayments, [](int n, std::uint8_t* at) {
            PaymentRecord p;
            p.invoiceNumber = n / 2;
            p.paymentId = n;
            p.amount = 12.5f;
            p.payType = n % 2 ? "Cash" : "Check";
            p.date = OleDate::fromCalendar(dayOf(n / 2));
            p.encode(at);
        });
    if (!built) {
        std::fprintf(stderr, "report benchmark: cannot build the files in %s\n", shared.c_str());
        std::filesystem::remove_all(shared);
        return;
    }

    volatile long long sink = 0;
    const auto readSales = [&] { sink = sink + ReadWholeFile(sales); };
    const CalendarTime now{2020, 6, 15, 12, 0, 0};
    const auto summary = [&] {
        PeriodSums sums(SelectPeriod(SalesPeriod::Year, false, now));
        ScanSales(local, sums);
        sink = sink + sums.sums().count;
    };
    benchPair({"period_summary_500k_sales", "read_64k_blocks", 1.5, summary, readSales, {}, 7});
    SaleSearchInput nothing;
    nothing.description = "no product is called this";
    const SaleSearchCriteria criteria = SaleSearchCriteria::From(nothing);
    benchPair({"find_sales_description_500k_sales", "read_64k_blocks", 1.5,
               [&] {
                   SaleSearch search(criteria);
                   ScanSales(local, search);
                   sink = sink + static_cast<long long>(search.size());
               },
               readSales, {}, 7});
    const SalesFileHeader header;
    benchPair({"drawer_count_500k_sales_1m_payments", "read_64k_blocks_both", 1.5,
               [&] {
                   DrawerTally tally(header.paymentTypes, dayOf(250000));
                   ScanSalesAndPayments(local, tally, tally);
                   sink = sink + static_cast<long long>(tally.total());
               },
               [&] { sink = sink + ReadWholeFile(sales) + ReadWholeFile(payments); }, {}, 7});
    registerWaits(shared, summary);
    std::filesystem::remove_all(shared);
}
