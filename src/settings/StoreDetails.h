#pragma once
// What the store's detail windows of the Settings menu store in the header:
// discount levels, the sale period, the receipt messages and logo, and the
// company details. Each save is one read-change-write of the header file that
// changes only its own fields. Qt-free, so tests and other processes can
// drive it.

#include "storage/records/OleDate.h"

#include <array>
#include <string>

class CLocalFile;
struct SalesFileHeader;

struct DiscountLevels {
    std::array<std::string, 6> names;
    std::array<float, 6> percent{};
    std::array<float, 6> subtotal{};
    bool salesDiscountOn = false;
    static DiscountLevels From(const SalesFileHeader& header);
    // Raises each level's subtotal to the largest one above it.
    void orderSubtotals();
    void applyTo(SalesFileHeader& header) const;
};
// Orders the subtotals and stores the levels.
int SaveDiscountLevels(const CLocalFile& local, SalesFileHeader& header, DiscountLevels& levels);

// Stores the sale period: from the first day at 00:00:00 to the last day at
// 23:59:59, both marked set.
int SaveSaleDates(const CLocalFile& local, SalesFileHeader& header, bool on, const CalendarTime& firstDay,
                  const CalendarTime& lastDay);

struct ReceiptMessages {
    std::string receiptHeader;
    std::string termsMessage;
    std::string optionalMessage;
};
// Each text cut to 399 characters.
int SaveReceiptMessages(const CLocalFile& local, SalesFileHeader& header, const ReceiptMessages& messages);
// A path that does not fit the logo's 180 bytes is refused rather than cut,
// since a cut path names another file.
enum class LogoSave { Saved, TooLong, Failed };
LogoSave SaveLogoPath(const CLocalFile& local, SalesFileHeader& header, const std::string& path);
extern const char* const kLogoPathTooLong;

struct CompanyDetails {
    std::string name;
    std::string address;  // lines ended by CR LF
    std::string contact;
    std::string phone;
    std::string phone2;
    std::string fax;
    std::string cell;
    std::string email;
    static CompanyDetails From(const SalesFileHeader& header);
    // Each field cut to its width; the address cut to 79 characters without
    // leaving half a line end.
    void applyTo(SalesFileHeader& header) const;
};
int SaveCompanyDetails(const CLocalFile& local, SalesFileHeader& header, const CompanyDetails& details);
