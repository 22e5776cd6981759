#include "reports/DrawerCount.h"

#include "receivables/PaidRule.h"
#include "storage/files/CountedFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/TextFormat.h"

#include <cstdlib>

namespace {
constexpr std::size_t kMaxTypes = 23;
constexpr std::size_t kTypeWidth = 23;
// Face values of the counted boxes, in the window's order.
constexpr std::array<double, 12> kFace{0.01, 0.05, 0.10, 0.25, 0.50, 1, 1, 5, 10, 20, 50, 100};
}  // namespace

DrawerTally::DrawerTally(const std::string& paymentTypes, const CalendarTime& day, const std::string& cashier)
    : key_(DateKey(day.year, day.month, day.day)), cashier_(cashier)
{
    const int lines = CountLines(paymentTypes);
    for (int i = 0; i < lines && names_.size() < kMaxTypes; ++i) {
        std::string name = GetLine(paymentTypes, i).substr(0, kTypeWidth);
        if (!IsDeferredPayType(name))
            names_.push_back(name);
    }
    cash_ = 0;
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (EqualsIgnoreCase(names_[i], "Cash")) {
            cash_ = i;
            break;
        }
    names_.push_back("Unknown Type");
    sums_.assign(names_.size(), 0.0);
}

void DrawerTally::add(std::string_view type, float amount)
{
    std::size_t bucket = names_.size() - 1;
    for (std::size_t i = 0; i + 1 < names_.size(); ++i)
        if (names_[i] == type) {
            bucket = i;
            break;
        }
    sums_[bucket] += CentAmount(amount);
}

void DrawerTally::AddSale(const SaleView& sale)
{
    if (sale.dateKey() != key_ || IsDeferredPayType(std::string(sale.payType())))
        return;
    if (!cashier_.empty() && !EqualsIgnoreCase(std::string(sale.cashier()), cashier_))
        return;
    add(sale.payType(), sale.total());
}

void DrawerTally::AddPayment(const PaymentView& payment)
{
    CalendarTime t;
    const OleDate date = payment.date();
    if (!date.isValid() || !date.toCalendar(t) || DateKey(t.year, t.month, t.day) != key_)
        return;
    if (!cashier_.empty() && !EqualsIgnoreCase(std::string(payment.cashier()), cashier_))
        return;
    add(payment.payType(), payment.amount());
}

double DrawerTally::other() const
{
    double sum = 0;
    for (std::size_t i = 0; i < sums_.size(); ++i)
        if (i != cash_)
            sum += sums_[i];
    return sum;
}

double DrawerCounts::Read(const std::string& text)
{
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? 0 : v;
}

double DrawerCounts::Value(std::size_t box) const { return counts[box] * kFace[box]; }

double DrawerCounts::Coins() const
{
    double sum = 0;
    for (std::size_t i = 0; i < 6; ++i)
        sum += Value(i);
    return sum;
}

double DrawerCounts::Bills() const
{
    double sum = 0;
    for (std::size_t i = 6; i < 12; ++i)
        sum += Value(i);
    return sum;
}

std::string DrawerAmount(double v) { return strprintf("%9.2f", v); }

std::string DrawerReportHeading(const CalendarTime& day)
{
    return strprintf("\n\nCash Register Drawer #%u Reconciliation\n", 1u) + FormatCalendarTime(day, "Date: %m/%d/%Y");
}

std::string DrawerReportBody(const DrawerCounts& c, const DrawerTally& t)
{
    static const char* const labels[12] = {"\nPennies\t", "\nNickels\t", "\nDimes\t", "\nQuarters\t", "\nHalves\t",
                                           "\nSilver Dollars\t", "\n\nOnes\t", "\nFives\t", "\nTens\t",
                                           "\nTwenties\t", "\nFifties\t", "\nHundreds\t"};
    std::string body = "\n";
    for (std::size_t i = 0; i < 12; ++i) {
        body += labels[i] + DrawerAmount(c.Value(i));
        if (i == 5)
            body += "\nCoin Total\t" + DrawerAmount(c.Coins());
    }
    body += "\nBill Total\t" + DrawerAmount(c.Bills());
    body += "\n\nCash Total\t" + DrawerAmount(c.Cash());
    body += strprintf("\nStarting Cash\t%9.2f", c.drawerStart);
    body += strprintf("\nCash Sales\t%9.2f", t.cash());
    body += strprintf("\nCash Error\t%9.2f", c.Cash() - c.drawerStart - t.cash());
    body += strprintf("\n\nOther Total\t%9.2f", c.actualOther);
    body += "\nOther Sales\t" + DrawerAmount(t.other());
    body += strprintf("\nOther Error\t%9.2f", c.actualOther - t.other());
    body += strprintf("\n\nDrawer Total\t%9.2f", c.Cash() + c.actualOther);
    body += strprintf("\nMinus Starting Cash\t%9.2f", c.drawerStart);
    body += strprintf("\nTotal Deposit\t%9.2f", c.ActualTotal());
    body += strprintf("\nTotal Sales\t%9.2f", t.total());
    body += strprintf("\nDrawer Error\t%9.2f", c.ActualTotal() - t.total());
    body += "\n";
    return body;
}

const std::vector<std::int16_t>& DrawerReportWidths()
{
    static const std::vector<std::int16_t> w{180, 100, 100, 100, 100, 100, 100, 100};
    return w;
}

const std::vector<std::uint16_t>& DrawerReportFormats()
{
    static const std::vector<std::uint16_t> f{0, 2, 2, 2, 2, 2, 2, 2};
    return f;
}
