#include "storage/files/ProductHint.h"

#include "storage/files/ProductFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/ProductRecord.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

namespace {
constexpr std::size_t kRecordSize = ProductRecord::kSize;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The lower-cased text of a code slot: up to its NUL, at most width - 1 bytes.
std::size_t lowerSlot(const std::uint8_t* rec, std::size_t offset, char* out)
{
    constexpr std::size_t width = ProductRecord::kCodeWidth;
    std::size_t n = 0;
    while (n < width - 1 && rec[offset + n] != 0) {
        out[n] = lowerAscii(static_cast<char>(rec[offset + n]));
        ++n;
    }
    return n;
}

bool slotIs(const std::uint8_t* rec, std::size_t offset, const std::string& key)
{
    char text[ProductRecord::kCodeWidth];
    const std::size_t n = lowerSlot(rec, offset, text);
    return n == key.size() && std::memcmp(text, key.data(), n) == 0;
}

bool matches(const std::uint8_t* rec, const std::string& key, ProductHint::Match match)
{
    return slotIs(rec, ProductRecord::kItemNumberOffset, key) ||
           (match == ProductHint::Match::ItemOrBarCode && slotIs(rec, ProductRecord::kBarCodeOffset, key));
}

std::uint64_t hashKey(const char* text, std::size_t n)
{
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ static_cast<std::uint8_t>(text[i])) * 1099511628211ull;
    return h ^ (h >> 29);
}

// Open addressing over 12-byte slots: a 32-bit tag of the code and its first
// positions. Two codes sharing a slot's hash only cost a full scan: the
// record read back then carries the other code.
class CodeTable {
public:
    void reset(long long records)
    {
        std::size_t cap = 1024;
        while (cap < static_cast<std::size_t>(records) * 2)
            cap *= 2;
        slots_.assign(cap, Slot{});
        used_ = 0;
    }

    // Positions come in file order, so the first one noted for a code stays.
    void note(const char* text, std::size_t n, std::uint32_t pos, bool item)
    {
        if (n == 0)
            return;
        if ((used_ + 1) * 10 > slots_.size() * 7)
            grow();
        Slot& s = slotFor(tagOf(text, n));
        if (s.any == kNone) {
            ++used_;
            s.any = pos;
        }
        if (item && s.item == kNone)
            s.item = pos;
    }

    std::uint32_t find(const std::string& key, ProductHint::Match match) const
    {
        if (slots_.empty())
            return kNone;
        const std::uint32_t tag = tagOf(key.data(), key.size());
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = tag & mask;; i = (i + 1) & mask) {
            const Slot& s = slots_[i];
            if (s.any == kNone)
                return kNone;
            if (s.tag == tag)
                return match == ProductHint::Match::Item ? s.item : s.any;
        }
    }

    void clear() { std::vector<Slot>().swap(slots_); }

private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t item = kNone;
        std::uint32_t any = kNone;  // kNone: the slot is free
    };

    // A code's slot is found from its tag alone, so the table can grow without the codes.
    static std::uint32_t tagOf(const char* text, std::size_t n) { return static_cast<std::uint32_t>(hashKey(text, n) >> 32); }

    Slot& slotFor(std::uint32_t tag)
    {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = tag & mask;; i = (i + 1) & mask) {
            Slot& s = slots_[i];
            if (s.any == kNone) {
                s.tag = tag;
                return s;
            }
            if (s.tag == tag)
                return s;
        }
    }

    void grow()
    {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.size() * 2, Slot{});
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& s : old) {
            if (s.any == kNone)
                continue;
            std::size_t i = static_cast<std::size_t>(s.tag) & mask;
            while (slots_[i].any != kNone)
                i = (i + 1) & mask;
            slots_[i] = s;
        }
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

struct FileState {
    std::string path;
    std::int64_t modified = 0;
    long long size = -1;
    long long count = -1;
    bool operator==(const FileState&) const = default;
};

struct Hint {
    std::mutex lock;
    FileState state;  // path empty: no map
    CodeTable table;
    ProductHint::Counts counts;
};

Hint& hint()
{
    static Hint h;
    return h;
}

bool readState(DataFile& file, long long count, FileState& state)
{
    std::error_code error;
    state.path = file.path();
    const auto modified = std::filesystem::last_write_time(file.path(), error);
    state.modified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    state.size = file.size();
    state.count = count;
    return !error && state.size >= 0;
}

void noteCodes(CodeTable& table, const std::uint8_t* r, long long position)
{
    char text[ProductRecord::kCodeWidth];
    const auto pos = static_cast<std::uint32_t>(position);
    table.note(text, lowerSlot(r, ProductRecord::kItemNumberOffset, text), pos, true);
    table.note(text, lowerSlot(r, ProductRecord::kBarCodeOffset, text), pos, false);
}

// Reads records [first, count) in blocks, calling visit(record, position) until
// it returns false. False on a read error; `ended` set when the file ends first.
template <class Visit>
bool readRecords(DataFile& file, long long first, long long count, bool& ended, Visit&& visit)
{
    ended = false;
    std::vector<std::uint8_t> block(ProductFile::kScanBlockRecords * kRecordSize);
    while (first < count) {
        const long long want = std::min<long long>(count - first, ProductFile::kScanBlockRecords);
        const long long got = file.readAt(ProductFile::recordOffset(first), block.data(), static_cast<std::size_t>(want) * kRecordSize);
        if (got < 0)
            return false;
        const long long records = got / static_cast<long long>(kRecordSize);
        for (long long i = 0; i < records; ++i)
            if (!visit(block.data() + i * static_cast<long long>(kRecordSize), first + i))
                return true;
        if (records < want) {
            ended = true;
            return true;
        }
        first += records;
    }
    return true;
}

// The change notes beside the product file: a header (magic, notes written)
// and a ring of notes, each a state before and after a change that kept every
// code, whether records were added, and a checksum of the note.
constexpr std::uint32_t kNotesMagic = 0x31484E50;  // "PNH1"
constexpr std::size_t kNotes = 64;
constexpr std::size_t kHeadBytes = 8;
constexpr std::size_t kNoteBytes = 64;
constexpr std::size_t kStateBytes = 24;
constexpr std::uint32_t kKept = 1, kAdded = 2;

std::string notesPath(const std::string& products) { return products + ".hint"; }

void put64(std::uint8_t* at, std::int64_t v)
{
    codec::putU32(at, 0, static_cast<std::uint32_t>(v));
    codec::putU32(at, 4, static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) >> 32));
}
std::int64_t get64(const std::uint8_t* at)
{
    return static_cast<std::int64_t>(codec::getU32(at, 0) | std::uint64_t{codec::getU32(at, 4)} << 32);
}
std::uint64_t checksum(const std::uint8_t* note)
{
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < kNoteBytes - 8; ++i)
        h = (h ^ note[i]) * 1099511628211ull;
    return h;
}

struct Note {
    ProductHint::Mark before, after;
    std::uint32_t kind = 0;
};
bool operator==(const ProductHint::Mark& a, const ProductHint::Mark& b)
{
    return a.modified == b.modified && a.size == b.size && a.count == b.count;
}
ProductHint::Mark markOf(const FileState& s) { return {s.modified, s.size, s.count}; }

void putMark(std::uint8_t* at, const ProductHint::Mark& m)
{
    put64(at, m.modified);
    put64(at + 8, m.size);
    put64(at + 16, m.count);
}
ProductHint::Mark getMark(const std::uint8_t* at) { return {get64(at), get64(at + 8), get64(at + 16)}; }

// The notes that pass their checksum.
std::vector<Note> readNotes(const std::string& products)
{
    std::vector<Note> notes;
    DataFile file;
    if (file.tryOpen(notesPath(products), OpenMode::Read) != FileCause::None)
        return notes;
    std::vector<std::uint8_t> bytes(kHeadBytes + kNotes * kNoteBytes);
    const long long got = file.readAt(0, bytes.data(), bytes.size());
    if (got < static_cast<long long>(kHeadBytes) || codec::getU32(bytes.data(), 0) != kNotesMagic)
        return notes;
    for (std::size_t i = 0; i < kNotes && kHeadBytes + (i + 1) * kNoteBytes <= static_cast<std::size_t>(got); ++i) {
        const std::uint8_t* at = bytes.data() + kHeadBytes + i * kNoteBytes;
        if (get64(at + kNoteBytes - 8) != static_cast<std::int64_t>(checksum(at)))
            continue;
        notes.push_back({getMark(at), getMark(at + kStateBytes), codec::getU32(at, 2 * kStateBytes)});
    }
    return notes;
}

// Keeps the map across the noted changes that lead from its state to `now`,
// mapping the records they added. True when the map is of `now`.
bool follow(Hint& h, DataFile& file, const FileState& now)
{
    if (h.state.path.empty() || h.state.path != now.path)
        return false;
    if (h.state == now)
        return true;
    if (now.count < h.state.count || now.count >= static_cast<long long>(kNone))
        return false;
    const std::vector<Note> notes = readNotes(now.path);
    ProductHint::Mark at = markOf(h.state);
    const ProductHint::Mark goal = markOf(now);
    long long addedFrom = -1;
    for (std::size_t step = 0; step < kNotes && !(at == goal); ++step) {
        const auto next = std::find_if(notes.begin(), notes.end(), [&](const Note& n) { return n.before == at; });
        if (next == notes.end())
            return false;
        const bool kept = next->kind == kKept && next->after.count == at.count;
        const bool added = next->kind == kAdded && next->after.count > at.count;
        if (!kept && !added)
            return false;
        if (next->kind == kAdded && addedFrom < 0)
            addedFrom = at.count;
        at = next->after;
    }
    if (!(at == goal))
        return false;
    if (addedFrom >= 0) {
        bool ended = false;
        const bool read = readRecords(file, addedFrom, now.count, ended, [&](const std::uint8_t* r, long long pos) {
            noteCodes(h.table, r, pos);
            return true;
        });
        if (!read || ended)
            return false;
    }
    h.state = now;
    ++h.counts.followed;
    return true;
}

// The map's answer for a current map: the named record read back and its code compared.
bool fromMap(Hint& h, DataFile& file, long long count, const std::string& key, ProductHint::Match match,
             long long& index, std::uint8_t* rec)
{
    const std::uint32_t pos = h.table.find(key, match);
    if (pos == kNone || static_cast<long long>(pos) >= count ||
        !readFully(file, ProductFile::recordOffset(pos), rec, kRecordSize) || !matches(rec, key, match))
        return false;
    ++h.counts.mapped;
    index = pos;
    return true;
}

void forget(Hint& h)
{
    h.state = FileState{};
    h.table.clear();
}

// This register's own change, the file still held: a map of the state before
// is a map of the state after once the added records are mapped, so the next
// change needs neither the notes nor a pass.
void keepOwnMap(DataFile& file, const ProductHint::Mark& before, const FileState& now)
{
    Hint& h = hint();
    std::lock_guard guard(h.lock);
    if (h.state.path != now.path || !(markOf(h.state) == before))
        return;
    bool ended = false;
    const bool read = readRecords(file, before.count, now.count, ended, [&](const std::uint8_t* r, long long pos) {
        noteCodes(h.table, r, pos);
        return true;
    });
    if (!read || ended || now.count >= static_cast<long long>(kNone))
        forget(h);
    else
        h.state = now;
}
}  // namespace

namespace ProductHint {

bool Find(DataFile& file, long long count, const std::string& key, Match match, long long& index, std::uint8_t* rec)
{
    index = -1;
    Hint& h = hint();
    std::lock_guard guard(h.lock);
    // Taken before any record is read: a write made during the pass then shows as a later state.
    FileState now;
    const bool known = readState(file, count, now);
    const bool current = known && follow(h, file, now);
    if (current && fromMap(h, file, count, key, match, index, rec))
        return true;

    // The full scan: the first record that matches, and the map of every code
    // unless the map already is of the file as it stands (a code it lacks then).
    ++h.counts.scanned;
    const bool mapping = !current && known && count < static_cast<long long>(kNone);
    if (!current) {
        forget(h);
        if (mapping)
            h.table.reset(count);
    }
    bool ended = false;
    const bool read = readRecords(file, 0, count, ended, [&](const std::uint8_t* r, long long pos) {
        if (index < 0 && matches(r, key, match)) {
            index = pos;
            std::memcpy(rec, r, kRecordSize);
            if (!mapping)
                return false;
        }
        if (mapping)
            noteCodes(h.table, r, pos);
        return true;
    });
    if (!read || ended) {
        // Unread, or the file ended before its count: answer, but keep no map of it.
        forget(h);
        return read;
    }
    if (mapping)
        h.state = now;
    return true;
}

bool Refresh(DataFile& file, long long count)
{
    Hint& h = hint();
    std::lock_guard guard(h.lock);
    FileState now;
    if (!readState(file, count, now) || count >= static_cast<long long>(kNone))
        return true;  // nothing a map could be kept for
    if (follow(h, file, now))
        return true;
    ++h.counts.scanned;
    forget(h);
    h.table.reset(count);
    bool ended = false;
    const bool read = readRecords(file, 0, count, ended, [&](const std::uint8_t* r, long long pos) {
        noteCodes(h.table, r, pos);
        return true;
    });
    if (!read || ended) {
        forget(h);
        return read;
    }
    h.state = now;
    return true;
}

bool LooksCurrent(const std::string& path)
{
    Hint& h = hint();
    std::lock_guard guard(h.lock);
    if (h.state.path.empty() || h.state.path != path)
        return false;
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error || static_cast<std::int64_t>(modified.time_since_epoch().count()) != h.state.modified)
        return false;
    const auto size = std::filesystem::file_size(path, error);
    return !error && static_cast<long long>(size) == h.state.size;
}

bool MappedEach(DataFile& file, long long count, Match match, std::size_t n,
                const std::function<std::string(std::size_t)>& key,
                const std::function<void(std::size_t, long long index, const std::uint8_t* rec)>& found)
{
    Hint& h = hint();
    std::lock_guard guard(h.lock);
    FileState now;
    if (!readState(file, count, now) || !follow(h, file, now))
        return false;
    std::uint8_t rec[ProductRecord::kSize];
    for (std::size_t i = 0; i < n; ++i) {
        long long index = -1;
        if (!fromMap(h, file, count, key(i), match, index, rec))
            return false;
        found(i, index, rec);
    }
    return true;
}

Mark MarkBefore(DataFile& file, long long count)
{
    FileState state;
    return readState(file, count, state) ? markOf(state) : Mark{};
}

void NoteCodesKept(DataFile& file, const Mark& before, long long count)
{
    FileState now;
    if (before.size < 0 || !readState(file, count, now) || count < before.count)
        return;
    const Mark after = markOf(now);
    if (after == before)
        return;  // nothing another register could tell from the state before
    keepOwnMap(file, before, now);
    DataFile notes;
    if (notes.tryOpen(notesPath(file.path()), OpenMode::OpenOrCreate) != FileCause::None)
        return;
    std::uint8_t head[kHeadBytes] = {};
    const bool known = notes.readAt(0, head, sizeof head) == static_cast<long long>(sizeof head) &&
                       codec::getU32(head, 0) == kNotesMagic;
    const std::uint32_t written = known ? codec::getU32(head, 4) : 0;
    if (!known) {
        // A new ring is laid down whole (empty slots fail their checksum), so a
        // note is always written in place and never lengthens the file.
        const std::vector<std::uint8_t> ring(kHeadBytes + kNotes * kNoteBytes, 0);
        if (!notes.writeAt(0, ring.data(), ring.size()))
            return;
    }
    std::uint8_t note[kNoteBytes] = {};
    putMark(note, before);
    putMark(note + kStateBytes, after);
    codec::putU32(note, 2 * kStateBytes, count > before.count ? kAdded : kKept);
    put64(note + kNoteBytes - 8, static_cast<std::int64_t>(checksum(note)));
    codec::putU32(head, 0, kNotesMagic);
    codec::putU32(head, 4, written + 1);
    // The note first: a header that counts it before it is there only skips a slot.
    if (notes.writeAt(static_cast<long long>(kHeadBytes + (written % kNotes) * kNoteBytes), note, sizeof note))
        notes.writeAt(0, head, sizeof head);
}

Counts Stats()
{
    Hint& h = hint();
    std::lock_guard guard(h.lock);
    return h.counts;
}

}  // namespace ProductHint
