#pragma once
// The one file interface of the storage layer: open with a sharing lock, read at,
// write at, flush, close. Every data file access goes through it, so tests can
// make the Nth call fail, or end the process there, and check what is left.
//
// The POSIX implementation (DataFilePosix.cpp) maps the sharing rule onto
// open-file-description locks over the file's bytes: read opens take a shared
// lock (others may read, nobody may write), write opens an exclusive one. Lock
// ranges far beyond any data form the queue of registers waiting in turn.

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
// The cashier gave up waiting for a file call that had not come back (the
// window's StepWatch); nothing was written.
constexpr int WaitGivenUp = 16;
// A read, write or flush the disk or the share failed (EIO).
constexpr int IoError = 17;
// The connection to the network share was lost or timed out.
constexpr int ShareLost = 18;
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
    // Opens and locks, waiting in turn: registers get a held file in the order
    // they asked for it (readers together), and nobody that asks later, nor the
    // register that just let go, takes it before them. Waits at most waitMs;
    // SharingViolation when the file is still held then, and the place in the
    // queue is given up. One counted operation.
    int openInTurn(const std::string& path, OpenMode mode, int waitMs);
    // How many registers are waiting in turn for the file; -1 when it cannot be opened.
    static int waitingFor(const std::string& path);
    // The queue: one-byte lock slots from kQueueStart on, round a ring of
    // kQueueSlots; the sharing lock covers every byte before it.
    static constexpr long long kQueueStart = 1LL << 62;
    static constexpr int kQueueSlots = 32;
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
    // The cause of the last failure (a read, write or flush included), so
    // that a refusal can name it; Generic when none is known.
    int failure() const;

private:
    // waitMs < 0: one attempt that does not look at the queue.
    int open(const std::string& path, OpenMode mode, int waitMs);

    void closeGate();

    int fd_ = -1;
    int gate_ = -1;  // on SMB: this PC's local lock held with the file's (DataFilePosix.cpp)
    int lastErrno_ = 0;
    std::string path_;
};

// Fault injection for tests of every write path. Each call of tryOpen, openInTurn, readAt,
// writeAt, sync and truncate counts as one operation.
namespace FileFaults {
enum class Action { Fail, Exit, PowerCut, Kill };
// From the nth operation on (1-based), fail it (once, or every time), or end the
// process with _exit(86) before it runs. PowerCut ends it the same way after
// undoing, as a power cut may, the writes and truncations not yet flushed: each
// is kept, dropped, or torn (every 512-byte piece kept or dropped), at random
// from `seed`. Dropped bytes past the old end of a file read as zeros. Kill
// sends the process SIGKILL there.
void arm(long nth, Action action, bool once, unsigned seed = 1);
void disarm();
// Operations counted since the last arm/disarm.
long count();
// The errno a failed operation leaves (EIO unless set; arm sets it back).
void failWith(int err);
// A call that does not come back until the test lets it go, as a call the
// kernel holds on a network share: the next open (after the file's lock is
// taken), read or write made by a step under a window's StepWatch.
enum class Call { Open, Read, Write };
void holdNext(Call call);
// Blocks until a call is held; then letGo() lets it return.
void waitUntilHeld();
void letGo();
// The next such call fails with this errno instead.
void failNext(Call call, int err);
}  // namespace FileFaults

// Whole-file helpers used where a record is read or written as one block.
// readFully: true when exactly n bytes were read.
bool readFully(DataFile& f, long long offset, void* buf, std::size_t n);
