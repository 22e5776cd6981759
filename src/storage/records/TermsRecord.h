#pragma once
// Payment terms: an id given out by the file, the discount and net days, the
// discount percent and a name built from them. The file starts with its count
// (signed 16-bit) and the next id to give out (one byte), then a pad byte.

#include <cstddef>
#include <cstdint>
#include <string>

struct TermsRecord {
    static constexpr std::size_t kSize = 22;
    static constexpr std::size_t kNameOffset = 8;
    static constexpr std::size_t kNameWidth = 14;
    static constexpr std::size_t kFileHeaderSize = 4;
    static constexpr std::size_t kNextIdOffset = 2;

    std::uint8_t id = 0;
    std::int16_t discountDays = 0;
    std::int16_t netDays = 0;
    std::int16_t discountPercent = 0;
    std::string name;

    // "COD" for id 0, else "2/10 NET 30" (percent/days NET net days) or, with
    // no discount, "NET 30"; at most 13 characters.
    static std::string BuildName(const TermsRecord& terms);

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};
