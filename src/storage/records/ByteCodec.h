#pragma once
// Explicit little-endian reads and writes at byte offsets of a record buffer.
// Records are never memcpy'd as structs: every field goes through these calls
// at the offset its layout gives, so the layout is the same on every machine.

#include <cstddef>
#include <cstdint>
#include <string>

namespace codec {

void putU8(std::uint8_t* buf, std::size_t off, std::uint8_t v);
void putU16(std::uint8_t* buf, std::size_t off, std::uint16_t v);
void putI16(std::uint8_t* buf, std::size_t off, std::int16_t v);
void putU32(std::uint8_t* buf, std::size_t off, std::uint32_t v);
void putI32(std::uint8_t* buf, std::size_t off, std::int32_t v);
void putF32(std::uint8_t* buf, std::size_t off, float v);
void putF64(std::uint8_t* buf, std::size_t off, double v);

std::uint8_t getU8(const std::uint8_t* buf, std::size_t off);
std::uint16_t getU16(const std::uint8_t* buf, std::size_t off);
std::int16_t getI16(const std::uint8_t* buf, std::size_t off);
std::uint32_t getU32(const std::uint8_t* buf, std::size_t off);
std::int32_t getI32(const std::uint8_t* buf, std::size_t off);
float getF32(const std::uint8_t* buf, std::size_t off);
double getF64(const std::uint8_t* buf, std::size_t off);

// A fixed text field of `width` bytes holds at most width - 1 characters and a
// NUL; the rest of the slot is zero-filled. Longer text is cut.
void putText(std::uint8_t* buf, std::size_t off, std::size_t width, const std::string& text);
// Reads up to the first NUL, never past the slot (a slot without NUL yields width bytes).
std::string getText(const std::uint8_t* buf, std::size_t off, std::size_t width);

// Cuts text to the capacity of a field of `width` bytes (width - 1 characters).
std::string fitText(const std::string& text, std::size_t width);

}  // namespace codec
