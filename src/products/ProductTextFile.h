#pragma once
// Products as a tab-delimited text file (record text bytes, one product a
// line, CR LF ends): the export and the lines an import reads.

#include "storage/records/ProductRecord.h"

#include <string>
#include <vector>

class CLocalFile;

namespace ProductText {
// The heading line an export begins with, CR LF included.
extern const char* const kHeading;

// One product as an export line, CR LF included.
std::string Line(const ProductRecord& record);
// The product of one line's fields; missing trailing fields read as empty.
ProductRecord FromFields(const std::vector<std::string>& fields);
// Every product in the text: lines split at LF (a CR before it dropped), fields
// at TAB; blank lines and the export's own heading are skipped, a last line
// without a line break is read, fields past the 21st are ignored.
std::vector<ProductRecord> Parse(const std::string& text);

// Writes the heading and every product, in file order. Returns the open cause
// of the product file, or Generic when the text file could not be written.
int Export(const CLocalFile& local, const std::string& path);
// Reads a whole text file; false when it cannot be read.
bool ReadTextFile(const std::string& path, std::string& text);
}  // namespace ProductText
