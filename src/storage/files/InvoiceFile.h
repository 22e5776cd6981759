#pragma once
// The invoice file: a 4-byte count N followed by N sale records of 4728 bytes;
// a sale is known by its position. Every operation opens the file, works and
// closes it again. Operations that date a sale or compare with the present take
// the local time `now` from the caller: the storage layer has no clock.

#include "storage/records/InvoiceRecord.h"

#include <cstdint>
#include <functional>
#include <string>

class CLocalFile;
class DataFile;
class Transaction;

constexpr long long kInvoiceFileHeaderSize = 4;

// Offset of sale record n in the invoice file.
inline long long InvoiceOffset(long long n)
{
    return kInvoiceFileHeaderSize + n * static_cast<long long>(InvoiceRecord::kSize);
}

// Building blocks for operations that hold the invoice file open themselves.
// The sale records present in an open invoice file: the stored count, cut to the
// records the file really holds; every whole record when the count is negative
// (`damaged` then set: the file refuses every change). -1 when the count cannot
// be read.
long long InvoiceRecordsPresent(DataFile& file, bool* damaged = nullptr);
// Reads or writes the record at position n of an open invoice file (no range
// check, no flush). True when all 4728 bytes were transferred.
bool ReadInvoiceAt(DataFile& file, long long n, InvoiceRecord& record);
// Calls visit(record bytes, record number) for the first `present` records in
// order, reading just over 64 KiB at a time, until visit returns false. Stops
// quietly at a read error.
void ScanInvoices(DataFile& file, long long present, const std::function<bool(const std::uint8_t*, long long)>& visit);
// Stages the record over position n in a transaction that holds the file.
void StageInvoiceAt(Transaction& tx, DataFile& file, long long n, const InvoiceRecord& record);

// Reads the number of stored sales into `count`. A missing file is created
// holding no sales (count 0). Returns the file-failure cause.
int ReadInvoiceCount(const CLocalFile& local, int& count);
// Reads sale recordNumber; false after one message when the number is negative,
// the file cannot be read, or no such sale is stored.
bool ReadInvoice(const CLocalFile& local, int recordNumber, InvoiceRecord& record);
// Stores the sale as a new record: it gets the next record number, is dated from
// `now` and has the paid rule applied. The record reaches the disk before the
// count that includes it. Returns the record number and sets `count` to the new
// number of sales; -1 when the sale was not stored (`count` then unchanged).
int AppendInvoice(const CLocalFile& local, InvoiceRecord& record, int& count, const CalendarTime& now);
// The same inside a transaction that holds the invoice file (and, when it holds
// the payments file too, the paid rule reads that): `record` becomes the sale as
// staged; it is stored by the caller's commit. The record number, or -1.
int AppendInvoiceIn(Transaction& tx, const CLocalFile& local, InvoiceRecord& record, const CalendarTime& now);
// Applies the paid rule and writes the sale over its stored position (its dates
// are kept). Returns recordNumber, or -1 when nothing could be written or no
// sale of that number is stored.
int UpdateInvoice(const CLocalFile& local, InvoiceRecord& record);

// saleTime of the first or last stored sale; `now` when there is none or the
// file cannot be read.
// Voids a stored sale in place: its goods back to stock, paid set, each filled
// line zeroed and its description prefixed "VOIDED - ", the totals zeroed.
// Nothing changes when either file cannot be opened or the number is not a
// stored sale. Returns the failure cause (0 when voided).
int VoidInvoice(const CLocalFile& local, int recordNumber);
// The first half of editing a stored sale: the same, but paid and the
// descriptions stay; `unchanged` (when given) receives the sale as it was.
int ReturnInvoiceToStock(const CLocalFile& local, int recordNumber, InvoiceRecord* unchanged = nullptr);

OleDate FirstSaleDate(const CLocalFile& local, const CalendarTime& now);
OleDate LastSaleDate(const CLocalFile& local, const CalendarTime& now);

// Sum of qty over every line whose item number equals itemNumber ignoring case,
// in every sale whose date key lies between those of from and to (both included).
float SoldQuantityInRange(const CLocalFile& local, const std::string& itemNumber, const CalendarTime& from,
                          const CalendarTime& to);

// Sum of the payments recorded for the sale in whole cents; 0 when the payments
// file cannot be read.
long long PaymentsForInvoice(const CLocalFile& local, const InvoiceRecord& record);
// payType is "terms", "deposit" or "split", ignoring case: a sale whose payments
// are recorded against it, paid only when they cover its total.
bool IsOnAccount(const InvoiceRecord& record);
// name is "terms", "deposit" or "split", ignoring case.
bool IsDeferredPayType(const std::string& name);
// An amount in whole cents, rounded to the nearest; a damaged (not finite) amount is 0.
// Every sum of payments adds each payment's cents, so balances compare exactly
// at any size (a float sum is off by a cent above about 55,000).
long long AmountCents(double amount);
// An amount covers a total to the cent.
bool CoversInCents(double paid, double total);
// Payments summed in whole cents cover a total: the paid rule's test.
bool PaidInFull(long long paidCents, double total);
// Paid rule: a sale on account (terms, deposit or split) is paid when its
// payments cover its total; any other sale is paid.
void ApplyPaidRule(const CLocalFile& local, InvoiceRecord& record);
// Due date = saleTime + the net days of the sale's terms record; overdue when
// `now` is later. A sale without a valid sale time is never overdue (its due
// date is then not set).
bool IsOverdue(const InvoiceRecord& record, int termsNetDays, const CalendarTime& now, OleDate& dueDate);
// Name, company, street, then "city, state zip " on the last line.
std::string AddressBlock(const InvoiceRecord& record);

// ASCII comparison ignoring case, as item numbers and pay types are compared.
bool EqualsIgnoreCase(const std::string& a, const std::string& b);
