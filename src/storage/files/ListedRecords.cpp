#include "storage/files/ListedRecords.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/io/DataFile.h"

#include <algorithm>
#include <cstring>

void ListedRecords::reset(std::string path, ChunkedLayout layout, std::vector<std::uint32_t> positions, bool lastFirst)
{
    path_ = std::move(path);
    layout_ = layout;
    positions_ = std::move(positions);
    lastFirst_ = lastFirst;
    for (Page& page : pages_)
        page = Page{};
}

const std::uint8_t* ListedRecords::record(std::size_t row) const
{
    if (row >= positions_.size())
        return nullptr;
    const std::size_t first = row - row % kPageRows;
    std::size_t at = 0;
    while (at < 2 && !(pages_[at].held && pages_[at].first == first))
        ++at;
    if (at == 2) {
        at = older_;
        load(pages_[at], first);
    }
    older_ = 1 - at;
    const Page& page = pages_[at];
    const std::size_t i = row - first;
    return page.read[i] ? page.bytes.data() + i * layout_.recordSize : nullptr;
}

// Reads the page's records: in one read when their positions lie close
// together (a list of most of a file), one by one when they are scattered.
void ListedRecords::load(Page& page, std::size_t first) const
{
    const std::size_t n = std::min(kPageRows, positions_.size() - first);
    const std::size_t size = layout_.recordSize;
    page.first = first;
    page.held = true;
    page.bytes.resize(n * size);
    page.read.assign(n, false);
    DataFile file;
    if (CLocalFile::OpenFile(file, path_, OpenMode::Read) != FileCause::None)
        return;
    const long long present = PresentRecords(file, layout_);
    const auto offset = [&](long long pos) {
        return static_cast<long long>(layout_.headerSize) + pos * static_cast<long long>(size);
    };
    long long low = position(first), high = low;
    for (std::size_t i = 1; i < n; ++i) {
        low = std::min(low, position(first + i));
        high = std::max(high, position(first + i));
    }
    high = std::min(high, present - 1);
    if (low <= high && static_cast<std::size_t>(high - low + 1) <= 2 * n) {
        std::vector<std::uint8_t> run(static_cast<std::size_t>(high - low + 1) * size);
        if (readFully(file, offset(low), run.data(), run.size()))
            for (std::size_t i = 0; i < n; ++i)
                if (const long long pos = position(first + i); pos <= high) {
                    std::memcpy(page.bytes.data() + i * size, run.data() + (pos - low) * size, size);
                    page.read[i] = true;
                }
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const long long pos = position(first + i);
        page.read[i] = pos < present && readFully(file, offset(pos), page.bytes.data() + i * size, size);
    }
}

ListedSlots::ListedSlots(std::vector<Slot> slots) : slots_(std::move(slots))
{
    for (const Slot& slot : slots_) {
        at_.push_back(rowBytes_);
        rowBytes_ += slot.width;
    }
    rowBytes_ = std::max<std::size_t>(rowBytes_, 1);
}

int ListedSlots::read(const std::string& path, const CountedLayout& layout, long long first,
                      const std::function<bool(const std::uint8_t*)>& keep)
{
    clear();
    CountedFile file(layout);
    if (const int cause = file.open(path, OpenMode::Read); cause != FileCause::None)
        return cause;
    // Room for every record counted: a list of most of them is never copied while it grows.
    bytes_.reserve(static_cast<std::size_t>(std::max(0LL, file.count() - first)) * rowBytes_);
    const bool read = file.scan(first, [&](long long, const std::uint8_t* rec) {
        if (keep && !keep(rec))
            return false;
        for (const Slot& slot : slots_)
            bytes_.insert(bytes_.end(), rec + slot.offset, rec + slot.offset + slot.width);
        return false;
    });
    if (!read) {
        clear();
        return FileCause::Generic;
    }
    if (bytes_.size() < bytes_.capacity() / 2)
        bytes_.shrink_to_fit();
    return FileCause::None;
}

std::string_view ListedSlots::text(std::size_t row, std::size_t slot) const
{
    const auto* p = reinterpret_cast<const char*>(bytes(row, slot));
    // A field holds its width less one characters, as a record's text is read anywhere else.
    const std::size_t most = slots_[slot].width - 1;
    return {p, static_cast<std::size_t>(std::find(p, p + most, '\0') - p)};
}
