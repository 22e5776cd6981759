#pragma once
// Operations on the customer file (key "Customers"). Each opens the file
// through CLocalFile::OpenFile, works and closes it. A missing file is created
// with its header and the placeholder record 0 by the reads and the save.
// Names are compared ignoring (ASCII) case, without trimming.

#include "storage/files/CountedFile.h"
#include "storage/records/CustomerRecord.h"

#include <functional>

class CLocalFile;

// The file's layout, for a CountedFile working inside a larger transaction
// (CountedFile::openIn), as finishing a sale updates its customer.
const CountedLayout& CustomerFileLayout();

// Creates a missing customer file: version 1.3, next number 1, one record (the
// placeholder), default labels. An existing file is left as it is.
int CreateCustomerFile(const CLocalFile& local);
// Reads the header (its count limited to the records present), creating a
// missing file first. Other failures leave `header` untouched.
int ReadCustomerHeader(const CLocalFile& local, CustomerFileHeader& header);
// Stores the sixteen labels. The count and next number are the file's own, so
// a customer appended by another register since the header was read stays.
int WriteCustomerHeader(const CLocalFile& local, const CustomerFileHeader& header);

// The first of records 1..N-1 whose name equals `name` ignoring case.
bool FindCustomerByName(const CLocalFile& local, const std::string& name, CustomerRecord& record);
// The first of records 0..N-1 with this number (0 finds the placeholder).
bool FindCustomerByNumber(const CLocalFile& local, std::uint16_t number, CustomerRecord& record);

enum class CustomerSave { Replaced, Appended, NotSaved };
// Replaces the first record with the record's name (ignoring case), with the
// number the record carries (the stored one when it carries 0); otherwise
// appends it under the file's next number. `record.customerNumber` then holds
// the stored number. An empty name saves nothing.
CustomerSave SaveCustomerByName(const CLocalFile& local, CustomerRecord& record);
// Appends the records in order under the file's next numbers, all of them or
// none: Appended, or NotSaved when the file cannot be changed or a number
// would pass 65535. Each record gets its number.
CustomerSave AppendCustomers(const CLocalFile& local, std::vector<CustomerRecord>& records);
// Records 1..N-1 in file order; empty when the file cannot be read.
std::vector<CustomerRecord> ReadCustomers(const CLocalFile& local);
// Overwrites the first record with the record's number. Number 0 (the
// placeholder) is never overwritten.
ChangeResult UpdateCustomerByNumber(const CLocalFile& local, const CustomerRecord& record);
// Deletes the first record with the record's number by moving the last record
// into its place; `record` receives the moved record. Number 0 is never deleted.
ChangeResult DeleteCustomerByNumber(const CLocalFile& local, CustomerRecord& record);

// Which records the customer lists show: selector 0 every customer, 1..6 those
// whose priceLevel is selector - 1 (a selector past them as 0 or 6), 7 those
// whose first nine text fields, joined without separators, contain `text`
// (both lower-cased).
std::function<bool(const std::uint8_t* record)> CustomerListFilter(int selector, const std::string& text);
