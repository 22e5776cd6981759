#pragma once
// The customer file: a 236-byte CustomerFileHeader, then 968-byte records.
// Record 0 is always an empty placeholder with number 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct CustomerFileHeader {
    static constexpr std::size_t kSize = 236;
    static constexpr float kVersion = 1.3f;
    static constexpr std::size_t kLabelWidth = 14;
    static constexpr std::size_t kLabelCount = 16;
    static constexpr std::size_t kCountOffset = 8;
    static constexpr std::size_t kLabelsOffset = 12;

    float version = kVersion;
    std::uint16_t nextNumber = 1;  // the number the next appended customer gets
    std::uint16_t reserved6 = 0;
    std::uint32_t count = 1;
    std::array<std::string, kLabelCount> labels = defaultLabels();

    static std::array<std::string, kLabelCount> defaultLabels();
    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};

struct CustomerRecord {
    static constexpr std::size_t kSize = 968;
    static constexpr std::size_t kTextCount = 18;
    static constexpr std::size_t kTextWidth = 40;
    static constexpr std::size_t kTextsOffset = 44;
    static constexpr std::size_t kTaxZoneWidth = 24;
    static constexpr std::size_t kNotesOffset = 764;
    static constexpr std::size_t kNotesWidth = 200;
    static constexpr std::size_t kPriceLevelOffset = 2;
    static constexpr std::size_t kNumberOffset = 4;

    // The eighteen text fields, in record order.
    enum Text : std::size_t {
        kName, kCompany, kAddress, kCity, kState, kZip, kPhone, kPhone2, kEmail, kTaxId, kLicenceDate,
        kContact1, kContact2, kContact3, kContact4, kCard1, kCard2, kCard3,
    };

    std::uint8_t orderLimitOn = 0;
    std::uint8_t priceLevel = 0;  // 0..5
    std::uint8_t termsIndex = 0;  // id of the terms record; 0 is COD
    std::uint16_t customerNumber = 0;
    std::string taxZone;
    float orderLimit = 0;
    std::array<std::string, kTextCount> text;
    std::string notes;

    const std::string& name() const { return text[kName]; }
    static constexpr std::size_t textOffset(std::size_t k) { return kTextsOffset + kTextWidth * k; }

    // Every reserved byte is written as 0.
    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};
