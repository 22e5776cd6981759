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
// The records present in a file about to be changed; -1 on a read error or a
// damaged count (the user is then told).
long long InvoiceRecordsForChange(DataFile& file);
// Reads or writes the record at position n of an open invoice file (no range
// check, no flush). True when all 4728 bytes were transferred.
bool ReadInvoiceAt(DataFile& file, long long n, InvoiceRecord& record);
// Calls visit(record bytes, record number) for the first `present` records in
// order, reading just over 64 KiB at a time, until visit returns false. Stops
// quietly at a read error.
void ScanInvoices(DataFile& file, long long present, const std::function<bool(const std::uint8_t*, long long)>& visit);
// Stages the record over position n in a transaction that holds the file,
// and its row in the sales index the transaction joined (JoinSalesIndex).
void StageInvoiceAt(Transaction& tx, DataFile& file, long long n, const InvoiceRecord& record);

// Reads the number of stored sales into `count`. A missing file is created
// holding no sales (count 0). Returns the file-failure cause.
int ReadInvoiceCount(const CLocalFile& local, int& count);
// Reads sale recordNumber; false after one message when the number is negative,
// the file cannot be read, or no such sale is stored.
bool ReadInvoice(const CLocalFile& local, int recordNumber, InvoiceRecord& record);
// The paid flag (0 or 1) to store with a sale. Storage stores the flag and
// knows no rule: the caller's function decides it (receivables/PaidRule.h).
using PaidFlagOf = std::function<std::uint8_t(const InvoiceRecord& sale)>;

// Stages the sale as a new record inside a transaction that holds the invoice
// file: it gets the next record number, is dated from `now`, and then gets
// paidFlag(record) as its paid flag. `record` becomes the sale as staged; it is
// stored by the caller's commit. The record number, or -1.
int AppendInvoiceIn(Transaction& tx, const CLocalFile& local, InvoiceRecord& record, const CalendarTime& now,
                    const PaidFlagOf& paidFlag);
// Writes the sale, as it is, over its stored position. Returns recordNumber,
// or -1 when nothing could be written or no sale of that number is stored.
int RewriteInvoice(const CLocalFile& local, const InvoiceRecord& record);
// Stages, inside a transaction that holds the invoice file, paidFlag(sale) as
// the paid flag of stored sale invoiceNumber; only that byte is rewritten, and
// only when it changes. False when the file is damaged or cannot be read; a
// number that is no stored sale changes nothing.
bool StagePaidFlag(Transaction& tx, const CLocalFile& local, std::int32_t invoiceNumber, const PaidFlagOf& paidFlag);

// saleTime of the first or last stored sale; `now` when there is none or the
// file cannot be read.
OleDate FirstSaleDate(const CLocalFile& local, const CalendarTime& now);
OleDate LastSaleDate(const CLocalFile& local, const CalendarTime& now);

// Sum of qty over every line whose item number equals itemNumber ignoring case,
// in every sale whose date key lies between those of from and to (both included).
float SoldQuantityInRange(const CLocalFile& local, const std::string& itemNumber, const CalendarTime& from,
                          const CalendarTime& to);

// Name, company, street, then "city, state zip " on the last line.
std::string AddressBlock(const InvoiceRecord& record);

// ASCII comparison ignoring case, as item numbers and pay types are compared.
bool EqualsIgnoreCase(const std::string& a, const std::string& b);
