#pragma once
// A purchase order as its ".PON" file holds it: a 52-byte header followed by
// 300 line slots of 84 bytes, little-endian, amounts and quantities 4-byte
// floats. Every slot is written; those past the line count keep whatever
// they last held.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct PurchaseOrderLine {
    static constexpr std::size_t kVendorNumberWidth = 24;
    static constexpr std::size_t kDescriptionWidth = 40;

    std::string vendorNumber;
    std::string description;
    float qty = 0;        // ordered
    float received = 0;   // received and added to stock
    float backOrder = 0;
    float cost = 0;
    float amount = 0;     // qty * cost
};

struct PurchaseOrderRecord {
    static constexpr std::size_t kHeaderSize = 52;
    static constexpr std::size_t kLineSize = 84;
    static constexpr std::size_t kMaxLines = 300;
    static constexpr std::size_t kSize = kHeaderSize + kLineSize * kMaxLines;
    static constexpr std::size_t kNumberWidth = 24;
    static constexpr std::int16_t kVersion = 4;
    // The ten-line window over the lines.
    static constexpr int kVisibleLines = 10;

    std::int16_t version = kVersion;
    std::int16_t lineCount = 0;
    std::uint8_t added = 0;  // the received quantities are in stock
    std::uint8_t saved = 0;  // written as 1; 0 in memory while edits are unsaved
    std::int32_t firstVisible = 0;
    std::string number;
    float subtotal = 0;
    float discount = 0;
    float shipping = 0;
    float total = 0;
    std::array<PurchaseOrderLine, kMaxLines> lines;

    void encode(std::uint8_t* buf) const;  // kSize bytes
    // False, leaving the record as it was, when the bytes are no order of this
    // version: fewer than kSize, another version, or a line count outside
    // 0..300. The first visible line is held to the lines present.
    bool decode(const std::uint8_t* buf, std::size_t n);
    // The highest first visible line for the lines present.
    int lastFirstVisible() const { return lineCount > kVisibleLines ? lineCount - kVisibleLines : 0; }
};
