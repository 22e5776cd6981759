#include "BenchFloor.h"

#include "storage/journal/Transaction.h"
#include "storage/records/ProductRecord.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr std::size_t kBlock = 64 * 1024;
constexpr std::size_t kJournalHead = 24;
}  // namespace

void readBlocks(const std::string& path, long long end)
{
    DataFile file;
    if (file.tryOpen(path, OpenMode::Read) != FileCause::None)
        return;
    std::vector<std::uint8_t> block(kBlock);
    for (long long at = 0; end < 0 || at < end;) {
        std::size_t want = block.size();
        if (end >= 0 && end - at < static_cast<long long>(want))
            want = static_cast<std::size_t>(end - at);
        const long long got = file.readAt(at, block.data(), want);
        if (got <= 0)
            break;
        at += got;
    }
}

void readBytes(const std::string& path, long long offset, std::size_t n)
{
    DataFile file;
    std::vector<std::uint8_t> buf(n);
    if (file.tryOpen(path, OpenMode::Read) == FileCause::None)
        file.readAt(offset, buf.data(), n);
}

void readAt(const std::string& path, const std::vector<long long>& offsets, std::size_t n)
{
    DataFile file;
    std::vector<std::uint8_t> buf(n);
    if (file.tryOpen(path, OpenMode::Read) == FileCause::None)
        for (const long long at : offsets)
            file.readAt(at, buf.data(), n);
}

void readJournalMark(const std::string& dataPath) { readBytes(Journal::pathFor(dataPath), 0, 4); }

void readForVoid(const std::string& invoices, long long saleAt, std::size_t saleBytes, const std::string& products,
                 const std::vector<long long>& productRecords)
{
    readJournalMark(invoices);
    readBytes(invoices, 0, 4);
    readBytes(invoices, saleAt, saleBytes);
    readJournalMark(products);
    readAt(products, productRecords, ProductRecord::kSize);
}

// Leaves `path` in the page cache as a register leaves it: flushed, dropped,
// and read back in 64 KiB blocks. What a small write and its flush cost the
// kernel depends on how the page holding it was cached (a copy written in one
// go is cached in other units than a file read back in blocks), so a floor's
// copy and the file the operation changes are cached alike.
void cacheAsRead(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    readBlocks(path, -1);
}

ChangeFloor::ChangeFloor(const std::string& folder, const std::vector<std::string>& originals)
{
    // Each floor has copies of its own: a copy is held open (and locked) while the floor lives.
    static int floors = 0;
    const std::string prefix = folder + "floor" + std::to_string(++floors) + "-";
    const std::string first = std::filesystem::path(originals.front()).filename().string();
    if (journal_.tryOpen(prefix + "journal-" + first, OpenMode::Create) != FileCause::None)
        std::fprintf(stderr, "baseline: cannot create its journal in %s\n", folder.c_str());
    for (const auto& path : originals) {
        const std::string name = std::filesystem::path(path).filename().string();
        namesBytes_ += 4 + name.size() + 8;
        const std::string copy = prefix + name;
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        cacheAsRead(path);
        cacheAsRead(copy);
        files_.push_back(std::make_unique<DataFile>());
        if (files_.back()->tryOpen(copy, OpenMode::ReadWrite) != FileCause::None)
            std::fprintf(stderr, "baseline: cannot open %s\n", copy.c_str());
    }
}

void ChangeFloor::run(const std::vector<std::vector<Range>>& writes)
{
    // The journal's head, then per file its name and size, per range its place and original bytes.
    std::size_t kept = kJournalHead + namesBytes_;
    std::size_t largest = kJournalHead;
    for (const auto& w : writes)
        for (const auto& r : w) {
            largest = std::max(largest, r.n);
            if (!r.unseen)
                kept += 16 + r.n;
        }
    std::vector<std::uint8_t> bytes(std::max(kept, largest), 0x5A);
    journal_.writeAt(0, bytes.data(), kept);
    journal_.sync();
    for (std::size_t f = 0; f < writes.size() && f < files_.size(); ++f) {
        if (writes[f].empty())
            continue;
        for (const auto& r : writes[f])
            files_[f]->writeAt(r.at, bytes.data(), r.n);
        files_[f]->sync();
    }
    journal_.writeAt(0, bytes.data(), kJournalHead);
    journal_.sync();
}

AppendFloor::AppendFloor(const std::string& original, const std::string& copy, std::size_t recordSize)
    : copy_(copy), record_(recordSize, 0x33)
{
    std::uint8_t count[4] = {};
    std::filesystem::remove(copy);
    DataFile::createWhole(copy, count, sizeof count);
    std::filesystem::resize_file(copy, std::filesystem::file_size(original));
}

void AppendFloor::run()
{
    DataFile file;
    if (file.tryOpen(copy_, OpenMode::ReadWrite) != FileCause::None)
        return;
    std::uint8_t count[4];
    file.readAt(0, count, sizeof count);
    const long long end = file.size();
    file.writeAt(end, record_.data(), record_.size());
    file.sync();
    ++count[0];
    file.writeAt(0, count, sizeof count);
    file.sync();
}
