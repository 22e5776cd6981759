#pragma once
// The store-wide settings block kept in the ".pos" file of the file set:
// 4836 bytes of header followed by 80 reserved bytes.

#include "storage/records/OleDate.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CLocalFile;

struct SalesFileHeader {
    static constexpr std::size_t kSize = 4836;
    static constexpr std::size_t kReservedSize = 80;
    static constexpr std::size_t kFileSize = kSize + kReservedSize;
    static constexpr float kVersion = 4.6f;
    static constexpr std::size_t kNoteWidth = 400;
    static constexpr std::size_t kListWidth = 800;
    static constexpr std::size_t kPasswordWidth = 14;  // securityPassword: at most 13 characters

    float version = kVersion;
    std::uint8_t taxFormula = 0;  // 0 USA, 1 UK
    std::uint8_t rollFontSize = 24;
    std::uint32_t mustEnterAddress = 0;
    std::uint32_t mustSelectCashier = 1;
    std::uint32_t mustEnterCashPaid = 1;
    std::uint32_t mustSelectPayType = 1;
    std::uint32_t showTodaysNotes = 1;
    std::uint32_t showMailingAddress = 1;
    std::uint32_t showCalendar = 1;
    std::uint32_t showChangeCalc = 1;
    std::uint32_t marginWatchOn = 0;
    std::uint32_t saleDatesOn = 0;
    std::uint32_t autoEditNewCustomers = 1;
    std::uint32_t showTouchButton = 1;
    std::uint32_t showSalesperson = 1;
    std::uint32_t showTaxesSeparately = 0;
    std::uint32_t simpleTax = 1;
    std::uint32_t showCents = 1;
    std::uint32_t mustLogInCashier = 0;
    std::uint32_t mustSelectSalesperson = 0;
    std::uint32_t reserved80 = 1;  // never read, kept as found
    std::uint32_t salesDiscountOn = 0;
    float simpleTax1 = 0;
    float simpleTax2 = 0;
    float lowMarginPercent = 0;
    std::array<float, 6> discountPercent{};
    std::array<float, 6> discountSubtotal{};
    OleDate saleFirstDay;
    OleDate saleLastDay;
    std::array<std::string, 6> levelNames{"Retail", "Wholesale", "Employee", "Category 4", "Category 5", "Category 6"};
    std::string securityPassword;
    std::array<std::uint8_t, 14> reserved426{};  // never read, kept as found
    std::string todaysNotes = "Remember to Thank All Customers for shopping at ACME!\r\n";
    std::string receiptHeader = "Thank You for Shopping at ACME\r\nWe are Open 24 Hours a Day!\r\n";
    std::string termsMessage = "No returns after 30 days";
    std::string optionalMessage = "Optional Message\r\nGoes here.\r\n";
    std::string categories = "Books\r\nExtreme\r\nDimensional\r\nSafety\r\n";
    std::string departments = "Auto\r\nJewelery\r\n";
    std::string paymentTypes =
        "Cash\r\nCheck\r\nVisa\r\nMC\r\nDiscover\r\nAMEX\r\nMoney Order\r\nCertified Check\r\nSplit\r\nDeposit\r\nTerms\r\n";
    std::string companyName;
    std::string phone;
    std::string phone2;
    std::string fax;
    std::string cell;
    std::string contact;
    std::string email;
    std::string logoPath;
    // The store's address for printed invoices: CR LF ended lines kept in the
    // 80 reserved bytes after the settings block (at most 79 characters).
    std::string companyAddress;
    static constexpr std::size_t kAddressWidth = kReservedSize;

    void encode(std::uint8_t* buf) const;  // kSize bytes
    void decode(const std::uint8_t* buf);
};

// Refreshes the in-memory header from the file; a missing file is created from
// the in-memory header. Any other failure, a short read included, leaves the
// in-memory header as it was. Returns the failure cause (0 read or created).
int ReadHeader(const CLocalFile& local, SalesFileHeader& header);
// Writes the settings block and the company address over the start of the
// existing file. Returns the failure cause.
int WriteHeader(const CLocalFile& local, const SalesFileHeader& header);
// The way every settings editor saves: in one exclusive open, reads the stored
// header, lets `change` set the editor's own fields on it, and writes it back,
// so settings another register saved meanwhile are kept. On success `header`
// becomes what was written; on failure it stays as it was and the file is
// unchanged. Returns the failure cause.
int UpdateHeader(const CLocalFile& local, SalesFileHeader& header,
                 const std::function<void(SalesFileHeader&)>& change);
// At start-up and on connecting: reads the header, or creates a missing file
// from the in-memory header. Non-zero on failure; a file shorter than the
// header counts as a failure and is left untouched.
int OpenOrCreateHeader(const CLocalFile& local, SalesFileHeader& header);

// What the start-up check found in the header file.
enum class HeaderProbe { Missing, Unreadable, Short, WrongVersion, Good };
// Reads the header file for checking alone; `version` gets the stored version
// and `bytesRead` the bytes present when the file exists.
HeaderProbe ProbeHeader(const std::string& path, float& version, long long& bytesRead);

// Text lists: lines ended by CR LF.
int CountLines(const std::string& list);
std::string GetLine(const std::string& list, int n);
// The entries FillCombo puts into a combo box, in order.
std::vector<std::string> ComboEntries(const std::string& list);
std::string NextInList(const std::string& list, const std::string& current);
