#pragma once
// Several registers at once, each a process of its own, all let go at the same
// moment. Each register's work records its own times (milliseconds); the
// parent collects them when the register ends.

#include "storage/records/InvoiceRecord.h"
#include "storage/records/OleDate.h"

#include <functional>
#include <string>
#include <vector>

struct BenchRegister {
    // Does the register's work, adding one time per operation to `ms`; false
    // when an operation failed. `keepGoing()` turns false once every main
    // register has ended.
    std::function<bool(std::vector<double>& ms, const std::function<bool()>& keepGoing)> work;
    // The run lasts as long as the main registers; the others work alongside
    // them until told to stop.
    bool main = true;
};

struct BenchRegistersResult {
    std::vector<std::vector<double>> ms;  // per register, in the order given
    int failed = 0;                       // registers that failed or could not be started
};

BenchRegistersResult runRegisters(const std::vector<BenchRegister>& registers);

// A register that appends `appends` sales, sale(0) ... sale(appends - 1), to
// the sales file in `folder`, one time per append.
BenchRegister appendingRegister(const std::string& folder, int appends, std::function<InvoiceRecord(int)> sale,
                                const CalendarTime& now);

// The value below which `percent` of the sorted values lie (nearest rank).
double percentile(const std::vector<double>& sorted, int percent);
