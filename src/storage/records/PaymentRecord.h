#pragma once
// The payments file's layout: a 12-byte header followed by 220-byte payment
// records, each tied to a sale by the sale's record number.

#include "storage/records/OleDate.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct PaymentFileHeader {
    static constexpr std::size_t kSize = 12;
    static constexpr float kVersion = 1.0f;

    std::int32_t count = 0;
    float version = kVersion;
    std::int32_t nextId = 0;

    void encode(std::uint8_t* buf) const;
    void decode(const std::uint8_t* buf);
};

struct PaymentRecord {
    static constexpr std::size_t kSize = 220;
    static constexpr std::uint8_t kSplitPart = 1;
    static constexpr std::uint8_t kOnAccount = 2;  // deposit or payment on account

    static constexpr std::size_t kKindOff = 64;
    static constexpr std::size_t kInvoiceNumberOff = 68;
    static constexpr std::size_t kPaymentIdOff = 72;
    static constexpr std::size_t kAmountOff = 76;
    static constexpr std::size_t kDateOff = 80;
    static constexpr std::size_t kPayTypeOff = 92;
    static constexpr std::size_t kPayTypeWidth = 24;
    static constexpr std::size_t kCardNumberOff = 116;
    static constexpr std::size_t kCardNumberWidth = 24;
    static constexpr std::size_t kExpirationOff = 140;
    static constexpr std::size_t kExpirationWidth = 14;
    static constexpr std::size_t kCashierOff = 154;
    static constexpr std::size_t kCashierWidth = 24;
    static constexpr std::size_t kNotesOff = 178;
    static constexpr std::size_t kNotesWidth = 42;

    std::uint8_t kind = kOnAccount;
    std::int32_t invoiceNumber = 0;
    std::int32_t paymentId = 0;
    float amount = 0;
    OleDate date;
    std::string payType;
    std::string cardNumber;
    std::string expiration;
    std::string cashier;
    std::string notes;

    // The reserved bytes (0..63, 65..67) are written as zeros and ignored when read.
    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);

    bool operator==(const PaymentRecord&) const = default;
};

// Offset of payment record i in the file.
inline long long PaymentOffset(long long i)
{
    return static_cast<long long>(PaymentFileHeader::kSize) + i * static_cast<long long>(PaymentRecord::kSize);
}
