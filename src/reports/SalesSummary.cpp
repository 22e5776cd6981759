#include "reports/SalesSummary.h"

#include "storage/records/TextFormat.h"

#include <cmath>
#include <cstdlib>

bool PeriodSelection::Selects(const SaleView& sale) const
{
    if (sale.year() != year)
        return false;
    switch (kind) {
    case SalesPeriod::Day: return sale.month() == month && sale.day() == day;
    case SalesPeriod::Week: return sale.week() == week;
    case SalesPeriod::Month: return sale.month() == month;
    case SalesPeriod::Quarter: return sale.period() == quarter;
    case SalesPeriod::Year: return true;
    }
    return false;
}

CalendarTime DaysBefore(const CalendarTime& t, int days)
{
    const OleDate d = OleDate::fromCalendar(t.year, t.month, t.day, t.hour, t.minute, t.second);
    OleDate back = d;
    back.value -= days;
    CalendarTime out;
    back.toCalendar(out);
    return out;
}

PeriodSelection SelectPeriod(SalesPeriod kind, bool last, const CalendarTime& now)
{
    CalendarTime ref = now;
    if (last && kind == SalesPeriod::Day)
        ref = DaysBefore(now, 1);
    else if (last && kind == SalesPeriod::Week)
        ref = DaysBefore(now, 7);
    else
        ref = DaysBefore(now, 0);  // fills the day of the week and of the year
    PeriodSelection p;
    p.kind = kind;
    p.year = ref.year;
    p.month = ref.month;
    p.quarter = QuarterOf(ref.month);
    p.week = ref.weekOfYear();
    p.day = ref.day;
    if (!last)
        return p;
    if (kind == SalesPeriod::Month) {
        p.month = now.month == 1 ? 12 : now.month - 1;
        p.year = now.month == 1 ? now.year - 1 : now.year;
    } else if (kind == SalesPeriod::Quarter) {
        p.quarter = p.quarter == 0 ? 3 : p.quarter - 1;
        p.year = QuarterOf(now.month) == 0 ? now.year - 1 : now.year;
    } else if (kind == SalesPeriod::Year) {
        p.year = now.year - 1;
    }
    return p;
}

const std::array<PeriodCommand, 10>& PeriodCommands()
{
    static const std::array<PeriodCommand, 10> commands{{
        {"Sales Today", SalesPeriod::Day, false},
        {"Sales This Week", SalesPeriod::Week, false},
        {"Sales This Month", SalesPeriod::Month, false},
        {"Sales This Quarter", SalesPeriod::Quarter, false},
        {"Sales This Year", SalesPeriod::Year, false},
        {"Sales Yesterday", SalesPeriod::Day, true},
        {"Sales Last Week", SalesPeriod::Week, true},
        {"Sales Last Month", SalesPeriod::Month, true},
        {"Sales Last Quarter", SalesPeriod::Quarter, true},
        {"Sales Last Year", SalesPeriod::Year, true},
    }};
    return commands;
}

void SaleSums::Add(const SaleView& sale)
{
    ++count;
    const double t = CentAmount(sale.taxableSubtotal()), e = CentAmount(sale.exemptSubtotal());
    const double cost = CentAmount(sale.totalCost());
    taxable += t;
    exempt += e;
    tax1 += CentAmount(sale.tax1());
    tax2 += CentAmount(sale.tax2());
    handling += CentAmount(sale.handling());
    total += CentAmount(sale.total());
    totalCost += cost;
    profit += t + e - cost;
}

void PeriodSums::AddSale(const SaleView& sale)
{
    if (byPeriod_ ? period_.Selects(sale) : (sale.dateKey() >= firstKey_ && sale.dateKey() <= lastKey_))
        sums_.Add(sale);
}

std::string RangeTitle(const CalendarTime& first, const CalendarTime& last)
{
    return FormatCalendarTime(DaysBefore(first, 0), "%A, %B %d, %Y") + "\nto " +
           FormatCalendarTime(DaysBefore(last, 0), "%A, %B %d, %Y");
}

namespace {
// a / b, or 0 where that is no number (no sales, no cost).
double ratio(double a, double b)
{
    if (b == 0)
        return 0;
    const double r = a / b;
    return std::isfinite(r) ? r : 0;
}

std::string money(double v, bool cents) { return cents ? strprintf("%.2f", v) : strprintf("%.0f", v); }
}  // namespace

SummaryTexts FormatSummary(const SaleSums& s, bool showCents)
{
    SummaryTexts t;
    const double combined = s.taxable + s.exempt;
    t.taxable = money(s.taxable, showCents);
    t.exempt = money(s.exempt, showCents);
    t.combined = money(combined, showCents);
    t.tax = money(s.tax1, showCents);
    t.tax2 = money(s.tax2, showCents);
    t.handling = money(s.handling, showCents);
    t.total = money(s.total, showCents);
    t.totalCost = strprintf("%.2f", s.totalCost);
    t.grossProfit = strprintf("%.2f", s.profit);
    t.count = strprintf("%lld", s.count);
    t.saleAverage = strprintf("%.2f", ratio(combined, static_cast<double>(s.count)));
    t.profitAverage = strprintf("%.2f", ratio(s.profit, static_cast<double>(s.count)));
    t.grossMargin = strprintf("%.2f", ratio(combined - s.totalCost, s.totalCost) * 100);
    return t;
}

std::string SummaryHeading(const std::string& title, const CalendarTime& now)
{
    return "\n\n" + title + "\n" + FormatCalendarTime(now, "Print Date: %m/%d/%Y") + "\n\n";
}

std::string SummaryBody(const SummaryTexts& t)
{
    const auto line = [](const char* label, const std::string& box) {
        return strprintf("%s\t%.2f\n", label, std::strtod(box.c_str(), nullptr));
    };
    return line("Subtotal:", t.taxable) + line("T.E.-Sub:", t.exempt) + line("Tax:", t.tax) + line("Tax2:", t.tax2) +
           line("Handling:", t.handling) + line("Total:", t.total) + line("Profit:", t.grossProfit) + "\n" +
           line("Total Cost:", t.totalCost) + line("Gross Profit:", t.grossProfit) +
           line("Number of Sales:", t.count) + line("Sales Avg:", t.saleAverage) +
           line("Profit Avg:", t.profitAverage) + line("Gross Margin%", t.grossMargin);
}

const std::vector<std::int16_t>& SummaryWidths()
{
    static const std::vector<std::int16_t> w{150, 150, 100, 100, 100, 100, 100, 100};
    return w;
}

const std::vector<std::uint16_t>& SummaryFormats()
{
    static const std::vector<std::uint16_t> f{0, 2, 2, 2, 2, 2, 2, 2};
    return f;
}
