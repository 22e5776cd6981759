#pragma once
// Operations on the list files: cashiers ("Cashiers"), salespeople ("Sales
// People"), the tax table ("Tax Table") and payment terms ("Terms"), and the
// register's Defaults.pdb ("Defaults"). Each opens its file through
// CLocalFile::OpenFile, works and closes it. A missing list file reads as an
// empty list (terms: its two fixed first terms) and is created by the first
// append. Record numbers count from 0.

#include "storage/files/CountedFile.h"
#include "storage/records/CashierRecord.h"
#include "storage/records/DefaultsRecord.h"
#include "storage/records/SalespersonRecord.h"
#include "storage/records/TaxTableRecord.h"
#include "storage/records/TermsRecord.h"

#include <string>
#include <vector>

class CLocalFile;

// Cashiers.
std::vector<std::string> FillCashierBox(const CLocalFile& local);
// Rows: name, password, record number ("%u").
TextRows ListCashiers(const CLocalFile& local);
int AppendCashier(const CLocalFile& local, const CashierRecord& record);
// Overwrites the first cashier named `original` (ignoring case), found inside
// the write's one exclusive open, so a record moved meanwhile by another
// register's delete is still the one changed. NotFound when it is gone.
ChangeResult ReplaceCashierNamed(const CLocalFile& local, const std::string& original, const CashierRecord& record);
// Deletes the first cashier of this name (ignoring case): the last record
// takes its place.
ChangeResult DeleteCashier(const CLocalFile& local, const std::string& name);
// Replaces `name` by the name of the cashier after it (ignoring case); after
// the last one or when no cashier has the name, the first one. Unchanged when
// the file is empty or cannot be read.
void NextCashier(const CLocalFile& local, std::string& name);
// True when a cashier has exactly this name and this password (case counts).
// The password is compared over the whole field in constant time.
bool CheckCashierPassword(const CLocalFile& local, const std::string& name, const std::string& password);

// Salespeople.
std::vector<std::string> FillSalespersonBox(const CLocalFile& local);
// Rows: name, record number ("%u").
TextRows ListSalespeople(const CLocalFile& local);
int AppendSalesperson(const CLocalFile& local, const SalespersonRecord& record);
// As ReplaceCashierNamed.
ChangeResult ReplaceSalespersonNamed(const CLocalFile& local, const std::string& original,
                                     const SalespersonRecord& record);
ChangeResult DeleteSalesperson(const CLocalFile& local, const std::string& name);

// Tax table.
std::vector<std::string> FillTaxBox(const CLocalFile& local);
// All zones in file order.
std::vector<TaxTableRecord> ListTaxZones(const CLocalFile& local);
int AppendTaxZone(const CLocalFile& local, const TaxTableRecord& record);
// As ReplaceCashierNamed.
ChangeResult ReplaceTaxZoneNamed(const CLocalFile& local, const std::string& original, const TaxTableRecord& record);
ChangeResult DeleteTaxZone(const CLocalFile& local, const std::string& name);
// The first zone whose name equals `name` exactly (case counts), as the sale's
// tax rates are looked up.
bool FindTaxZone(const CLocalFile& local, const std::string& name, TaxTableRecord& record);
// The default zone's name of the tax table header; empty when there is none.
std::string GetDefaultZone(const CLocalFile& local);
// Rewrites the default zone's name (a missing file is created without zones).
int SetDefaultZone(const CLocalFile& local, const std::string& name);

// Terms.
// All records in file order; a missing file is created with COD and NET 30.
std::vector<TermsRecord> ListTerms(const CLocalFile& local);
// Gives the record the file's next id and its built name, and appends it.
// Ids are never given twice: once the one-byte counter has given out 255 the
// terms are refused (FileCause::Generic), since a reused id would give old
// sales that name it other terms.
int AppendTerms(const CLocalFile& local, TermsRecord& record);
// Deletes the terms with this id: the last record takes its place. A file
// that cannot be opened gives "Terms file not found.".
ChangeResult DeleteTerms(const CLocalFile& local, std::uint8_t id);
// The name of the terms with this id; empty when none or unreadable.
std::string FindTermsName(const CLocalFile& local, std::uint8_t id);
// Fills `record` with the terms of this id; untouched when none matches.
bool GetTerms(const CLocalFile& local, std::uint8_t id, TermsRecord& record);

// Defaults.pdb. `record` comes in holding the window's built-in values; a
// missing file is created with them. Words a cut-short file lacks keep them.
int ReadDefaults(const CLocalFile& local, DefaultsRecord& record);
int WriteDefaults(const CLocalFile& local, const DefaultsRecord& record);
// Rewrites only the words first .. first + values.size() - 1, in one exclusive
// open that reads the file as it is now: the words another window (or another
// program run) wrote meanwhile are kept. A missing file is created with the
// built-in record around the given words.
int WriteDefaultWords(const CLocalFile& local, std::size_t first, const std::vector<std::uint32_t>& values);
