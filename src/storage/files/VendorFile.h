#pragma once
// Operations on the vendor file (key "Vendor"), keyed by the company name
// compared ignoring (ASCII) case. Each opens the file, works and closes it.

#include "storage/files/CountedFile.h"
#include "storage/records/VendorRecord.h"

class CLocalFile;

// The file's layout, for a list that reads its records itself.
const CountedLayout& VendorFileLayout();

// Reads the header (its count limited to the records present). A missing file
// is created with no records, version 1.1 and the labels of `header`.
int ReadVendorHeader(const CLocalFile& local, VendorFileHeader& header);
// Stores the sixteen labels; the count stays the file's own.
int WriteVendorHeader(const CLocalFile& local, const VendorFileHeader& header);

// The first record whose company equals `name`; when none does, `record` is
// an empty record carrying the name.
bool FindVendor(const CLocalFile& local, const std::string& name, VendorRecord& record);
ChangeResult UpdateVendor(const CLocalFile& local, const VendorRecord& record);
// Moves the last record over the first with the record's company; `record`
// receives the moved record.
ChangeResult DeleteVendor(const CLocalFile& local, VendorRecord& record);
// Adds the record at the end; a missing file is created with the default labels.
int AppendVendor(const CLocalFile& local, const VendorRecord& record);
// Adds the records at the end in one change: all of them or none.
int AppendVendors(const CLocalFile& local, const std::vector<VendorRecord>& records);
// Every record in file order; empty when the file cannot be read.
std::vector<VendorRecord> ReadVendors(const CLocalFile& local);

// Every vendor's company, in file order.
std::vector<std::string> FillVendorBox(const CLocalFile& local);
