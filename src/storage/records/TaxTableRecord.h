#pragma once
// A tax zone of the tax table: name and two percentages. The file starts with
// its version (unsigned 16-bit, 2), count (signed 16-bit) and the 24-byte name
// of the default zone.

#include <cstddef>
#include <cstdint>
#include <string>

struct TaxTableRecord {
    static constexpr std::size_t kSize = 32;
    static constexpr std::size_t kNameWidth = 24;
    static constexpr std::size_t kFileHeaderSize = 28;
    static constexpr std::size_t kDefaultZoneOffset = 4;
    static constexpr std::uint16_t kFileVersion = 2;

    std::string name;
    float tax1 = 0;  // percent
    float tax2 = 0;

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};
