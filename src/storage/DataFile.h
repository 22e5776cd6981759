#pragma once
// The one file interface of the storage layer: open with a sharing lock, read at,
// write at, flush, close. Every data file access goes through it, so tests can
// make the Nth call fail, or end the process there, and check what is left.
//
// The POSIX implementation (DataFilePosix.cpp) maps the sharing rule onto
// open-file-description locks over the whole file: read opens take a shared
// lock (others may read, nobody may write), write opens an exclusive one.

#include <cstddef>
#include <cstdint>
#include <string>

enum class OpenMode {
    Read,       // read access, deny writers
    ReadWrite,  // existing file, read-write, exclusive
    Create,     // create or truncate, read-write, exclusive
    OpenOrCreate,  // existing file kept as it is, or a new empty one; read-write, exclusive
};

// File-failure causes returned by the opening operations.
namespace FileCause {
constexpr int None = 0;
constexpr int Generic = 1;
constexpr int NotFound = 2;
constexpr int BadPath = 3;
constexpr int TooManyOpen = 4;
constexpr int AccessDenied = 5;
constexpr int SharingViolation = 11;
// The user stopped waiting for another register to let go of the file.
constexpr int LockGivenUp = 12;
constexpr int DiskFull = 13;
constexpr int EndOfFile = 14;
// A file that was to be created is there already (another register made it).
constexpr int AlreadyExists = 15;
}  // namespace FileCause

class DataFile {
public:
    DataFile() = default;
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // One attempt to open and lock. SharingViolation when another open holds a
    // conflicting lock; the caller decides whether to retry.
    int tryOpen(const std::string& path, OpenMode mode);
    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Bytes read (fewer at the end of the file), or -1 on a read error.
    long long readAt(long long offset, void* buf, std::size_t n);
    // True when all n bytes were written.
    bool writeAt(long long offset, const void* buf, std::size_t n);
    // Flushes written data to the disk.
    bool sync();
    // Size in bytes as the file holds it now, also on a network share where
    // another PC has just appended (taken under the lock), or -1.
    long long size();
    bool truncate(long long size);
    void close();

    // Makes a new file holding exactly these bytes so that other registers see
    // either no file or all of it, never an empty or half-written one. Returns
    // AlreadyExists, leaving the file as it is, when it is already there. One
    // counted operation.
    static int createWhole(const std::string& path, const void* data, std::size_t n);

    // The platform's description of the last failure (errno text).
    std::string lastErrorText() const;

private:
    int fd_ = -1;
    int lastErrno_ = 0;
    std::string path_;
};

// Fault injection for tests of every write path. Each call of tryOpen, readAt,
// writeAt, sync and truncate counts as one operation.
namespace FileFaults {
enum class Action { Fail, Exit };
// From the nth operation on (1-based), fail it (once, or every time), or end the
// process with _exit(86) before it runs.
void arm(long nth, Action action, bool once);
void disarm();
// Operations counted since the last arm/disarm.
long count();
}  // namespace FileFaults

// Whole-file helpers used where a record is read or written as one block.
// readFully: true when exactly n bytes were read.
bool readFully(DataFile& f, long long offset, void* buf, std::size_t n);
