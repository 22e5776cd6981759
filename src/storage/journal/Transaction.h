#pragma once
// All-or-nothing changes to the data files of a file set.
//
//   Transaction tx;
//   tx.add(invoicesPath); tx.add(productsPath);   // every file the change touches
//   if (tx.begin() != FileCause::None) ...        // exclusive locks, in path order
//   read through tx.file(path), stage with tx.write / tx.writeUnseen
//   tx.commit();                                  // None: all on disk; else nothing changed
//
// A whole finished sale (stock of its products, the customer, rentals, the sale
// appended, its payments) is one transaction: add every file, then let each
// file's "...In(Transaction&)" operation read and stage its part, then commit
// once. Reads see the files as they were before the transaction: stage writes
// after the reads they depend on. After commit the locks are still held and
// more changes may be staged; they go when the transaction is destroyed.
//
// Commit. Writes staged with writeUnseen go where no reader looks yet (past the
// counted records). When the only other write lies in one 512-byte sector (an
// append's count), those bytes are written and flushed first, then the sector:
// a sector is written whole or not at all. Otherwise the original bytes of every
// range and the old file sizes go to the set's journal (one file beside the data,
// checksummed, flushed), then the changes, each file flushed, then the journal's
// mark is overwritten with zeros and flushed: emptying it is the commit. The
// journal file stays, so the next one is written over it in place.
//
// Recovery. The journal is locked exclusively while in use, so a marked journal
// that can be locked belongs to a register that died. Journal::OpenRecovered
// checks the journal after locking any data file, and a transaction once after
// locking all of its files; a stale one is rolled back under the exclusive locks
// of the files it names before anything is read. A journal cut
// short (its checksum fails) was never followed by a change, and is emptied.
// Only file locks and file contents are used, so registers on other machines
// sharing the folder recover each other's journals the same way.

#include "storage/io/DataFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Transaction {
public:
    Transaction() = default;
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Names a file the transaction reads and changes: ReadWrite for an existing
    // file, OpenOrCreate to create a missing one empty. Before begin().
    void add(const std::string& path, OpenMode mode = OpenMode::ReadWrite);
    // Names a file that is not one of the set's own (a purchase order kept in
    // the set's folder) to change together with the set's files: it is locked,
    // and rolled back after a crash, under the journal of the set `setMember`
    // belongs to. Before begin().
    void join(const std::string& path, const std::string& setMember, OpenMode mode = OpenMode::ReadWrite);
    // Locks every added file exclusively, in path order, then looks at the set's
    // journal once. Returns the open cause (every lock is let go again on failure).
    int begin();
    bool holds(const std::string& path) const;
    // The open file of an added path (after a successful begin).
    DataFile& file(const std::string& path);

    // Stages n bytes at offset. Visible to other registers only after commit.
    void write(DataFile& f, long long offset, const void* data, std::size_t n);
    // The same, given the n bytes the file holds there now as read through this
    // transaction: the commit keeps them in the journal without reading them again.
    void write(DataFile& f, long long offset, const void* data, std::size_t n, const void* original);
    // Stages bytes that no reader sees before another write of the same commit
    // makes them count (an appended record before its count).
    void writeUnseen(DataFile& f, long long offset, const void* data, std::size_t n);
    bool pending() const { return !writes_.empty(); }
    // Writes what was staged. None: all of it is on disk. Any other cause: none
    // of it is seen by any register (the staged writes are dropped either way).
    int commit();
    // Drops staged writes and lets go of every lock.
    void release();
    // Why a read, write or flush of one of the files failed (DataFile::failure);
    // Generic when none of them says.
    int failure() const;

private:
    struct Staged {
        std::size_t file;
        long long offset;
        std::vector<std::uint8_t> bytes;
        bool unseen;
        std::vector<std::uint8_t> original;  // empty: read at the commit
    };
    struct Member {
        std::string path;
        OpenMode mode;
        std::unique_ptr<DataFile> file;
        long long sizeBefore = 0;
        std::string journal;  // a joined file's set journal; empty: its own
    };
    std::size_t indexOf(const DataFile& f) const;
    int commitInPlaceSector();
    int commitJournaled();

    std::vector<Member> members_;
    std::vector<Staged> writes_;
    bool begun_ = false;
};

namespace Journal {
// The journal of the file set a data file belongs to; empty for a journal itself.
std::string pathFor(const std::string& dataPath);
// Rolls back a stale journal at this path, if there is one. Returns None when
// no stale journal is left.
int recover(const std::string& journalPath);
// Opens a file that joins the set of `setMember` (see Transaction::join) as
// OpenRecovered opens one of the set's own: a change of that set left
// half done is rolled back before the file is read.
int openJoined(DataFile& file, const std::string& path, const std::string& setMember, OpenMode mode);
// True when the journal is missing or holds no change; false when it holds one
// no live register owns. `cause` gets a failure to look.
bool clean(const std::string& journalPath, int& cause);
// Opens a data file under the sharing rule (FileWait::OpenLocked); with the file
// held, a stale journal of its set is rolled back before anything is read.
int OpenRecovered(DataFile& file, const std::string& path, OpenMode mode);
}  // namespace Journal
