#pragma once
// What the list windows of the Settings menu store: cashiers and salespeople
// (their files), the payment types, categories and departments (text lists of
// the header), the tax table with the simple tax, and the payment terms.
// Qt-free, so tests and other processes can drive it.

#include "storage/files/CountedFile.h"
#include "storage/records/TaxTableRecord.h"
#include "storage/records/TermsRecord.h"

#include <array>
#include <string>
#include <vector>

class CLocalFile;
struct SalesFileHeader;

// Cashiers and salespeople.
enum class PeopleKind { Cashiers, Salespeople };
struct Person {
    std::string name;
    std::string password;  // cashiers only
};
enum class PersonSave { Appended, Replaced, Gone, EmptyName, Failed };
std::vector<Person> ListPeople(const CLocalFile& local, PeopleKind kind);
// Stores the entry typed, name and password cut to 23 characters: over the
// record named `original` (looked up by name inside the write, so another
// register's delete cannot make it overwrite someone else), or appended when
// `original` is empty. Gone: no record has that name any more.
PersonSave SavePerson(const CLocalFile& local, PeopleKind kind, const std::string& original, const Person& person);
ChangeResult DeletePerson(const CLocalFile& local, PeopleKind kind, const std::string& name);

// The header's text lists.
struct TextListKind {
    const char* caption;
    std::string SalesFileHeader::*field;
    std::size_t longest;  // characters in one entry
    const char* note;
    const char* refusal;
};
extern const TextListKind kPaymentTypeList;
extern const TextListKind kCategoryList;
extern const TextListKind kDepartmentList;
// Shown when the whole list does not fit its 800 bytes.
extern const char* const kListTooLong;
// The text of a box as stored: every line ended by CR LF, the last included.
std::string AsStoredList(const std::string& typed);
// Empty when the list may be stored, else the message that refuses it.
std::string TextListRefusal(const TextListKind& kind, const std::string& typed);
// Stores the list (checked first) in one read-change-write of the header.
// Returns the failure cause, 0 on success.
int SaveTextList(const CLocalFile& local, SalesFileHeader& header, const TextListKind& kind, const std::string& typed);

// Tax rates.
// A rate as the boxes show it: two decimals, more (up to four) when needed.
std::string RateText(float rate);
// The rate a box stands for: the stored one while the box still shows what it
// was filled with, else the number typed (text that is not a number reads 0).
float RateFrom(const std::string& typed, const std::string& shown, float stored);
struct SimpleTaxSettings {
    bool simpleTax = true;
    float tax1 = 0;
    float tax2 = 0;
    bool showSeparately = false;
    bool showCents = true;
    static SimpleTaxSettings From(const SalesFileHeader& header);
    void applyTo(SalesFileHeader& header) const;
};
int SaveSimpleTax(const CLocalFile& local, SalesFileHeader& header, const SimpleTaxSettings& settings);
// Stores a zone (name cut to 23 characters) over the zone named `original`,
// or appends it when `original` is empty.
ChangeResult SaveTaxZone(const CLocalFile& local, const std::string& original, TaxTableRecord zone);

// Terms.
// Reads the three numbers typed (fractions dropped) into `terms`. Refuses
// (with the message returned) a number that is not 0 to 100 for the percent
// or 0 to 9999 for the days, rather than let it wrap in its 16-bit field.
std::string TermsFrom(const std::string& percent, const std::string& discountDays, const std::string& netDays,
                      TermsRecord& terms);
extern const char* const kTermsRefused;
