#include "storage/files/SalesIndex.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/io/DataFile.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {
constexpr std::uint8_t kMagic[4] = {'S', 'I', 'D', 'X'};
constexpr long long kLeastCapacity = 1 << 16;
constexpr std::size_t kHoldBytes = 4 * 1024 * 1024;    // rows read under one hold of the lock
constexpr std::size_t kFlushBytes = 4 * 1024 * 1024;   // rows gathered before they are written
constexpr int kSamples = 16;                            // rows compared with their records

std::uint32_t checksum(const std::uint8_t* p, std::size_t n)
{
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ p[i]) * 16777619u;
    return h;
}

void putU64(std::uint8_t* buf, std::size_t off, std::uint64_t v) { codec::putF64(buf, off, std::bit_cast<double>(v)); }
std::uint64_t getU64(const std::uint8_t* buf, std::size_t off) { return std::bit_cast<std::uint64_t>(codec::getF64(buf, off)); }

bool readHeader(DataFile& f, SalesIndexHeader& h)
{
    std::uint8_t buf[SalesIndexHeader::kSize];
    const long long size = f.size();
    return size >= 0 && readFully(f, 0, buf, sizeof buf) && h.decode(buf, size);
}

// The byte range of covered row n.
bool rowRange(DataFile& f, const SalesIndexHeader& h, long long n, long long& start, long long& end)
{
    std::uint8_t buf[16];
    const long long at = static_cast<long long>(SalesIndexHeader::kSize) + 8 * n;
    const bool last = n + 1 >= h.covered;
    if (!readFully(f, at, buf, last ? 8 : 16))
        return false;
    start = static_cast<long long>(getU64(buf, 0));
    end = last ? h.rowsEnd : static_cast<long long>(getU64(buf, 8));
    return start >= h.rowsStart() && start < end && end <= h.rowsEnd && end - start <= 0xFFFF;
}

// The stored row matches the one made from the record now: every byte but
// its slot size, the slot no shorter than the row.
bool sameRow(const std::vector<std::uint8_t>& stored, const std::uint8_t* record)
{
    std::vector<std::uint8_t> fresh;
    AppendSaleRow(record, fresh);
    return fresh.size() <= stored.size() && std::equal(fresh.begin() + 2, fresh.end(), stored.begin() + 2);
}


int openIndex(DataFile& f, const std::string& salesPath, OpenMode mode)
{
    return Journal::openJoined(f, SalesIndexPath(salesPath), salesPath, mode);
}

// Marks the index as covering nothing, in a transaction of its own.
void markStale(const std::string& salesPath)
{
    Transaction tx;
    JoinSalesIndex(tx, salesPath);
    if (tx.begin() != FileCause::None)
        return;
    DataFile& f = tx.file(SalesIndexPath(salesPath));
    SalesIndexHeader h;
    if (!readHeader(f, h) || h.covered == 0)
        return;
    h.covered = 0;
    h.rowsEnd = h.rowsStart();
    ++h.generation;
    std::uint8_t buf[SalesIndexHeader::kSize];
    h.encode(buf);
    tx.write(f, 0, buf, sizeof buf);
    tx.commit();
}
}  // namespace

std::string SalesIndexPath(const std::string& salesPath)
{
    const std::size_t dot = salesPath.rfind('.');
    const std::size_t slash = salesPath.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return salesPath + ".idx";
    return salesPath.substr(0, dot) + ".idx";
}

void SalesIndexHeader::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    std::memcpy(buf, kMagic, 4);
    codec::putU32(buf, 4, kVersion);
    putU64(buf, 8, static_cast<std::uint64_t>(covered));
    putU64(buf, 16, generation);
    putU64(buf, 24, static_cast<std::uint64_t>(capacity));
    putU64(buf, 32, static_cast<std::uint64_t>(rowsEnd));
    codec::putU32(buf, 56, checksum(buf, 56));
}

bool SalesIndexHeader::decode(const std::uint8_t* buf, long long fileSize)
{
    if (std::memcmp(buf, kMagic, 4) != 0 || codec::getU32(buf, 4) != kVersion || codec::getU32(buf, 56) != checksum(buf, 56))
        return false;
    const std::uint64_t c = getU64(buf, 8), cap = getU64(buf, 24), end = getU64(buf, 32);
    // Rows lie after the position table: an index of no rows may end at its header.
    if (cap > (1ull << 40) || c > cap || (c > 0 && end > static_cast<std::uint64_t>(fileSize)))
        return false;
    covered = static_cast<long long>(c);
    generation = getU64(buf, 16);
    capacity = static_cast<long long>(cap);
    rowsEnd = static_cast<long long>(end);
    return rowsEnd >= rowsStart() && (covered > 0 || rowsEnd == rowsStart());
}

void JoinSalesIndex(Transaction& tx, const std::string& salesPath)
{
    tx.join(SalesIndexPath(salesPath), salesPath, OpenMode::OpenOrCreate);
}

void StageSalesIndexRow(Transaction& tx, const std::string& salesPath, long long n, const std::uint8_t* record)
{
    const std::string path = SalesIndexPath(salesPath);
    if (!tx.holds(path)) {
        markStale(salesPath);
        return;
    }
    DataFile& f = tx.file(path);
    SalesIndexHeader h;
    if (!readHeader(f, h))
        return;  // no index yet, or one that is rebuilt before it is read
    ++h.generation;
    long long start = 0, end = 0;
    if (n < h.covered && rowRange(f, h, n, start, end)) {
        std::vector<std::uint8_t> row;
        AppendSaleRow(record, row);
        if (static_cast<long long>(row.size()) <= end - start) {
            row.resize(static_cast<std::size_t>(end - start), 0);
            row[0] = static_cast<std::uint8_t>(row.size());
            row[1] = static_cast<std::uint8_t>(row.size() >> 8);
            tx.write(f, start, row.data(), row.size());
        } else {
            h.covered = n;  // the rows after it are read from the sales file and added again
            h.rowsEnd = start;
        }
    } else if (n < h.covered) {
        h.covered = 0;
        h.rowsEnd = h.rowsStart();
    }
    std::uint8_t buf[SalesIndexHeader::kSize];
    h.encode(buf);
    tx.write(f, 0, buf, sizeof buf);
}

SalesIndexCheck CheckSalesIndex(const std::string& salesPath)
{
    SalesIndexCheck check;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The header and the sample rows, then the records they came from;
        // one file held at a time, so no register waits on two.
        SalesIndexHeader h;
        std::vector<long long> samples;
        std::vector<std::vector<std::uint8_t>> rows;
        {
            DataFile f;
            if (openIndex(f, salesPath, OpenMode::Read) != FileCause::None || !readHeader(f, h))
                h = SalesIndexHeader{};
            for (int i = 0; i < kSamples && h.covered > 0; ++i) {
                const long long n = i == 0 ? h.covered - 1 : (h.covered - 1) * (i - 1) / (kSamples - 2);
                if (std::find(samples.begin(), samples.end(), n) != samples.end())
                    continue;
                long long start = 0, end = 0;
                std::vector<std::uint8_t> row;
                if (rowRange(f, h, n, start, end)) {
                    row.resize(static_cast<std::size_t>(end - start));
                    if (!readFully(f, start, row.data(), row.size()))
                        row.clear();
                }
                IndexedSale parsed;
                if (row.size() < 2 || !parsed.parse(row.data(), row.size()) || parsed.slotSize() != row.size()) {
                    h = SalesIndexHeader{};
                    break;
                }
                samples.push_back(n);
                rows.push_back(std::move(row));
            }
        }
        bool same = h.capacity > 0;
        {
            DataFile sales;
            check.cause = CLocalFile::OpenFile(sales, salesPath, OpenMode::Read);
            if (check.cause != FileCause::None)
                return check;
            check.salesRecords = InvoiceRecordsPresent(sales);
            if (check.salesRecords < 0) {
                check.cause = FileCause::Generic;
                return check;
            }
            same = same && check.salesRecords >= h.covered && check.salesRecords <= h.capacity;
            std::uint8_t record[InvoiceRecord::kSize];
            for (std::size_t i = 0; same && i < samples.size(); ++i)
                same = readFully(sales, InvoiceOffset(samples[i]), record, sizeof record) && sameRow(rows[i], record);
        }
        // A sale rewritten between the two reads: look again.
        DataFile f;
        SalesIndexHeader now;
        if (h.capacity > 0 && openIndex(f, salesPath, OpenMode::Read) == FileCause::None && readHeader(f, now) &&
            now.generation != h.generation)
            continue;
        check.usable = same;
        check.header = h;
        return check;
    }
    return check;
}

long long ReadSalesIndex(const std::string& salesPath, const SalesIndexHeader& header,
                         const std::function<void(const IndexedSale&, long long)>& visit,
                         const std::function<bool(long long)>& held)
{
    std::vector<std::uint8_t> buf(kHoldBytes + 0x10000);
    long long n = 0, at = header.rowsStart();
    std::size_t carried = 0;  // bytes of a row cut by the end of the last read
    IndexedSale row;
    while (n < header.covered) {
        DataFile f;
        SalesIndexHeader now;
        if (openIndex(f, salesPath, OpenMode::Read) != FileCause::None || !readHeader(f, now) ||
            now.generation != header.generation || now.covered < header.covered)
            return n;
        const long long want = std::min<long long>(static_cast<long long>(kHoldBytes), header.rowsEnd - at);
        if (want <= 0 || !readFully(f, at, buf.data() + carried, static_cast<std::size_t>(want)))
            return n;
        f.close();
        at += want;
        const std::size_t have = carried + static_cast<std::size_t>(want);
        std::size_t pos = 0;
        while (n < header.covered && have - pos >= 2) {
            const std::size_t size = salesrow::LoadU16(buf.data() + pos);
            if (size > have - pos)
                break;
            if (!row.parse(buf.data() + pos, size))
                return n;
            visit(row, n);
            pos += size;
            ++n;
        }
        carried = have - pos;
        std::memmove(buf.data(), buf.data() + pos, carried);
        if (held && !held(n))
            return -1;
        if (at >= header.rowsEnd && n < header.covered)
            return n;  // the rows end before the covered ones do
    }
    return n;
}

SalesIndexBuilder::SalesIndexBuilder(std::string salesPath, const SalesIndexHeader& from)
    : salesPath_(std::move(salesPath)), header_(from), active_(from.capacity > 0)
{
}

SalesIndexBuilder SalesIndexBuilder::Restart(const std::string& salesPath, long long records)
{
    SalesIndexHeader h;
    h.capacity = std::max(kLeastCapacity, static_cast<long long>(std::bit_ceil(static_cast<std::uint64_t>(records) * 2)));
    h.rowsEnd = h.rowsStart();
    Transaction tx;
    JoinSalesIndex(tx, salesPath);
    bool written = false;
    if (tx.begin() == FileCause::None) {
        DataFile& f = tx.file(SalesIndexPath(salesPath));
        SalesIndexHeader old;
        h.generation = readHeader(f, old) ? old.generation + 1 : 1;
        std::uint8_t buf[SalesIndexHeader::kSize];
        h.encode(buf);
        tx.write(f, 0, buf, sizeof buf);
        written = tx.commit() == FileCause::None;
    }
    SalesIndexBuilder builder(salesPath, h);
    builder.active_ = written;
    return builder;
}

void SalesIndexBuilder::add(const std::uint8_t* record)
{
    if (!active_)
        return;
    const long long n = header_.covered + static_cast<long long>(positions_.size() / 8);
    if (n >= header_.capacity) {
        active_ = false;  // no room: the next report builds a larger index
        return;
    }
    const std::size_t at = positions_.size();
    positions_.resize(at + 8);
    putU64(positions_.data(), at, static_cast<std::uint64_t>(header_.rowsEnd + static_cast<long long>(rows_.size())));
    AppendSaleRow(record, rows_);
}

void SalesIndexBuilder::flush(bool whenFull)
{
    if (!active_ || positions_.empty() || (whenFull && rows_.size() < kFlushBytes))
        return;
    active_ = false;
    Transaction tx;
    JoinSalesIndex(tx, salesPath_);
    if (tx.begin() != FileCause::None)
        return;
    DataFile& f = tx.file(SalesIndexPath(salesPath_));
    SalesIndexHeader now;
    if (!readHeader(f, now) || now.generation != header_.generation || now.covered != header_.covered ||
        now.capacity != header_.capacity)
        return;  // a sale was rewritten, or another register added rows, meanwhile
    SalesIndexHeader next = header_;
    next.covered += static_cast<long long>(positions_.size() / 8);
    next.rowsEnd += static_cast<long long>(rows_.size());
    tx.writeUnseen(f, header_.rowsEnd, rows_.data(), rows_.size());
    tx.writeUnseen(f, static_cast<long long>(SalesIndexHeader::kSize) + 8 * header_.covered, positions_.data(),
                   positions_.size());
    std::uint8_t buf[SalesIndexHeader::kSize];
    next.encode(buf);
    tx.write(f, 0, buf, sizeof buf);
    if (tx.commit() != FileCause::None)
        return;
    header_ = next;
    rows_.clear();
    positions_.clear();
    active_ = true;
}
