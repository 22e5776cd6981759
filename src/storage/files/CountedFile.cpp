#include "storage/files/CountedFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/io/UserPrompt.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstring>

CountedFile::CountedFile(const CountedLayout& layout)
    : layout_(layout), header_(layout.headerSize, 0)
{
}

long long RecordsUnderCount(long long stored, long long room, long long least, bool& damaged)
{
    damaged = stored < least;
    if (damaged)
        return room;
    return std::min(stored, room);
}

void ReportDamagedCount(const std::string& path)
{
    userPrompt().showMessage(strprintf("This file is damaged:\n\n%s\n\nThe number of records it says it holds "
                                       "cannot be right, so nothing was written to it. Restore the file from a "
                                       "backup before changing it.",
                                       path.c_str()));
}

void CountedFile::putCount(const CountedLayout& layout, std::uint8_t* header, long long n)
{
    if (layout.countType == CountedLayout::Count::U32)
        codec::putU32(header, layout.countOffset, static_cast<std::uint32_t>(n));
    else
        codec::putI16(header, layout.countOffset, static_cast<std::int16_t>(n));
}

long long CountedFile::getCount(const CountedLayout& layout, const std::uint8_t* header)
{
    // Read as signed: a count with its top bit set is no count at all.
    if (layout.countType == CountedLayout::Count::U32)
        return static_cast<std::int32_t>(codec::getU32(header, layout.countOffset));
    return codec::getI16(header, layout.countOffset);
}

int CountedFile::readHeader()
{
    const long long size = file_->size();
    if (size < 0)
        return FileCause::Generic;
    if (size < static_cast<long long>(layout_.headerSize) || !readFully(*file_, 0, header_.data(), header_.size())) {
        close();
        return FileCause::EndOfFile;
    }
    const long long room =
        (size - static_cast<long long>(layout_.headerSize)) / static_cast<long long>(layout_.recordSize);
    storedCount_ = getCount(layout_, header_.data());
    count_ = RecordsUnderCount(storedCount_, room, layout_.least, damaged_);
    stagedCount_ = count_;
    stored_ = header_;
    return FileCause::None;
}

void CountedFile::close()
{
    if (ownTx_)
        ownTx_->release();
    ownTx_.reset();
    ownFile_.close();
    file_ = &ownFile_;
    tx_ = nullptr;
}

int CountedFile::open(const std::string& path, OpenMode mode)
{
    close();
    created_ = false;
    path_ = path;
    if (mode == OpenMode::Read) {
        const int cause = CLocalFile::OpenFile(ownFile_, path, mode);
        if (cause != FileCause::None)
            return cause;
        return readHeader();
    }
    ownTx_ = std::make_unique<Transaction>();
    ownTx_->add(path, mode);
    const int cause = ownTx_->begin();
    if (cause != FileCause::None) {
        close();
        return cause;
    }
    tx_ = ownTx_.get();
    file_ = &tx_->file(path);
    return mode == OpenMode::OpenOrCreate ? FileCause::None : readHeader();
}

int CountedFile::openIn(Transaction& tx, const std::string& path)
{
    close();
    created_ = false;
    path_ = path;
    tx_ = &tx;
    file_ = &tx.file(path);
    return readHeader();
}

int CountedFile::openOrCreate(const std::string& path, const std::vector<std::uint8_t>& initial)
{
    if (const int cause = open(path, OpenMode::OpenOrCreate); cause != FileCause::None)
        return cause;
    const long long size = file_->size();
    if (size < 0) {
        close();
        return FileCause::Generic;
    }
    if (size < static_cast<long long>(layout_.headerSize)) {
        // Whole or not at all: a file too short for its header reads as missing.
        tx_->write(*file_, 0, initial.data(), initial.size());
        if (tx_->commit() != FileCause::None) {
            close();
            return FileCause::Generic;
        }
        created_ = true;
    }
    return readHeader();
}

int CountedFile::openForReading(const std::string& path, const std::vector<std::uint8_t>& initial)
{
    const int cause = open(path, OpenMode::Read);
    if (cause != FileCause::NotFound)
        return cause;
    return openOrCreate(path, initial);
}

long long CountedFile::recordOffset(long long index) const
{
    return static_cast<long long>(layout_.headerSize) + index * static_cast<long long>(layout_.recordSize);
}

bool CountedFile::readRecord(long long index, std::uint8_t* buf)
{
    if (index < 0 || index >= count_)
        return false;
    return readFully(*file_, recordOffset(index), buf, layout_.recordSize);
}

bool CountedFile::writable()
{
    if (!tx_)
        return false;
    if (damaged_)
        ReportDamagedCount(path_);
    return !damaged_;
}

void CountedFile::stageHeader()
{
    std::size_t first = 0;
    while (first < header_.size() && header_[first] == stored_[first])
        ++first;
    std::size_t last = header_.size();
    while (last > first && header_[last - 1] == stored_[last - 1])
        --last;
    if (first < last)
        tx_->write(*file_, static_cast<long long>(first), header_.data() + first, last - first);
}

bool CountedFile::finish()
{
    if (tx_ == ownTx_.get() && tx_->commit() != FileCause::None) {
        header_ = stored_;
        stagedCount_ = count_;
        return false;
    }
    stored_ = header_;
    storedCount_ = getCount(layout_, header_.data());
    count_ = stagedCount_;
    return true;
}

bool CountedFile::replaceRecord(long long index, const std::uint8_t* buf)
{
    if (index < 0 || index >= count_ || !writable())
        return false;
    tx_->write(*file_, recordOffset(index), buf, layout_.recordSize);
    return finish();
}

bool CountedFile::scan(long long first, const std::function<bool(long long, const std::uint8_t*)>& visit)
{
    const std::size_t perBlock = (kBlockBytes + layout_.recordSize - 1) / layout_.recordSize;
    std::vector<std::uint8_t> block(perBlock * layout_.recordSize);
    for (long long i = std::max(0LL, first); i < count_;) {
        const std::size_t n = static_cast<std::size_t>(std::min<long long>(static_cast<long long>(perBlock), count_ - i));
        if (!readFully(*file_, recordOffset(i), block.data(), n * layout_.recordSize))
            return false;
        for (std::size_t k = 0; k < n; ++k)
            if (visit(i + static_cast<long long>(k), block.data() + k * layout_.recordSize))
                return true;
        i += static_cast<long long>(n);
    }
    return true;
}

bool CountedFile::append(const std::uint8_t* records, std::size_t n)
{
    if (!writable())
        return false;
    const long long most = layout_.countType == CountedLayout::Count::U32 ? 0x7FFFFFFFLL : 0x7FFFLL;
    if (count_ + static_cast<long long>(n) > most) {
        header_ = stored_;
        return false;  // the count could not say so
    }
    // Past the count the records are seen by nobody until the count takes them
    // in; a count that already claims them (a cut-short file) makes them an
    // ordinary change.
    const std::size_t bytes = n * layout_.recordSize;
    if (storedCount_ <= count_)
        tx_->writeUnseen(*file_, recordOffset(count_), records, bytes);
    else
        tx_->write(*file_, recordOffset(count_), records, bytes);
    putCount(layout_, header_.data(), count_ + static_cast<long long>(n));
    stageHeader();
    stagedCount_ = count_ + static_cast<long long>(n);
    return finish();
}

bool CountedFile::removeAt(long long index, std::uint8_t* moved)
{
    if (index < 0 || index >= count_ || !writable())
        return false;
    std::vector<std::uint8_t> last(layout_.recordSize);
    if (!readRecord(count_ - 1, last.data()))
        return false;
    if (index != count_ - 1)
        tx_->write(*file_, recordOffset(index), last.data(), last.size());
    putCount(layout_, header_.data(), count_ - 1);
    stageHeader();
    stagedCount_ = count_ - 1;
    if (!finish())
        return false;
    if (moved)
        std::memcpy(moved, last.data(), last.size());
    return true;
}

bool CountedFile::writeHeaderPart(std::size_t from, std::size_t n)
{
    if (!writable())
        return false;
    tx_->write(*file_, static_cast<long long>(from), header_.data() + from, n);
    return finish();
}

namespace {
unsigned char lowerAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool slotMatches(const std::uint8_t* slot, std::size_t width, const std::string& text, bool ignoreCase)
{
    if (text.size() >= width || text.find('\0') != std::string::npos)
        return false;  // could never have been stored
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        if (ignoreCase ? lowerAscii(slot[i]) != lowerAscii(a) : slot[i] != a)
            return false;
    }
    // A slot decodes to at most width - 1 characters, NUL or not.
    return text.size() == width - 1 || slot[text.size()] == 0;
}
}  // namespace

bool slotEqualsNoCase(const std::uint8_t* slot, std::size_t width, const std::string& text)
{
    return slotMatches(slot, width, text, true);
}

bool slotEquals(const std::uint8_t* slot, std::size_t width, const std::string& text)
{
    return slotMatches(slot, width, text, false);
}

bool equalsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(static_cast<unsigned char>(a[i])) != lowerAscii(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(lowerAscii(static_cast<unsigned char>(c)));
    return text;
}
