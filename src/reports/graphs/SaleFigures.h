#pragma once
// The figures the sales graphs draw, each gathered in one pass over the sales
// (an accumulator of SaleScan.h). A sale counts at its date-time: the day and
// the hour it was rung up. Amounts are the sale's subtotals (taxable and tax
// exempt, before tax and handling), each taken as its cents.

#include "reports/SaleScan.h"
#include "storage/records/OleDate.h"

#include <array>
#include <string>
#include <vector>

struct GraphColour {
    int red = 0, green = 0, blue = 0;
    bool operator==(const GraphColour&) const = default;
};

// When a sale was rung up: its date-time, or its stored date at midnight when
// the date-time is not set.
struct SaleMoment {
    int year = 0, month = 0, day = 0, hour = 0;
    int weekday = 0;     // 0 Monday .. 6 Sunday
    long long days = 0;  // days since 1 January 1970
    int dateKey() const { return DateKey(year, month, day); }
};
SaleMoment MomentOf(const SaleView& sale);
// Subtotal of the sale (taxable + tax exempt), summed as cents.
double SaleAmount(const SaleView& sale);

// The range a scale spans. `empty` when nothing is to be scaled: every figure
// is 0 (no sales in the range); the scale is then 0 to 1.
struct GraphScale {
    double smallest = 0, largest = 1;
    bool empty = true;
    double span() const { return largest - smallest; }
};

// Sales by hour of day: 24 buckets over an inclusive range of date keys.
class HourFigures : public SaleAccumulator {
public:
    HourFigures(int firstKey, int lastKey) : firstKey_(firstKey), lastKey_(lastKey) {}
    int firstKey() const { return firstKey_; }
    int lastKey() const { return lastKey_; }
    void AddSale(const SaleView& sale) override;
    const std::array<double, 24>& buckets() const { return buckets_; }
    // From the least to the greatest bucket; equal ones get a span of 1.
    GraphScale scale() const;

private:
    int firstKey_, lastKey_;
    std::array<double, 24> buckets_{};
};
// "12am", "1" .. "11", "12pm", "1" .. "11".
std::string HourLabel(int hour);
// Night hours shade from dark blue to red through the morning, the afternoon
// and evening from red towards green.
GraphColour HourColour(int hour);

// Sales by hour of week: 7 days (Monday first) by 24 hours over an inclusive
// range of date keys.
class WeekHourFigures : public SaleAccumulator {
public:
    WeekHourFigures(int firstKey, int lastKey) : firstKey_(firstKey), lastKey_(lastKey) {}
    int firstKey() const { return firstKey_; }
    int lastKey() const { return lastKey_; }
    void AddSale(const SaleView& sale) override;
    double cell(int weekday, int hour) const { return cells_[weekday][hour]; }
    // The rows drawn: the earliest to the latest hour holding sales on any day;
    // none (first > last) without sales.
    int firstHour() const;
    int lastHour() const;
    // Over every cell of the rows drawn.
    GraphScale scale() const;
    // The colour band of a figure of that scale, 0..9; the highest band when
    // every cell is equal.
    static int Band(double figure, const GraphScale& scale);

private:
    int firstKey_, lastKey_;
    double cells_[7][24] = {};
};
std::string WeekRowLabel(int hour);
const char* WeekDayLabel(int weekday);  // "Mon" .. "Sun"
GraphColour BandColour(int band);
// "%2u%% to %u%%" of band b.
std::string LegendLabel(int band);

// Sales and cost of the 13 months that end with the current one.
class MonthFigures : public SaleAccumulator {
public:
    static constexpr int kMonths = 13;
    explicit MonthFigures(const CalendarTime& now);
    void AddSale(const SaleView& sale) override;
    int year(int i) const;
    int month(int i) const;
    double sales(int i) const { return sales_[i]; }
    double cost(int i) const { return cost_[i]; }
    // (sales - cost) / cost in whole percent, negative for a loss; 0 without cost.
    int marginPercent(int i) const;
    // "%2u / %02u\n%.0f": month, year of the century, sales.
    std::string label(int i) const;

private:
    int first_;  // year * 12 + month - 1 of the oldest month
    std::array<double, kMonths> sales_{}, cost_{};
};

// Daily sales and cost of the 365 days that end today.
class TrendFigures : public SaleAccumulator {
public:
    static constexpr int kDays = 365;
    static constexpr int kSlots = 396;  // the width the days are spread over
    explicit TrendFigures(const CalendarTime& now);
    void AddSale(const SaleView& sale) override;
    double sales(int i) const { return sales_[i]; }
    double cost(int i) const { return cost_[i]; }
    bool hasMargin(int i) const { return cost_[i] != 0; }
    double marginPercent(int i) const;
    CalendarTime date(int i) const;

private:
    long long first_;  // days since 1970 of the oldest day
    std::array<double, kDays> sales_{}, cost_{};
};

// Least and greatest of the values, 0 included (bars stand on 0); empty when
// every value is 0.
GraphScale ZeroBasedScale(const std::vector<double>& values);
