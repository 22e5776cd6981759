#pragma once
// A product code slot (item number or bar code) read as the scans compare it:
// its text up to the NUL, at most 23 bytes, ASCII letters lower-cased, held in
// three 64-bit words with every byte past the text zero. Two slots are the same
// code ignoring case exactly when their words are equal, so a scan over a
// million records compares three words instead of lower-casing byte by byte.

#include "storage/records/ProductRecord.h"

#include <cstdint>
#include <cstring>
#include <string_view>

struct ProductCode {
    static_assert(ProductRecord::kCodeWidth == 24, "three words hold a code slot");

    std::uint64_t w[3] = {0, 0, 0};

    // The code in a record's slot at `offset`.
    static ProductCode OfSlot(const std::uint8_t* rec, std::size_t offset)
    {
        ProductCode code;
        std::memcpy(code.w, rec + offset, sizeof code.w);
        code.fold();
        return code;
    }
    // The code of a text, cut as a slot would hold it.
    static ProductCode OfText(std::string_view text)
    {
        ProductCode code;
        std::memcpy(code.w, text.data(), text.size() < 23 ? text.size() : 23);
        code.fold();
        return code;
    }

    bool empty() const { return w[0] == 0; }
    bool operator==(const ProductCode&) const = default;
    std::uint64_t hash() const
    {
        std::uint64_t h = w[0] * 0x9E3779B97F4A7C15ull;
        h = (h ^ (h >> 29) ^ w[1]) * 0xBF58476D1CE4E5B9ull;
        h = (h ^ (h >> 31) ^ w[2]) * 0x94D049BB133111EBull;
        return h ^ (h >> 32);
    }

private:
    static constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    static constexpr std::uint64_t kHigh = 0x8080808080808080ull;

    // Cuts at the first NUL (and before the 24th byte) and lower-cases A-Z,
    // eight bytes at a time (little-endian: byte i is bits 8i..8i+7).
    void fold()
    {
        w[2] &= 0x00FFFFFFFFFFFFFFull;
        bool ended = false;
        for (std::uint64_t& x : w) {
            if (ended) {
                x = 0;
                continue;
            }
            // The lowest high bit marks the first NUL exactly; the bits below it are the text.
            if (const std::uint64_t zero = (x - kOnes) & ~x & kHigh) {
                x &= (zero & (~zero + 1)) - 1;
                ended = true;
            }
            const std::uint64_t low = x & ~kHigh;
            const std::uint64_t atLeastA = (low + (0x80 - 'A') * kOnes) & kHigh;
            const std::uint64_t pastZ = (low + (0x80 - 'Z' - 1) * kOnes) & kHigh;
            x |= (atLeastA & ~pastZ & ~x) >> 2;
        }
    }
};
