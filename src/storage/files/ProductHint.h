#pragma once
// This register's map from product code to record position, so a lookup reads
// one record instead of the whole product file.
//
// The map is built in the same pass as a full scan: every item number, and for
// the sale screen every item number or bar code, with the position of the
// first record that carries it, exactly the record the scan would stop at. It
// belongs to one state of the file, told by the file's modification time, its
// size and its record count, taken before the pass.
//
// A lookup uses the map only when the file still shows that state, and then
// reads the record it names and compares its code; any other case (no entry,
// a record past the count or carrying another code, a file changed since) is
// answered by the full scan, which builds the map afresh when the file changed.
//
// Why that is enough. Every change another register makes writes the file and
// so gives it a new modification time: an append, a stock change, an edit, and a
// delete, which moves the last record into the gap and lowers the count. While
// the time, size and count are those of the pass, the records are those the pass
// read, so the first record with a code is still the one mapped, duplicates
// included: the map keeps the first position of a code, never a later one.
// Reading the named record back guards against a time that does not move (a
// share that caches file times, a clock too coarse to tell two writes apart): a
// delete leaves the named position past the lowered count or holding the record
// moved in from the end, which carries another code, or the same code when it
// was a second record of it; the count then differs from the pass's, and the
// map is not used at all. What neither check sees is a code changed in place
// (an edit of another record's bar code) within one tick of such a clock.
//
// Changes that move no code. A sale's stock, a price or a column changed for
// every product rewrites records in place and would cost every other register a
// new pass (each finished sale changes stock). A register that makes such a
// change says so in the file's change notes beside it (`<products>.hint`): the
// state before (under its exclusive lock, before writing) and after (after the
// commit, the lock still held), and whether records were only added after the
// last one. Another register whose map is of one of those states follows the
// notes from its state to the file's present one and keeps its map, mapping
// only the added records. The notes can only say that codes stayed where they
// were, never the reverse: a change that is not noted (a delete, a bar code
// edited, another program, a register that died before noting) leaves a state
// no note starts from, and the map is built afresh. Each note is checked by its
// own checksum, so a torn write is no note. An in-place change keeps every
// record's item number and bar code, so the first record with a code is the
// one it was; an added record lies after every mapped one, so it is first only
// for a code no earlier record carries, which mapping it in file order keeps.

#include "storage/io/DataFile.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ProductHint {

enum class Match { Item, ItemOrBarCode };

// Finds the first of the `count` records of the open product `file` whose item
// number (or, for ItemOrBarCode, item number or bar code) equals `key`, which
// is lower-cased (an empty key is never mapped: it always takes the full scan).
// `index` gets its position, -1 when none; `rec` (ProductRecord::kSize bytes)
// its bytes when found. False on a read error.
bool Find(DataFile& file, long long count, const std::string& key, Match match, long long& index, std::uint8_t* rec);

// Brings the map up to the file as it stands (following the change notes, or
// by a full pass) without looking anything up, so that a change about to lock
// the file finds the map current. False on a read error.
bool Refresh(DataFile& file, long long count);

// True when the map is of the file at `path` as far as its modification time
// and size tell, without opening it: a change about to lock the file may skip
// Refresh, since MappedEach checks the whole state again under the lock.
bool LooksCurrent(const std::string& path);

// Answers only from a current map, never by a scan, for key(0) .. key(n - 1)
// in turn: found(i, index, rec) for each, with the record the map names and
// that carries the code. The file's state is checked once for all of them, so
// the caller holds the file exclusively. False at the first key the map cannot
// vouch for (not current, no entry, or a record that carries another code):
// the caller then scans.
bool MappedEach(DataFile& file, long long count, Match match, std::size_t n,
                const std::function<std::string(std::size_t)>& key,
                const std::function<void(std::size_t, long long index, const std::uint8_t* rec)>& found);

// The state of the open product file, taken under an exclusive lock before a
// change writes anything; `count` its records.
struct Mark {
    std::int64_t modified = 0;
    long long size = -1;
    long long count = -1;
};
Mark MarkBefore(DataFile& file, long long count);
// After the change's commit, the lock still held: notes that the change moved
// no code (`count` unchanged) or only added records after the last one. A note
// that cannot be written costs the other registers a pass, nothing else. This
// register's map, when it was of the state before, is kept for the state after.
void NoteCodesKept(DataFile& file, const Mark& before, long long count);

// What the last lookups did, for the bench and the tests: answered from the map,
// or by a full scan.
struct Counts {
    long long mapped = 0;
    long long scanned = 0;
    long long followed = 0;  // times the map was kept across noted changes
};
Counts Stats();

}  // namespace ProductHint
