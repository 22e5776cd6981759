#pragma once
// What the "Settings" window (Settings, General) edits: the store's sale rules
// and screen options in the header, and this register's receipt and drawer
// options in its own record. Qt-free, so tests and other processes can drive it.

#include <array>
#include <cstdint>
#include <string>

class CLocalFile;
struct SalesFileHeader;

// One check box of the window and the header flag it edits.
struct GeneralFlag {
    const char* name;  // object name of the check box
    const char* text;
    std::uint32_t SalesFileHeader::*field;
    const char* tooltip;  // empty: none
};
constexpr std::size_t kGeneralFlagCount = 17;
extern const std::array<GeneralFlag, kGeneralFlagCount> kGeneralFlags;

struct GeneralSettings {
    std::array<bool, kGeneralFlagCount> flags{};
    int taxFormula = 0;            // 0 USA, 1 UK
    std::string rollFontSize;      // as typed
    std::string lowMarginPercent;  // as typed
    int receiptStyle = 0;          // 0 full-page invoice, 1 register roll
    int receiptsToPrint = 0;       // 0 to 2
    int packingSlips = 0;          // 0 to 3
    int drawerMethod = 0;          // 0 none, 1 standard kick, 2 drawerCommand
    std::string drawerCommand;     // as typed
    int rollWidthMm = 80;          // 58 or 80

    static GeneralSettings From(const SalesFileHeader& header, const CLocalFile& local);
    // The header fields the window edits; the others stay as they are.
    void applyTo(SalesFileHeader& header) const;
    // The register's fields; the drawer command is stored without the
    // spaces of spaced hexadecimal digits and cut to 11 characters.
    void applyTo(CLocalFile& local) const;
    // The message when the drawer command does not fit its 11 characters;
    // empty when it does.
    std::string drawerCommandMessage() const;
    // The refusal of the first number box whose text is not a number (the
    // font size a whole one), naming the box; empty when both read.
    std::string numberMessage() const;
};

// The roll font size typed: its whole part, kept within 6 to 128.
std::uint8_t RollFontSizeFrom(const std::string& text);
// A number typed; text that is not a number reads as 0.
double NumberFrom(const std::string& text);

// The first rule the settings break, as its message; empty when they keep all.
std::string GeneralRuleMessage(const SalesFileHeader& header);

// Stores the settings: the header fields in one read-change-write of the
// header file (settings another register saved meanwhile are kept), then the
// register's record. `header` becomes what was stored. Returns the failure
// cause, 0 on success; on a header failure nothing is stored.
int SaveGeneralSettings(CLocalFile& local, SalesFileHeader& header, const GeneralSettings& settings);
