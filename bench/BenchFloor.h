#pragma once
// Baselines that do the least an operation physically must: its reads, and its
// writes with exactly the flushes their order needs. Writes go to copies of the
// data files, so the files the operation works on are left as they were.

#include "storage/io/DataFile.h"

#include <memory>
#include <string>
#include <vector>

// Reads `path` front to back in 64 KiB blocks, up to byte `end` (the whole file for -1).
void readBlocks(const std::string& path, long long end = -1);

// Reads n bytes at offset, through an open of its own.
void readBytes(const std::string& path, long long offset, std::size_t n);

// Reads n bytes at each of the offsets, through one open (the records a change
// finds by their known places).
void readAt(const std::string& path, const std::vector<long long>& offsets, std::size_t n);

// What every open of a data file for a change reads first: the mark of its
// set's journal (a stale change is rolled back before anything is read).
void readJournalMark(const std::string& dataPath);

// The reads of voiding a sale: the sales and product files opened (each
// checks the journal's mark), the sales count and the sale (`saleBytes` at
// `saleAt`) read, the product records of its lines read where they lie.
void readForVoid(const std::string& invoices, long long saleAt, std::size_t saleBytes, const std::string& products,
                 const std::vector<long long>& productRecords);

// A journaled change: the original bytes written to a journal and flushed, the
// changed bytes written to each file and that file flushed, the journal's mark
// cleared and flushed. Files without a write are not flushed.
class ChangeFloor {
public:
    struct Range {
        long long at;
        std::size_t n;
        bool unseen = false;  // past the counted records: written without its original bytes kept
    };
    // Copies `originals` (into `folder`) and makes the floor's journal there.
    ChangeFloor(const std::string& folder, const std::vector<std::string>& originals);
    // writes[f]: the ranges changed in file f. 2 + (files written) flushes.
    void run(const std::vector<std::vector<Range>>& writes);

private:
    DataFile journal_;
    std::vector<std::unique_ptr<DataFile>> files_;
    std::size_t namesBytes_ = 0;  // the journal's list of the files and their sizes
};

// An append of a record and then its count: a file as large as `original`
// (the same size, not its bytes: only its end and count are written) is
// opened, its count read, the record written past its end and flushed, then
// the count written over the first bytes and flushed. Two ordered flushes.
class AppendFloor {
public:
    AppendFloor(const std::string& original, const std::string& copy, std::size_t recordSize);
    void run();

private:
    std::string copy_;
    std::vector<std::uint8_t> record_;
};
