#pragma once
// The order estimator: how much of each of a vendor's products sold in a
// range of days, and how much to order to hold a number of days of stock.

#include "storage/records/OleDate.h"

#include <string>
#include <vector>

class CLocalFile;

namespace OrderEstimator {
// Days in the range from `from` to `to`, both included; 0 when `to` lies
// before `from`.
int RangeDays(const CalendarTime& from, const CalendarTime& to);
// sold / rangeDays * daysOfInventory - stock, or 0 when that is negative.
double ShortQuantity(double sold, int rangeDays, int daysOfInventory, double stock);
// sold[i]: the quantity of items[i] (compared ignoring case) on the lines of
// the sales dated from `from` to `to`, both days included. Reads the sales
// file once, on the reports' shared pass. Returns None, or Generic when the
// sales file could not be read.
int SoldInRange(const CLocalFile& local, const std::vector<std::string>& items, const CalendarTime& from,
                const CalendarTime& to, std::vector<double>& sold);
}  // namespace OrderEstimator
