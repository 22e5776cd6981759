#include "storage/records/ByteCodec.h"

#include <bit>
#include <cstring>

namespace codec {

namespace {
template <typename U>
void putLE(std::uint8_t* buf, std::size_t off, U v)
{
    for (std::size_t i = 0; i < sizeof(U); ++i)
        buf[off + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFFu);
}

template <typename U>
U getLE(const std::uint8_t* buf, std::size_t off)
{
    U v = 0;
    for (std::size_t i = 0; i < sizeof(U); ++i)
        v = static_cast<U>(v | (static_cast<U>(buf[off + i]) << (8 * i)));
    return v;
}
}  // namespace

void putU8(std::uint8_t* buf, std::size_t off, std::uint8_t v) { buf[off] = v; }
void putU16(std::uint8_t* buf, std::size_t off, std::uint16_t v) { putLE(buf, off, v); }
void putI16(std::uint8_t* buf, std::size_t off, std::int16_t v) { putLE(buf, off, static_cast<std::uint16_t>(v)); }
void putU32(std::uint8_t* buf, std::size_t off, std::uint32_t v) { putLE(buf, off, v); }
void putI32(std::uint8_t* buf, std::size_t off, std::int32_t v) { putLE(buf, off, static_cast<std::uint32_t>(v)); }
void putF32(std::uint8_t* buf, std::size_t off, float v) { putLE(buf, off, std::bit_cast<std::uint32_t>(v)); }
void putF64(std::uint8_t* buf, std::size_t off, double v) { putLE(buf, off, std::bit_cast<std::uint64_t>(v)); }

std::uint8_t getU8(const std::uint8_t* buf, std::size_t off) { return buf[off]; }
std::uint16_t getU16(const std::uint8_t* buf, std::size_t off) { return getLE<std::uint16_t>(buf, off); }
std::int16_t getI16(const std::uint8_t* buf, std::size_t off) { return static_cast<std::int16_t>(getLE<std::uint16_t>(buf, off)); }
std::uint32_t getU32(const std::uint8_t* buf, std::size_t off) { return getLE<std::uint32_t>(buf, off); }
std::int32_t getI32(const std::uint8_t* buf, std::size_t off) { return static_cast<std::int32_t>(getLE<std::uint32_t>(buf, off)); }
float getF32(const std::uint8_t* buf, std::size_t off) { return std::bit_cast<float>(getLE<std::uint32_t>(buf, off)); }
double getF64(const std::uint8_t* buf, std::size_t off) { return std::bit_cast<double>(getLE<std::uint64_t>(buf, off)); }

std::string fitText(const std::string& text, std::size_t width)
{
    if (width == 0)
        return {};
    std::string out = text.substr(0, std::min(text.size(), width - 1));
    // A NUL inside the text would end the stored string early; store what precedes it.
    if (auto nul = out.find('\0'); nul != std::string::npos)
        out.resize(nul);
    return out;
}

void putText(std::uint8_t* buf, std::size_t off, std::size_t width, const std::string& text)
{
    std::memset(buf + off, 0, width);
    const std::string fitted = fitText(text, width);
    std::memcpy(buf + off, fitted.data(), fitted.size());
}

std::string getText(const std::uint8_t* buf, std::size_t off, std::size_t width)
{
    const auto* start = reinterpret_cast<const char*>(buf + off);
    const void* nul = std::memchr(start, 0, width);
    const std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - start) : width;
    return std::string(start, len);
}

}  // namespace codec
