#pragma once
// A salesperson: a 24-byte name. The file starts with its version (unsigned
// 16-bit, 2) and count (signed 16-bit).

#include <cstddef>
#include <cstdint>
#include <string>

struct SalespersonRecord {
    static constexpr std::size_t kSize = 24;
    static constexpr std::size_t kFileHeaderSize = 4;
    static constexpr std::uint16_t kFileVersion = 2;

    std::string name;

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};
