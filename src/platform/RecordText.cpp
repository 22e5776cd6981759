#include "platform/RecordText.h"

#include "storage/records/Cp1252.h"

namespace {

char16_t decode(unsigned char b)
{
    return static_cast<char16_t>(Cp1252::Decode(b));
}

char encode(char16_t c)
{
    char byte = '?';
    return Cp1252::Encode(c, byte) ? byte : '?';
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
