#pragma once
// Windows-1252, the single-byte text of every record, and UTF-8, the text of
// files other programs write. Every byte value maps to one code point: the
// five the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as
// the C1 control of the same number, so record bytes round-trip unchanged.

#include <cstddef>
#include <string>

namespace Cp1252 {

// The code point of one record byte.
char32_t Decode(unsigned char byte);
// The record byte of a code point; false when the code page cannot hold it.
bool Encode(char32_t c, char& byte);

// Whether the text is well-formed UTF-8 that uses more than plain ASCII.
bool LooksLikeUtf8(const std::string& text);
// UTF-8 text as record bytes; a character the code page cannot hold becomes
// '?' and is added to `lost` (as UTF-8) when that is given.
std::string FromUtf8(const std::string& text, std::string* lost = nullptr);

}  // namespace Cp1252
