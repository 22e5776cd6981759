#pragma once
// The log-out report of a cashier handing over the register: every sale the
// cashier rang up from the log-in time to now, as tab-separated text.

#include "storage/records/OleDate.h"

#include <string>

class CLocalFile;
struct SalesFileHeader;

// One pass over the sale records. A sale is kept when its cashier equals
// `cashier` exactly and its saleTime lies from loginTime to now (to the second,
// both included); a sale without a valid time never is. A log-in time that is
// not set puts no lower bound on the period. Times are written with "%c" in the
// current C locale. A file that cannot be read gives the report without sales.
std::string CashierLogoutReport(const CLocalFile& local, const SalesFileHeader& header, const std::string& cashier,
                                const OleDate& loginTime, const CalendarTime& now);

// "%c" of the given local time in the current C locale.
std::string LocaleDateTime(const CalendarTime& t);
