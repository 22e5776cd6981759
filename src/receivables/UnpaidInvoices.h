#pragma once
// The invoices customers still owe on: every stored sale whose paid flag is 0,
// with its balance and due date, and the overdue ones among them. The sales
// file and the payments file are each read once per listing.

#include "storage/records/OleDate.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CLocalFile;

// Sum of the payment amounts per sale record number, from one pass over the
// payments file. Each sum is accumulated in file order as a float, so it is
// exactly what reading the file once per sale would give; a missing file holds
// none. False when the file cannot be read.
bool PaymentSumsBySale(const CLocalFile& local, std::unordered_map<std::int32_t, long long>& sums);

struct UnpaidInvoice {
    int recordNumber = 0;
    std::string customer;  // name, company, phone: "%s, %s, %s"
    float total = 0;
    float balance = 0;     // total less payments, rounded to cents
    OleDate saleTime;
    std::string termsName; // empty when the sale's terms no longer exist
    bool hasDueDate = false;
    OleDate dueDate;
    bool overdue = false;
};

struct UnpaidListing {
    std::vector<UnpaidInvoice> rows;
    double totalBalance = 0;  // the rounded balances summed in whole cents
    std::string error;        // set, with no rows, when a file could not be read
};

enum class UnpaidKind { Unpaid, Overdue };

// Open invoices in file order. The due date is the sale time plus the net
// days of the sale's terms; a sale without terms (index 0) or whose terms have
// been deleted has none and is never overdue. A missing sales file lists
// nothing; a sales or payments file that cannot be read sets the error.
UnpaidListing ListUnpaidInvoices(const CLocalFile& local, UnpaidKind kind, const CalendarTime& now);

// The list's cells as shown: "Rec#", "Customer", "Total", "Balance", "Date",
// "Terms", "Due".
std::vector<std::string> UnpaidCells(const UnpaidInvoice& row);

// The printed report: its heading (dated `now`) and one line per row.
std::string UnpaidReportHeading(const CalendarTime& now);
std::string UnpaidReportBody(const std::vector<UnpaidInvoice>& rows);
