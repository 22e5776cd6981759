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

    // Without a log-in time there is no lower bound: sale 0 comes first.
    EXPECT_EQ(CashierLogoutReport(local, header, "Mary", OleDate{}, at(2026, 12, 6, 12, 0, 0)),
              std::string("Cashier Log-out\r\n\r\nCashier:Mary\r\n to Sun Dec  6 12:00:00 2026\r\n\r\n") + kColumns +
                  "0      \t     1.00\tCash                \tRetail              \tSun Dec  6 08:59:59 2026\r\n" +
                  expected.substr(kMaryFrom9To12.size()));
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
    // The count claims 9 sales, the third record is cut short, and the first
    // has lost its time: it cannot lie in any period.
    std::vector<std::uint8_t> bytes = readBytes(local.GetPath("Invoices"));
    bytes[0] = 9;
    bytes.resize(4 + 2 * InvoiceRecord::kSize + 100);
    bytes[4 + InvoiceRecord::kSaleTimeOff + 8] = 1;
    writeBytes(local.GetPath("Invoices"), bytes);
    const std::string present =
        heading + "1      \t     2.00\tCash                \tRetail              \tSun Dec  6 10:30:00 2026\r\n";
    EXPECT_EQ(CashierLogoutReport(local, header, "Mary", login, now), present);

    // A negative count is damage: the sales present are still reported.
    std::fill(bytes.begin(), bytes.begin() + 4, 0xff);
    writeBytes(local.GetPath("Invoices"), bytes);
    EXPECT_EQ(CashierLogoutReport(local, header, "Mary", login, now), present);
}
