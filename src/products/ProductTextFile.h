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
// A line of the file that was refused or taken with a change, and why.
struct LineNote {
    std::size_t line = 0;  // counted from 1, as an editor counts the file's lines
    bool refused = false;
    std::string reason;    // record text
    std::string Text() const;
};

// What an import would add: the products, the file line of each, and every
// line refused or changed, in file order.
struct Reading {
    std::vector<ProductRecord> records;
    std::vector<std::size_t> lines;
    std::vector<LineNote> notes;
    bool utf8 = false;        // the file was UTF-8 (with or without a byte-order mark)
    std::string lost;         // UTF-8 characters the records cannot hold, each once
    bool nothing = false;     // no line at all but blanks (or the heading)
    std::size_t refused() const;
};

// Reads an import file. Lines split at LF (a CR before it dropped), fields at
// TAB; blank lines and the export's own heading are skipped; a last line
// without a line break is read. A UTF-8 file is recognised and converted to
// record text. A line is refused when it has fewer than 21 fields, a number
// field that is not a number, no Product ID, or a Product ID that `taken` (the
// products already stored) or an earlier line has, compared ignoring case.
// Decimal commas, costs and prices past the cent, texts cut to their fields,
// numbers out of their range and extra fields are taken with a note.
Reading Read(const std::string& bytes, const std::vector<std::string>& taken = {});

// Writes the heading and every product, in file order. Returns the open cause
// of the product file, or Generic when the text file could not be written.
int Export(const CLocalFile& local, const std::string& path);
// Reads a whole text file; false when it cannot be read.
bool ReadTextFile(const std::string& path, std::string& text);
}  // namespace ProductText
