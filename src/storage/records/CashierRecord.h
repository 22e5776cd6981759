#pragma once
// A cashier of the cashier file: name and password, 24 bytes each. The file
// starts with its count (unsigned 32-bit) and version (float, 1.1).

#include <cstddef>
#include <cstdint>
#include <string>

struct CashierRecord {
    static constexpr std::size_t kSize = 48;
    static constexpr std::size_t kFieldWidth = 24;
    static constexpr std::size_t kPasswordOffset = 24;
    static constexpr std::size_t kFileHeaderSize = 8;
    static constexpr float kFileVersion = 1.1f;

    std::string name;
    std::string password;  // as typed

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};
