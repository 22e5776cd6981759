#include "reports/graphs/SaleFigures.h"

#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cmath>

SaleMoment MomentOf(const SaleView& sale)
{
    SaleMoment m;
    CalendarTime t;
    if (sale.saleTime().toCalendar(t)) {
        m.year = t.year, m.month = t.month, m.day = t.day, m.hour = t.hour;
    } else {
        m.year = sale.year(), m.month = sale.month(), m.day = sale.day();
    }
    m.days = daysFromCivil(m.year, m.month, m.day);
    const long long thursday = (m.days + 3) % 7;  // 1 January 1970 was a Thursday
    m.weekday = static_cast<int>(thursday < 0 ? thursday + 7 : thursday);
    return m;
}

double SaleAmount(const SaleView& sale) { return CentAmount(sale.taxableSubtotal()) + CentAmount(sale.exemptSubtotal()); }

void HourFigures::AddSale(const SaleView& sale)
{
    const SaleMoment m = MomentOf(sale);
    const int key = m.dateKey();
    if (key >= firstKey_ && key <= lastKey_)
        buckets_[static_cast<std::size_t>(m.hour)] += SaleAmount(sale);
}

GraphScale HourFigures::scale() const
{
    GraphScale s;
    s.smallest = *std::min_element(buckets_.begin(), buckets_.end());
    s.largest = *std::max_element(buckets_.begin(), buckets_.end());
    s.empty = s.smallest == 0 && s.largest == 0;
    if (s.largest == s.smallest)
        s.largest = s.smallest + 1;
    return s;
}

std::string HourLabel(int hour)
{
    if (hour == 0)
        return "12am";
    if (hour == 12)
        return "12pm";
    return std::to_string(hour % 12);
}

GraphColour HourColour(int h)
{
    if (h <= 12)
        return {30 * (13 - h) / 13 + 255 * h / 23, 0, 200 * (13 - h) / 13};
    return {255 * (23 - h) / 23 + 30 * h / 23, 200 * h / 23, 3 * h / 23};
}

void WeekHourFigures::AddSale(const SaleView& sale)
{
    const SaleMoment m = MomentOf(sale);
    const int key = m.dateKey();
    if (key >= firstKey_ && key <= lastKey_)
        cells_[m.weekday][m.hour] += SaleAmount(sale);
}

int WeekHourFigures::firstHour() const
{
    for (int h = 0; h < 24; ++h)
        for (int d = 0; d < 7; ++d)
            if (cells_[d][h] != 0)
                return h;
    return 24;
}

int WeekHourFigures::lastHour() const
{
    for (int h = 23; h >= 0; --h)
        for (int d = 0; d < 7; ++d)
            if (cells_[d][h] != 0)
                return h;
    return -1;
}

GraphScale WeekHourFigures::scale() const
{
    GraphScale s;
    const int first = firstHour(), last = lastHour();
    if (first > last)
        return s;
    s.empty = false;
    s.smallest = s.largest = cells_[0][first];
    for (int h = first; h <= last; ++h)
        for (int d = 0; d < 7; ++d) {
            s.smallest = std::min(s.smallest, cells_[d][h]);
            s.largest = std::max(s.largest, cells_[d][h]);
        }
    return s;
}

int WeekHourFigures::Band(double figure, const GraphScale& scale)
{
    if (scale.span() <= 0)
        return 9;
    return std::clamp(static_cast<int>(figure / scale.span() * 10), 0, 9);
}

std::string WeekRowLabel(int hour)
{
    if (hour == 0 || hour == 6 || hour == 12 || hour == 18)
        return strprintf("%d:00 %s", hour % 12 == 0 ? 12 : hour % 12, hour < 12 ? "AM" : "PM");
    return strprintf("%d:00", hour % 12);
}

const char* WeekDayLabel(int weekday)
{
    static const char* const names[] = {"Mon", "Tue", "Wed", "Thr", "Fri", "Sat", "Sun"};
    return names[weekday];
}

GraphColour BandColour(int band)
{
    if (band == 9)
        return {0, 120, 0};
    return {220 - 25 * band, 255 - 15 * band, 255 - 30 * band};
}

std::string LegendLabel(int band) { return strprintf("%2u%% to %u%%", static_cast<unsigned>(10 * band + 1), static_cast<unsigned>(10 * (band + 1))); }

MonthFigures::MonthFigures(const CalendarTime& now) : first_(now.year * 12 + now.month - 1 - (kMonths - 1)) {}

void MonthFigures::AddSale(const SaleView& sale)
{
    const SaleMoment m = MomentOf(sale);
    const int i = m.year * 12 + m.month - 1 - first_;
    if (i < 0 || i >= kMonths)
        return;
    sales_[static_cast<std::size_t>(i)] += SaleAmount(sale);
    cost_[static_cast<std::size_t>(i)] += CentAmount(sale.totalCost());
}

int MonthFigures::year(int i) const { return (first_ + i) / 12; }
int MonthFigures::month(int i) const { return (first_ + i) % 12 + 1; }

int MonthFigures::marginPercent(int i) const
{
    if (cost_[i] == 0)
        return 0;
    return static_cast<int>((sales_[i] - cost_[i]) / cost_[i] * 100);
}

std::string MonthFigures::label(int i) const
{
    return strprintf("%2u / %02u\n%.0f", static_cast<unsigned>(month(i)), static_cast<unsigned>(year(i) % 100), sales_[i]);
}

TrendFigures::TrendFigures(const CalendarTime& now) : first_(daysFromCivil(now.year, now.month, now.day) - (kDays - 1)) {}

void TrendFigures::AddSale(const SaleView& sale)
{
    const long long i = MomentOf(sale).days - first_;
    if (i < 0 || i >= kDays)
        return;
    sales_[static_cast<std::size_t>(i)] += SaleAmount(sale);
    cost_[static_cast<std::size_t>(i)] += CentAmount(sale.totalCost());
}

double TrendFigures::marginPercent(int i) const { return hasMargin(i) ? (sales_[i] - cost_[i]) / cost_[i] * 100 : 0; }

CalendarTime TrendFigures::date(int i) const
{
    CalendarTime t;
    civilFromDays(first_ + i, t.year, t.month, t.day);
    return t;
}

GraphScale ZeroBasedScale(const std::vector<double>& values)
{
    GraphScale s;
    s.smallest = s.largest = 0;
    for (double v : values) {
        s.smallest = std::min(s.smallest, v);
        s.largest = std::max(s.largest, v);
    }
    s.empty = s.smallest == 0 && s.largest == 0;
    if (s.empty)
        s.largest = 1;
    return s;
}
