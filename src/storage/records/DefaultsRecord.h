#pragma once
// The register's Defaults.pdb: 104 unsigned 32-bit words, the column widths of
// its list windows and the product editor's remembered new-product choices.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

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

    // Widths at or above this are taken as damaged, as 0 is taken as unset.
    static constexpr std::uint32_t kWidestColumn = 2000;

    std::array<std::uint32_t, kWordCount> words{};

    // The built-in new-product choices: no tax, Touch ticked, Sell; every
    // width 0, which reads as the window's own built-in width.
    DefaultsRecord() { words[kNewProductTouch] = 1; }

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};

// A window's column widths from the record: a width of 0 (written by another
// window that did not know it) or one past any screen gives the built-in
// width of that column; a built-in 0 keeps the column hidden.
std::vector<std::uint32_t> ColumnWidths(const DefaultsRecord& record, std::size_t first,
                                        const std::vector<std::uint32_t>& builtIn);
