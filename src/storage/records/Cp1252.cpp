#include "storage/records/Cp1252.h"

#include <array>

namespace {

// Code points of the bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The code point at `at` and the number of bytes it takes; 0 bytes when the
// sequence there is not well-formed UTF-8.
std::size_t nextUtf8(const std::string& s, std::size_t at, char32_t& c)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[at + i]); };
    const unsigned char lead = b(0);
    std::size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || at + n > s.size())
        return 0;
    c = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b(i) & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return n;
}

}  // namespace

namespace Cp1252 {

char32_t Decode(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char32_t(b);
}

bool Encode(char32_t c, char& byte)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<char>(c);
        return true;
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    return false;
}

bool LooksLikeUtf8(const std::string& text)
{
    bool wide = false;
    char32_t c = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = nextUtf8(text, at, c);
        if (n == 0)
            return false;
        wide = wide || n > 1;
        at += n;
    }
    return wide;
}

std::string FromUtf8(const std::string& text, std::string* lost)
{
    std::string out;
    out.reserve(text.size());
    char32_t c = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t n = nextUtf8(text, at, c);
        char byte = '?';
        if (n == 0)
            n = 1;  // a stray byte: not a character of the text
        else if (Encode(c, byte)) {
            out.push_back(byte);
            at += n;
            continue;
        }
        if (lost)
            lost->append(text, at, n);
        out.push_back('?');
        at += n;
    }
    return out;
}

}  // namespace Cp1252
