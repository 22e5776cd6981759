#pragma once
// Period summaries: which sales a one-click report or a range of days selects,
// the money sums over them (kept in double, so thousands of sales add up to the
// cent), and the figures and printed text of the sales summary window.

#include "reports/SaleScan.h"
#include "storage/records/OleDate.h"

#include <array>
#include <string>
#include <vector>

// The kind of period of a one-click report.
enum class SalesPeriod { Day = 0, Week = 1, Month = 2, Quarter = 3, Year = 4 };

// The quarter index stored with every sale: month / 4, fraction dropped
// (January-March 0, April-July 1, August-November 2, December 3).
inline int QuarterOf(int month) { return month / 4; }

// Sales of one period: the date parts a sale must share with the reference day.
struct PeriodSelection {
    SalesPeriod kind = SalesPeriod::Day;
    int year = 0, month = 0, quarter = 0, week = 0, day = 0;
    bool Selects(const SaleView& sale) const;
};

// This period (last = false) or the one before it, seen from `now`. The day
// and week before are the day 1 and 7 days back; the month, quarter and year
// before are the previous ones by their index (the quarter before the first
// is the last of the year before).
PeriodSelection SelectPeriod(SalesPeriod kind, bool last, const CalendarTime& now);
// The calendar day `days` before t.
CalendarTime DaysBefore(const CalendarTime& t, int days);

// A one-click report: its menu item (also the summary's title), period, which one.
struct PeriodCommand {
    const char* title;
    SalesPeriod kind;
    bool last;
};
const std::array<PeriodCommand, 10>& PeriodCommands();

// Each amount is added as its cents (CentAmount).
struct SaleSums {
    long long count = 0;
    double taxable = 0, exempt = 0, tax1 = 0, tax2 = 0, handling = 0, total = 0, totalCost = 0, profit = 0;
    void Add(const SaleView& sale);
};

// Sums the sales of a period, or of an inclusive range of date keys.
class PeriodSums : public SaleAccumulator {
public:
    explicit PeriodSums(const PeriodSelection& period) : period_(period), byPeriod_(true) {}
    PeriodSums(int firstKey, int lastKey) : firstKey_(firstKey), lastKey_(lastKey) {}
    void AddSale(const SaleView& sale) override;
    const SaleSums& sums() const { return sums_; }

private:
    PeriodSelection period_;
    bool byPeriod_ = false;
    int firstKey_ = 0, lastKey_ = 0;
    SaleSums sums_;
};

// The title of a range report: "<first day>\nto <last day>", each day written
// "%A, %B %d, %Y".
std::string RangeTitle(const CalendarTime& first, const CalendarTime& last);

// The texts of the summary window's boxes. A division by zero (no sales, no
// cost) shows 0.00.
struct SummaryTexts {
    std::string taxable, exempt, combined, tax, tax2, handling, total;
    std::string totalCost, grossProfit, count, saleAverage, profitAverage, grossMargin;
};
SummaryTexts FormatSummary(const SaleSums& sums, bool showCents);

// The printed summary: heading (title and print date) and the body of figures,
// each read back from the box texts as the window shows them.
std::string SummaryHeading(const std::string& title, const CalendarTime& now);
std::string SummaryBody(const SummaryTexts& t);
const std::vector<std::int16_t>& SummaryWidths();
const std::vector<std::uint16_t>& SummaryFormats();
