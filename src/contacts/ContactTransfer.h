#pragma once
// Customers and vendors in and out of tab-delimited text files, and the saves
// of the customer and vendor windows, without any window.

#include "storage/files/CountedFile.h"
#include "storage/records/CustomerRecord.h"
#include "storage/records/VendorRecord.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class CLocalFile;

// The lines of a text file split at TAB. A line ends at LF, CR is ignored, and
// a last line without a line break counts. Lines whose fields are all empty
// are left out. False when the file cannot be read.
bool ReadTabLines(const std::string& path, std::vector<std::vector<std::string>>& lines);
// Creates the file anew with this text. False when it cannot be written whole.
bool WriteTextFile(const std::string& path, const std::string& text);

// Customer export lines, each ended by CR LF. Address: name, company, address,
// city, state, zip. Information: the 18 texts, price level, tax zone, terms id.
std::string CustomerAddressLine(const CustomerRecord& record);
std::string CustomerInfoLine(const CustomerRecord& record);
// A customer from the fields of an import line. A line of at most five fields
// has the shape the import explains: Name, address, address (the city line),
// Phone#, Email. A longer one has the order of the exports (the information
// line's order; fewer fields leave the rest empty, more are ignored). The price
// level is kept to 0..5 and a terms id that `termsIds` lacks becomes 0.
constexpr std::size_t kAddressShapeFields = 5;
CustomerRecord CustomerFromFields(const std::vector<std::string>& fields, const std::set<std::uint8_t>& termsIds);

// Unreadable and Unwritable concern the text file, NotStored the data file.
enum class TransferResult { Done, Unreadable, Unwritable, NotStored, NoRoom };
// Writes the customers of the file in file order (the placeholder never);
// `only`, when given, keeps those whose number it holds.
TransferResult ExportCustomers(const CLocalFile& local, const std::string& path, bool information,
                               const std::set<std::uint16_t>* only, std::size_t& written);
// Appends every customer line of the file under new numbers, all or none.
// NoRoom when the numbers would pass 65535.
TransferResult ImportCustomers(const CLocalFile& local, const std::string& path, std::size_t& added);

// Vendor lines: the 18 texts, TAB between, CR LF at the end (notes stay out).
std::string VendorLine(const VendorRecord& record);
VendorRecord VendorFromFields(const std::vector<std::string>& fields);
TransferResult ExportVendors(const CLocalFile& local, const std::string& path, std::size_t& written);
TransferResult ImportVendors(const CLocalFile& local, const std::string& path, std::size_t& added);

enum class ContactSave { Saved, NoName, Failed };
// The customer window's save: a customer with a number is updated by it; a
// new one, or one whose number is gone, is saved by name. `record` gets the
// stored number.
ContactSave SaveShownCustomer(const CLocalFile& local, CustomerRecord& record);
// The vendor window's save: the vendor of the same company is updated, or a
// new one appended.
ContactSave SaveVendor(const CLocalFile& local, const VendorRecord& record);
