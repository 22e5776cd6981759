#pragma once
// A data file of one header followed by fixed-size records, whose header holds
// the number of records. Shared by the customer, vendor and list files.
//
// The counted number is never trusted beyond the bytes present: a count past
// the end of a cut-short file reads as the records present. A count below what
// the file can hold (negative, or below its fixed first records) is impossible:
// the file reads as every whole record present and refuses every write with a
// message that names it as damaged. A count below the records present is a
// record written but not yet counted: the next append goes over it.
//
// Every change is one transaction (Transaction.h): an append writes its records
// and flushes them before the count, the other changes go through the journal.

#include "storage/io/DataFile.h"
#include "storage/journal/Transaction.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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
    long long least = 0;  // the lowest count the file can hold
};

// Records shown under a stored count, given the whole records in the file:
// the count, never more than there are; every record there when the count is
// below `least` (then `damaged` is set).
long long RecordsUnderCount(long long stored, long long room, long long least, bool& damaged);
// Tells the user that the file's count is impossible and nothing was written.
void ReportDamagedCount(const std::string& path);

class CountedFile {
public:
    // Scans read at least this many bytes at a time (a whole number of records).
    static constexpr std::size_t kBlockBytes = 64 * 1024;

    explicit CountedFile(const CountedLayout& layout);

    // Opens through CLocalFile::OpenFile and reads the header. A file shorter
    // than its header gives FileCause::EndOfFile. A write open makes each change
    // a transaction of its own.
    int open(const std::string& path, OpenMode mode);
    // Works inside the caller's transaction, which holds `path`: changes are
    // staged there and reach the file when the caller commits.
    int openIn(Transaction& tx, const std::string& path);
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
    // The stored count is impossible: writes are refused.
    bool damaged() const { return damaged_; }
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

    DataFile& file() { return *file_; }
    void close();

    // Stores a count into a header buffer of this layout.
    static void putCount(const CountedLayout& layout, std::uint8_t* header, long long n);
    static long long getCount(const CountedLayout& layout, const std::uint8_t* header);

private:
    int readHeader();
    // Refuses a write to a damaged file (telling the user once).
    bool writable();
    // Stages the header bytes that differ from the stored ones.
    void stageHeader();
    // Commits when the transaction is this file's own; on failure the header
    // bytes go back to the stored ones.
    bool finish();

    CountedLayout layout_;
    DataFile ownFile_;
    DataFile* file_ = &ownFile_;
    std::unique_ptr<Transaction> ownTx_;
    Transaction* tx_ = nullptr;
    std::string path_;
    std::vector<std::uint8_t> header_;
    std::vector<std::uint8_t> stored_;
    long long storedCount_ = 0;
    long long count_ = 0;
    long long stagedCount_ = 0;
    bool damaged_ = false;
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
