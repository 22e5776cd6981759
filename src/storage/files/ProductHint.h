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

#include "storage/io/DataFile.h"

#include <cstdint>
#include <string>

namespace ProductHint {

enum class Match { Item, ItemOrBarCode };

// Finds the first of the `count` records of the open product `file` whose item
// number (or, for ItemOrBarCode, item number or bar code) equals `key`, which
// is lower-cased (an empty key is never mapped: it always takes the full scan).
// `index` gets its position, -1 when none; `rec` (ProductRecord::kSize bytes)
// its bytes when found. False on a read error.
bool Find(DataFile& file, long long count, const std::string& key, Match match, long long& index, std::uint8_t* rec);

// What the last lookups did, for the bench and the tests: answered from the map,
// or by a full scan.
struct Counts {
    long long mapped = 0;
    long long scanned = 0;
};
Counts Stats();

}  // namespace ProductHint
