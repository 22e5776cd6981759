#include "storage/files/ProductHint.h"

#include "storage/files/ProductFile.h"
#include "storage/records/ProductRecord.h"

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
    std::filesystem::file_time_type modified{};
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
    state.modified = std::filesystem::last_write_time(file.path(), error);
    state.size = file.size();
    state.count = count;
    return !error && state.size >= 0;
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
    if (known && now == h.state) {
        const std::uint32_t pos = h.table.find(key, match);
        if (pos != kNone && static_cast<long long>(pos) < count &&
            readFully(file, ProductFile::recordOffset(pos), rec, kRecordSize) && matches(rec, key, match)) {
            ++h.counts.mapped;
            index = pos;
            return true;
        }
    }

    // The full scan: the first record that matches, and the map of every code
    // unless the map already is of the file as it stands (a code it lacks then).
    ++h.counts.scanned;
    const bool current = known && now == h.state;
    const bool mapping = !current && known && count < static_cast<long long>(kNone);
    if (!current) {
        h.state = FileState{};
        if (mapping)
            h.table.reset(count);
        else
            h.table.clear();
    }
    const auto forget = [&h] {
        h.state = FileState{};
        h.table.clear();
    };
    std::vector<std::uint8_t> block(ProductFile::kScanBlockRecords * kRecordSize);
    char text[ProductRecord::kCodeWidth];
    for (long long first = 0; first < count;) {
        const long long want = std::min<long long>(count - first, ProductFile::kScanBlockRecords);
        const long long got = file.readAt(ProductFile::recordOffset(first), block.data(), static_cast<std::size_t>(want) * kRecordSize);
        if (got < 0) {
            forget();
            return false;
        }
        const long long records = got / static_cast<long long>(kRecordSize);
        for (long long i = 0; i < records; ++i) {
            const std::uint8_t* r = block.data() + i * static_cast<long long>(kRecordSize);
            if (index < 0 && matches(r, key, match)) {
                index = first + i;
                std::memcpy(rec, r, kRecordSize);
                if (!mapping)
                    return true;
            }
            if (mapping) {
                const auto pos = static_cast<std::uint32_t>(first + i);
                h.table.note(text, lowerSlot(r, ProductRecord::kItemNumberOffset, text), pos, true);
                h.table.note(text, lowerSlot(r, ProductRecord::kBarCodeOffset, text), pos, false);
            }
        }
        if (records < want) {
            // The file ended before its count: answer, but keep no map of it.
            forget();
            return true;
        }
        first += records;
    }
    if (mapping)
        h.state = now;
    return true;
}

Counts Stats()
{
    Hint& h = hint();
    std::lock_guard guard(h.lock);
    return h.counts;
}

}  // namespace ProductHint
