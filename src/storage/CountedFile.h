#pragma once
// A data file of one header followed by fixed-size records, whose header holds
// the number of records. Shared by the customer, vendor and list files.
//
// The counted number is never trusted beyond the bytes present: a count past
// the end of a cut-short file reads as the records present, a negative one as
// none, and appends continue at the first missing record. Appends write the
// records and flush them before the header with the new count is written and
// flushed, so a crash never leaves a counted record that was not written.

#include "DataFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Rows and columns of a list, as the list windows show them.
using TextRows = std::vector<std::vector<std::string>>;

// What a change by key found and did.
enum class ChangeResult { Done, NotFound, Failed };

struct CountedLayout {
    enum class Count { U32, I16 };
    std::size_t headerSize;
    std::size_t recordSize;
    std::size_t countOffset;
    Count countType;
};

class CountedFile {
public:
    // Scans read at least this many bytes at a time (a whole number of records).
    static constexpr std::size_t kBlockBytes = 64 * 1024;

    explicit CountedFile(const CountedLayout& layout);

    // Opens through CLocalFile::OpenFile and reads the header. A file shorter
    // than its header gives FileCause::EndOfFile.
    int open(const std::string& path, OpenMode mode);
    // Opens for writing, creating a missing file. A file shorter than its
    // header (new, or cut short before its first header was written) gets
    // `initial` (a header, possibly followed by records) in one write.
    int openOrCreate(const std::string& path, const std::vector<std::uint8_t>& initial);
    // Read opens that create a missing file: open for reading; when the file
    // is missing, openOrCreate it with `initial` and work in that open.
    int openForReading(const std::string& path, const std::vector<std::uint8_t>& initial);
    bool created() const { return created_; }

    std::uint8_t* header() { return header_.data(); }
    const std::uint8_t* header() const { return header_.data(); }
    // Records present and counted.
    long long count() const { return count_; }
    long long recordOffset(long long index) const;

    bool readRecord(long long index, std::uint8_t* buf);
    // Overwrites a present record and flushes it.
    bool replaceRecord(long long index, const std::uint8_t* buf);
    // Visits records first..count-1 in file order, reading large blocks; the
    // visitor returns true to stop. False on a read error.
    bool scan(long long first, const std::function<bool(long long index, const std::uint8_t* rec)>& visit);
    // Writes n records at the end, flushes, then writes the header (with the
    // header bytes as the caller changed them and the new count) and flushes.
    bool append(const std::uint8_t* records, std::size_t n);
    // Moves the last record over record `index`, flushes, then lowers the count
    // and writes the header. `moved` (may be null) receives the moved record.
    bool removeAt(long long index, std::uint8_t* moved);
    // Writes the header bytes [from, from + n) and flushes.
    bool writeHeaderPart(std::size_t from, std::size_t n);

    DataFile& file() { return file_; }
    void close() { file_.close(); }

    // Stores a count into a header buffer of this layout.
    static void putCount(const CountedLayout& layout, std::uint8_t* header, long long n);
    static long long getCount(const CountedLayout& layout, const std::uint8_t* header);

private:
    int readHeader();

    CountedLayout layout_;
    DataFile file_;
    std::vector<std::uint8_t> header_;
    long long count_ = 0;
    bool created_ = false;
};

// Case-insensitive (ASCII) equality of a stored text slot with a text that
// fits it; reads the slot only up to its NUL.
bool slotEqualsNoCase(const std::uint8_t* slot, std::size_t width, const std::string& text);
// Exact equality, same rules.
bool slotEquals(const std::uint8_t* slot, std::size_t width, const std::string& text);
bool equalsNoCase(const std::string& a, const std::string& b);
// Lower-cases ASCII letters only, as all name comparisons here do.
std::string lowerAscii(std::string text);
