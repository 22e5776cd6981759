#pragma once
// One sale (or quote) of 4728 bytes: the header amounts, 20 line slots, the
// customer lines and the dates. It is also the in-memory form of the sale being
// rung up.

#include "storage/records/OleDate.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct InvoiceRecord {
    static constexpr std::size_t kSize = 4728;
    static constexpr std::size_t kLines = 20;
    static constexpr std::size_t kAddressLines = 9;
    static constexpr std::size_t kNameWidth = 24;     // cashier, salesperson, pay type, item number
    static constexpr std::size_t kTextWidth = 40;     // address lines, description, category, vendor, department
    static constexpr std::uint8_t kClearedLineMode = 3;

    // Field offsets.
    static constexpr std::size_t kPaidOff = 0;
    static constexpr std::size_t kTermsIndexOff = 2;
    static constexpr std::size_t kPriceLevelOff = 3;
    static constexpr std::size_t kCustomerNumberOff = 4;
    static constexpr std::size_t kRecordNumberOff = 8;
    static constexpr std::size_t kTaxRate1Off = 12;
    static constexpr std::size_t kTaxRate2Off = 16;
    static constexpr std::size_t kDiscountPercentOff = 20;
    static constexpr std::size_t kTaxableSubtotalOff = 24;
    static constexpr std::size_t kExemptSubtotalOff = 28;
    static constexpr std::size_t kTax1Off = 32;
    static constexpr std::size_t kTax2Off = 36;
    static constexpr std::size_t kHandlingOff = 40;
    static constexpr std::size_t kTotalOff = 44;
    static constexpr std::size_t kCashPaidOff = 48;
    static constexpr std::size_t kChangeOff = 52;
    static constexpr std::size_t kTotalCostOff = 56;
    static constexpr std::size_t kQtyOff = 60;
    static constexpr std::size_t kMarkdownOff = 140;
    static constexpr std::size_t kPriceOff = 220;
    static constexpr std::size_t kExtendedOff = 300;
    static constexpr std::size_t kCostOff = 380;
    static constexpr std::size_t kCommissionOff = 460;
    static constexpr std::size_t kCashierOff = 540;
    static constexpr std::size_t kSalespersonOff = 564;
    static constexpr std::size_t kAddressOff = 588;
    static constexpr std::size_t kPayTypeOff = 948;
    static constexpr std::size_t kItemNumberOff = 972;
    static constexpr std::size_t kDescriptionOff = 1452;
    static constexpr std::size_t kCategoryOff = 2252;
    static constexpr std::size_t kVendorOff = 3052;
    static constexpr std::size_t kDepartmentOff = 3852;
    static constexpr std::size_t kLineModeOff = 4652;
    static constexpr std::size_t kTaxStatusOff = 4672;
    static constexpr std::size_t kYearOff = 4692;
    static constexpr std::size_t kMonthOff = 4694;
    static constexpr std::size_t kPeriodOff = 4696;
    static constexpr std::size_t kWeekOff = 4698;
    static constexpr std::size_t kDayOff = 4700;
    static constexpr std::size_t kSaleTimeOff = 4704;
    static constexpr std::size_t kSecondDateOff = 4716;

    // Address lines.
    enum AddressLine { kName = 0, kCompany, kStreet, kCity, kState, kZip, kPhone, kPhone2, kEmail };

    std::uint8_t paid = 0;
    std::uint8_t termsIndex = 0;
    std::uint8_t priceLevel = 0;
    std::uint16_t customerNumber = 0;
    std::int32_t recordNumber = 0;
    float taxRate1 = 0;
    float taxRate2 = 0;
    float discountPercent = 0;
    float taxableSubtotal = 0;
    float exemptSubtotal = 0;
    float tax1 = 0;
    float tax2 = 0;
    float handling = 0;
    float total = 0;
    float cashPaid = 0;
    float change = 0;
    float totalCost = 0;
    std::array<float, kLines> qty{};
    std::array<float, kLines> markdownPercent{};
    std::array<float, kLines> price{};
    std::array<float, kLines> extended{};
    std::array<float, kLines> cost{};
    std::array<float, kLines> commissionPercent{};
    std::string cashier;
    std::string salesperson;
    std::array<std::string, kAddressLines> address;
    std::string payType;
    std::array<std::string, kLines> itemNumber;
    std::array<std::string, kLines> description;
    std::array<std::string, kLines> category;
    std::array<std::string, kLines> vendor;
    std::array<std::string, kLines> department;
    std::array<std::uint8_t, kLines> lineMode{};
    std::array<std::uint8_t, kLines> taxStatus{};
    std::int16_t year = 0;  // 0: never dated
    std::int16_t month = 0;
    std::int16_t period = 0;
    std::int16_t week = 0;
    std::int16_t day = 0;
    OleDate saleTime;    // not set until the sale is dated
    OleDate secondDate;  // never set by any operation; carried as found

    // The reserved byte at 1 and the padding are written as zeros.
    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);

    // A line slot is empty when both its item number and description are.
    bool lineIsEmpty(std::size_t line) const { return itemNumber[line].empty() && description[line].empty(); }
    // taxableSubtotal + exemptSubtotal.
    float subtotal() const { return taxableSubtotal + exemptSubtotal; }

    bool operator==(const InvoiceRecord&) const = default;
};

// A cleared sale: empty texts, zero amounts and numbers, every line in the
// cleared mode 3, no sale time and the second date slot 0.0 not set. The sale
// screen dates it itself.
InvoiceRecord ClearedInvoice();

// The day compared in date ranges: year * 385 + month * 32 + day.
inline int DateKey(int year, int month, int day) { return year * 385 + month * 32 + day; }
inline int DateKey(const InvoiceRecord& r) { return DateKey(r.year, r.month, r.day); }

// Dates a sale or quote being stored: year, month, period (month / 4, fraction
// dropped), week of the year (weeks from Sunday), day, and saleTime, all from
// the one moment `now`.
void DateRecord(InvoiceRecord& record, const CalendarTime& now);
