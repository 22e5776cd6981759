#pragma once
// The register's Defaults.pdb: 104 unsigned 32-bit words, the column widths of
// its list windows and the product editor's remembered new-product choices.

#include <array>
#include <cstddef>
#include <cstdint>

struct DefaultsRecord {
    static constexpr std::size_t kWordCount = 104;
    static constexpr std::size_t kSize = 4 * kWordCount;
    // First words of each window's widths, and the single choice words.
    static constexpr std::size_t kProductListWidths = 1;   // words 1..21
    static constexpr std::size_t kFindProductWidths = 26;  // words 26..46
    static constexpr std::size_t kGetProductWidths = 51;   // words 51..71
    static constexpr std::size_t kFindSalesWidths = 76;    // words 76..82
    static constexpr std::size_t kNewProductTax = 101;
    static constexpr std::size_t kNewProductTouch = 102;
    static constexpr std::size_t kNewProductMode = 103;    // low 16 bits used

    std::array<std::uint32_t, kWordCount> words{};

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};
