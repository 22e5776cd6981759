#include "settings/CashierLogout.h"

#include "../storage/InvoiceTestSupport.h"
#include "support/DataFolder.h"
#include "support/StoredRecords.h"

#include <string>

namespace {

void addSale(const CLocalFile& local, const std::string& cashier, const CalendarTime& when, float total,
             const std::string& payType = "Cash", std::uint8_t level = 0)
{
    storeSale(local, SaleSpec().total(total).cashier(cashier).payType(payType).level(level).when(when));
}

const char* const kColumns = "Rec# \t Total\t Payment Type \t Customer Type \t Time\r\n";
const std::string kMaryFrom9To12 = std::string("Cashier Log-out\r\n\r\nCashier:Mary\r\n"
                                               "Sun Dec  6 09:00:00 2026 to Sun Dec  6 12:00:00 2026\r\n\r\n") +
                                   kColumns;

using CashierLogoutReportTest = DataFolder;
}  // namespace

// 6 December 2026 is a Sunday.
TEST_F(CashierLogoutReportTest, KeepsOnlyTheCashiersSalesFromLogInToNowBothIncluded)
{
    header.levelNames[1] = "Trade";  // the store's own names are used
    addSale(local, "Mary", at(2026, 12, 6, 8, 59, 59), 1.0f);                  // 0: before the log-in
    addSale(local, "Mary", at(2026, 12, 6, 9, 0, 0), 12.5f, "Cash", 1);        // 1: at the log-in
    addSale(local, "John", at(2026, 12, 6, 10, 0, 0), 7.0f);                   // 2: another cashier
    addSale(local, "mary", at(2026, 12, 6, 10, 30, 0), 8.0f);                  // 3: name differs in case
    addSale(local, "Mary", at(2026, 12, 6, 11, 15, 30), 1234.567f, "Visa", 7); // 4: level out of range
    addSale(local, "Mary", at(2026, 12, 6, 12, 0, 0), -5.0f, "Check", 0);      // 5: at now
    addSale(local, "Mary", at(2026, 12, 6, 12, 0, 1), 3.0f);                   // 6: after now
    addSale(local, "Mary Ann", at(2026, 12, 6, 11, 0, 0), 4.0f);               // 7: longer name

    const std::string report = CashierLogoutReport(local, header, "Mary", OleDate::fromCalendar(2026, 12, 6, 9, 0, 0),
                                                   at(2026, 12, 6, 12, 0, 0));
    const std::string expected = kMaryFrom9To12 +
                                 "1      \t    12.50\tCash                \tTrade               \t"
                                 "Sun Dec  6 09:00:00 2026\r\n"
                                 "4      \t  1234.57\tVisa                \t                    \t"
                                 "Sun Dec  6 11:15:30 2026\r\n"
                                 "5      \t    -5.00\tCheck               \tRetail              \t"
                                 "Sun Dec  6 12:00:00 2026\r\n";
    EXPECT_EQ(report, expected);
}

TEST_F(CashierLogoutReportTest, DamagedOrMissingFileReportsOnlyTheSalesPresent)
{
    const OleDate login = OleDate::fromCalendar(2026, 12, 6, 9, 0, 0);
    const CalendarTime now = at(2026, 12, 6, 12, 0, 0);
    const std::string& heading = kMaryFrom9To12;

    // No invoice file at all: the heading alone, and no file is created.
    EXPECT_EQ(CashierLogoutReport(local, header, "Mary", login, now), heading);
    EXPECT_FALSE(fileExists(local.GetPath("Invoices")));

    for (int hour : {9, 10, 11})
        addSale(local, "Mary", at(2026, 12, 6, hour, 30, 0), static_cast<float>(hour - 8));
    // The count claims 9 sales, and the third record is cut short.
    std::vector<std::uint8_t> bytes = readBytes(local.GetPath("Invoices"));
    bytes[0] = 9;
    bytes.resize(4 + 2 * InvoiceRecord::kSize + 100);
    writeBytes(local.GetPath("Invoices"), bytes);
    const std::string twoSales =
        heading + "0      \t     1.00\tCash                \tRetail              \tSun Dec  6 09:30:00 2026\r\n"
                  "1      \t     2.00\tCash                \tRetail              \tSun Dec  6 10:30:00 2026\r\n";
    EXPECT_EQ(CashierLogoutReport(local, header, "Mary", login, now), twoSales);

    // A negative count is damage: the sales present are still reported.
    std::fill(bytes.begin(), bytes.begin() + 4, 0xff);
    writeBytes(local.GetPath("Invoices"), bytes);
    EXPECT_EQ(CashierLogoutReport(local, header, "Mary", login, now), twoSales);
}

TEST_F(CashierLogoutReportTest, ScansPastBlockBoundariesAndSkipsUndatedSales)
{
    // 40 sales, one a minute from 10:00; Mary rang up every third one.
    for (int i = 0; i < 40; ++i)
        addSale(local, i % 3 == 0 ? "Mary" : "Bob", at(2026, 5, 4, 10 + i / 60, i % 60, 0), static_cast<float>(i));
    // Sale 15 loses its time: it cannot lie in any period.
    std::vector<std::uint8_t> bytes = readBytes(local.GetPath("Invoices"));
    const std::size_t status = 4 + 15 * InvoiceRecord::kSize + InvoiceRecord::kSaleTimeOff + 8;
    bytes[status] = 1;
    writeBytes(local.GetPath("Invoices"), bytes);

    // From 10:03 to 10:36: Mary's sales 3, 6, ..., 36 without 15.
    const std::string report = CashierLogoutReport(local, header, "Mary", OleDate::fromCalendar(2026, 5, 4, 10, 3, 0),
                                                   at(2026, 5, 4, 10, 36, 0));
    std::string numbers;
    for (std::size_t pos = report.find(kColumns) + std::string(kColumns).size(); pos < report.size();) {
        const std::size_t end = report.find("\r\n", pos);
        numbers += report.substr(pos, report.find('\t', pos) - pos) + "|";
        pos = end + 2;
    }
    EXPECT_EQ(numbers, "3      |6      |9      |12     |18     |21     |24     |27     |30     |33     |36     |");
    EXPECT_NE(report.find("27     \t    27.00\tCash"), std::string::npos);
    EXPECT_NE(report.find("Mon May  4 10:36:00 2026\r\n"), std::string::npos);
}

TEST_F(CashierLogoutReportTest, LogInTimeNotSetPutsNoLowerBound)
{
    addSale(local, "Mary", at(2020, 1, 1, 8, 0, 0), 1.0f);
    addSale(local, "Mary", at(2026, 12, 7, 8, 0, 0), 2.0f);  // after now
    const std::string report = CashierLogoutReport(local, header, "Mary", OleDate{}, at(2026, 12, 6, 12, 0, 0));
    EXPECT_EQ(report, std::string("Cashier Log-out\r\n\r\nCashier:Mary\r\n to Sun Dec  6 12:00:00 2026\r\n\r\n") +
                          kColumns +
                          "0      \t     1.00\tCash                \tRetail              \tWed Jan  1 08:00:00 2020\r\n");
}
