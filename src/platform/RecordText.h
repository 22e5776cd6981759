#pragma once
// The one boundary between record text (single-byte Windows-1252, as files
// written by other registers hold it) and Qt strings. Every window converts
// record fields, list entries and message texts through here.
//
// Characters Windows-1252 cannot hold are stored as '?'. The five byte values
// that code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the
// C1 control of the same number, so every byte round-trips unchanged.

#include <QString>

#include <cstddef>
#include <string>

namespace RecordText {

// Record bytes up to the first NUL, as a Qt string.
QString toQt(const std::string& bytes);
QString toQt(const char* bytes, std::size_t n);

// A Qt string as record bytes, cut to at most maxChars characters (the width of
// a field less its NUL). A cut never splits a character, since every character
// becomes exactly one byte.
std::string fromQt(const QString& text, std::size_t maxChars = std::string::npos);

}  // namespace RecordText
