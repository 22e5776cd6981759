#pragma once
// The records a list shows, kept as their positions in a file whose records
// never move (sales, payments): a row's record is read back from the file when
// the row is drawn, with the rows around it in one open and as few reads as
// their positions allow. A list of half a million rows holds two megabytes of
// positions and two pages of records, whatever the records' size.
//
// A row shows its record as stored when it is drawn: a sale edited or voided
// since the listing shows its new state, at the same place in the list.

#include "storage/files/ChunkedScan.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct CountedLayout;

class ListedRecords {
public:
    // Rows read at once when a row outside the pages held is drawn: a screenful and more.
    static constexpr std::size_t kPageRows = 64;

    // Lists these positions of the file at `path`; row 0 is the last position
    // when `lastFirst` (a list shown newest first), the first otherwise.
    void reset(std::string path, ChunkedLayout layout, std::vector<std::uint32_t> positions, bool lastFirst);
    void clear() { reset({}, layout_, {}, false); }

    std::size_t size() const { return positions_.size(); }
    long long position(std::size_t row) const
    {
        return positions_[lastFirst_ ? positions_.size() - 1 - row : row];
    }
    // The bytes of a row's record (layout.recordSize of them), valid until the
    // next call; null when the file cannot be read there (the record is gone,
    // the share refused, another register holds the file too long).
    const std::uint8_t* record(std::size_t row) const;

private:
    struct Page {
        std::size_t first = 0;          // its first row
        std::vector<std::uint8_t> bytes; // the page's records in row order
        std::vector<bool> read;          // which of them were read
        bool held = false;
    };
    void load(Page& page, std::size_t first) const;

    std::string path_;
    ChunkedLayout layout_{0, 1};
    std::vector<std::uint32_t> positions_;
    bool lastFirst_ = false;
    // The pages last read; a view drawn across two pages keeps both.
    mutable Page pages_[2];
    mutable std::size_t older_ = 0;
};

// The records a list shows, kept as the bytes of the fields it shows, as they
// were when it was listed: for files whose records move (deleting a customer
// puts the last one in its place), where a position would later name another
// record. A list of 100,000 customers holds their names, phones, e-mails and
// numbers (12 MB), not their records (97 MB); a row's texts are made when it
// is drawn.
class ListedSlots {
public:
    struct Slot {
        std::size_t offset, width;
    };
    explicit ListedSlots(std::vector<Slot> slots);

    // Replaces the rows with the records of the counted file at `path`, from
    // record `first` on, that keep holds (every one without keep), read in
    // blocks of 64 KiB. Returns the open cause (NotFound: no file, no rows), or
    // Generic when a read failed; there are no rows then.
    int read(const std::string& path, const CountedLayout& layout, long long first,
             const std::function<bool(const std::uint8_t* record)>& keep = {});
    void clear() { bytes_.clear(), bytes_.shrink_to_fit(); }

    std::size_t size() const { return bytes_.size() / rowBytes_; }
    // A field of a row, up to its first NUL and at most its width less one characters.
    std::string_view text(std::size_t row, std::size_t slot) const;
    const std::uint8_t* bytes(std::size_t row, std::size_t slot) const
    {
        return bytes_.data() + row * rowBytes_ + at_[slot];
    }

private:
    std::vector<Slot> slots_;
    std::vector<std::size_t> at_;  // each slot's place in a row
    std::size_t rowBytes_ = 0;
    std::vector<std::uint8_t> bytes_;
};
