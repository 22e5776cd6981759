#include "platform/RecordText.h"

#include <array>

namespace {

// Code points of the bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t decode(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char16_t(b);
}

char encode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return char(0x80 + i);
    return '?';
}

}  // namespace

namespace RecordText {

QString toQt(const char* bytes, std::size_t n)
{
    QString out;
    out.reserve(int(n));
    for (std::size_t i = 0; i < n && bytes[i] != '\0'; ++i)
        out.append(QChar(decode(static_cast<unsigned char>(bytes[i]))));
    return out;
}

QString toQt(const std::string& bytes) { return toQt(bytes.data(), bytes.size()); }

std::string fromQt(const QString& text, std::size_t maxChars)
{
    std::string out;
    for (qsizetype i = 0; i < text.size() && out.size() < maxChars; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;  // one character outside the basic plane: one '?'
        else if (c.unicode() == 0)
            break;
        out.push_back(c.isSurrogate() ? '?' : encode(c.unicode()));
    }
    return out;
}

}  // namespace RecordText
