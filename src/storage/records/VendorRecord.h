#pragma once
// The vendor file: a 232-byte VendorFileHeader, then 920-byte records keyed by
// the company name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct VendorFileHeader {
    static constexpr std::size_t kSize = 232;
    static constexpr float kVersion = 1.1f;
    static constexpr std::size_t kLabelWidth = 14;
    static constexpr std::size_t kLabelCount = 16;
    static constexpr std::size_t kCountOffset = 0;
    static constexpr std::size_t kLabelsOffset = 8;

    std::uint32_t count = 0;
    float version = kVersion;
    std::array<std::string, kLabelCount> labels = defaultLabels();

    static std::array<std::string, kLabelCount> defaultLabels();
    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};

struct VendorRecord {
    static constexpr std::size_t kSize = 920;
    static constexpr std::size_t kTextCount = 18;
    static constexpr std::size_t kTextWidth = 40;
    static constexpr std::size_t kNotesOffset = 720;
    static constexpr std::size_t kNotesWidth = 200;

    enum Text : std::size_t {
        kCompany, kAddress1, kAddress2, kCity, kState, kZip, kPhone, kPhone2, kEmail, kCell, kFax,
        kContact1, kContact2, kContact3, kContact4, kTerms, kDiscount, kMisc,
    };

    std::array<std::string, kTextCount> text;
    std::string notes;

    const std::string& company() const { return text[kCompany]; }
    static constexpr std::size_t textOffset(std::size_t k) { return kTextWidth * k; }

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};
