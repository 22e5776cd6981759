#include "CountedFile.h"

#include "ByteCodec.h"
#include "CLocalFile.h"

#include <algorithm>
#include <cstring>

CountedFile::CountedFile(const CountedLayout& layout)
    : layout_(layout), header_(layout.headerSize, 0)
{
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
    if (layout.countType == CountedLayout::Count::U32)
        return codec::getU32(header, layout.countOffset);
    return std::max<long long>(0, codec::getI16(header, layout.countOffset));
}

int CountedFile::readHeader()
{
    const long long size = file_.size();
    if (size < 0)
        return FileCause::Generic;
    if (size < static_cast<long long>(layout_.headerSize) || !readFully(file_, 0, header_.data(), header_.size())) {
        file_.close();
        return FileCause::EndOfFile;
    }
    const long long present =
        (size - static_cast<long long>(layout_.headerSize)) / static_cast<long long>(layout_.recordSize);
    count_ = std::min(getCount(layout_, header_.data()), present);
    return FileCause::None;
}

int CountedFile::open(const std::string& path, OpenMode mode)
{
    created_ = false;
    const int cause = CLocalFile::OpenFile(file_, path, mode);
    if (cause != FileCause::None)
        return cause;
    return readHeader();
}

int CountedFile::openOrCreate(const std::string& path, const std::vector<std::uint8_t>& initial)
{
    created_ = false;
    const int cause = CLocalFile::OpenFile(file_, path, OpenMode::OpenOrCreate);
    if (cause != FileCause::None)
        return cause;
    const long long size = file_.size();
    if (size < 0) {
        file_.close();
        return FileCause::Generic;
    }
    if (size < static_cast<long long>(layout_.headerSize)) {
        // One write, so the new file is either whole or still too short to count.
        if (!file_.writeAt(0, initial.data(), initial.size()) || !file_.sync()) {
            file_.close();
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
    return readFully(file_, recordOffset(index), buf, layout_.recordSize);
}

bool CountedFile::replaceRecord(long long index, const std::uint8_t* buf)
{
    if (index < 0 || index >= count_)
        return false;
    return file_.writeAt(recordOffset(index), buf, layout_.recordSize) && file_.sync();
}

bool CountedFile::scan(long long first, const std::function<bool(long long, const std::uint8_t*)>& visit)
{
    const std::size_t perBlock = (kBlockBytes + layout_.recordSize - 1) / layout_.recordSize;
    std::vector<std::uint8_t> block(perBlock * layout_.recordSize);
    for (long long i = std::max(0LL, first); i < count_;) {
        const std::size_t n = static_cast<std::size_t>(std::min<long long>(static_cast<long long>(perBlock), count_ - i));
        if (!readFully(file_, recordOffset(i), block.data(), n * layout_.recordSize))
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
    const long long most = layout_.countType == CountedLayout::Count::U32 ? 0xFFFFFFFFLL : 0x7FFFLL;
    if (count_ + static_cast<long long>(n) > most)
        return false;  // the count could not say so
    if (!file_.writeAt(recordOffset(count_), records, n * layout_.recordSize) || !file_.sync())
        return false;
    putCount(layout_, header_.data(), count_ + static_cast<long long>(n));
    if (!file_.writeAt(0, header_.data(), header_.size()) || !file_.sync())
        return false;
    count_ += static_cast<long long>(n);
    return true;
}

bool CountedFile::removeAt(long long index, std::uint8_t* moved)
{
    if (index < 0 || index >= count_)
        return false;
    std::vector<std::uint8_t> last(layout_.recordSize);
    if (!readRecord(count_ - 1, last.data()))
        return false;
    if (index != count_ - 1 && (!file_.writeAt(recordOffset(index), last.data(), last.size()) || !file_.sync()))
        return false;
    putCount(layout_, header_.data(), count_ - 1);
    if (!file_.writeAt(0, header_.data(), header_.size()) || !file_.sync())
        return false;
    --count_;
    if (moved)
        std::memcpy(moved, last.data(), last.size());
    return true;
}

bool CountedFile::writeHeaderPart(std::size_t from, std::size_t n)
{
    return file_.writeAt(static_cast<long long>(from), header_.data() + from, n) && file_.sync();
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
