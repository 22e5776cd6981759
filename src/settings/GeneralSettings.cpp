#include "settings/GeneralSettings.h"

#include "print/DrawerKick.h"
#include "settings/TypedNumber.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <locale.h>

const std::array<GeneralFlag, kGeneralFlagCount> kGeneralFlags{{
    {"must_select_cashier", "Must select Cashier", &SalesFileHeader::mustSelectCashier,
     "A Cashier must be selected before a sale is complete."},
    {"must_login_cashier", "Must Log-in Cashier", &SalesFileHeader::mustLogInCashier,
     "A Cashier must be Logged-in before a sale is complete."},
    {"must_select_salesperson", "Must select Salesperson", &SalesFileHeader::mustSelectSalesperson,
     "A Salesperson must be selected before a sale is complete"},
    {"must_select_paytype", "Must select Payment Type", &SalesFileHeader::mustSelectPayType,
     "A Payment must be selected before a sale is complete."},
    {"must_enter_cash_paid", "Must enter Cash Paid", &SalesFileHeader::mustEnterCashPaid,
     "The Amount Paid must be entered before a sale is complete."},
    {"must_enter_address", "Must enter Customer Address", &SalesFileHeader::mustEnterAddress,
     "An Address must be entered before a sale is complete."},
    {"show_todays_notes", "Show Todays Notes", &SalesFileHeader::showTodaysNotes, "Show Todays Notes message window."},
    {"show_mailing_address", "Show Mailing Address", &SalesFileHeader::showMailingAddress,
     "Show Customer Address fields. This must be checked if the 'Must enter Customer Address' option is checked."},
    {"show_salesperson", "Show Salesperson", &SalesFileHeader::showSalesperson, "Show the Salesperson pop-up menu."},
    {"show_calendar", "Show Calendar", &SalesFileHeader::showCalendar, "Show the Calendar."},
    {"show_change_calc", "Show Change Calc.", &SalesFileHeader::showChangeCalc,
     "Show the Change window. This must be checked if the 'Must enter Cash Paid' option is checked."},
    {"show_touch_button", "Show Touch Button", &SalesFileHeader::showTouchButton, ""},
    {"auto_edit_customers", "Auto Edit on New Customers", &SalesFileHeader::autoEditNewCustomers,
     "If a new Customer Name is entered, open the Customer Window without asking."},
    {"show_cents", "Cents 123.45 or 123", &SalesFileHeader::showCents, "Show cents (100.99) or no cents (101)"},
    {"show_taxes_separately", "Show Taxes Separately", &SalesFileHeader::showTaxesSeparately, "Show Taxes separately."},
    {"simple_tax", "Simple Tax - see Taxes menu", &SalesFileHeader::simpleTax, ""},
    {"margin_watch", "Margin Watch On", &SalesFileHeader::marginWatchOn, "Warn the cashier if the profit margin is low."},
}};

GeneralSettings GeneralSettings::From(const SalesFileHeader& header, const CLocalFile& local)
{
    GeneralSettings s;
    for (std::size_t i = 0; i < kGeneralFlagCount; ++i)
        s.flags[i] = header.*kGeneralFlags[i].field != 0;
    s.taxFormula = header.taxFormula == 1 ? 1 : 0;
    s.rollFontSize = strprintf("%u", static_cast<unsigned>(header.rollFontSize));
    s.lowMarginPercent = strprintf("%.2f", header.lowMarginPercent);
    s.receiptStyle = local.receiptStyle;
    s.receiptsToPrint = local.receiptsToPrint;
    s.packingSlips = local.packingSlips;
    s.drawerMethod = local.drawerMethod;
    s.drawerCommand = local.drawerCommand;
    s.rollWidthMm = local.rollWidthMm == 58 ? 58 : 80;
    return s;
}

void GeneralSettings::applyTo(SalesFileHeader& header) const
{
    for (std::size_t i = 0; i < kGeneralFlagCount; ++i)
        header.*kGeneralFlags[i].field = flags[i] ? 1 : 0;
    header.taxFormula = static_cast<std::uint8_t>(taxFormula == 1 ? 1 : 0);
    header.rollFontSize = RollFontSizeFrom(rollFontSize);
    const TypedNumber margin = ReadTypedNumber(lowMarginPercent);
    header.lowMarginPercent = static_cast<float>(margin.ok ? margin.value : NumberFrom(lowMarginPercent));
}

void GeneralSettings::applyTo(CLocalFile& local) const
{
    local.receiptStyle = static_cast<std::uint8_t>(std::clamp(receiptStyle, 0, 1));
    local.receiptsToPrint = static_cast<std::uint8_t>(std::clamp(receiptsToPrint, 0, 2));
    local.packingSlips = static_cast<std::uint8_t>(std::clamp(packingSlips, 0, 3));
    local.drawerMethod = static_cast<std::uint8_t>(std::clamp(drawerMethod, 0, 2));
    local.drawerCommand = StoredDrawerCommand(drawerCommand).substr(0, kDrawerCommandChars);
    local.rollWidthMm = static_cast<std::uint8_t>(rollWidthMm == 58 ? 58 : 80);
}

std::string GeneralSettings::drawerCommandMessage() const
{
    if (StoredDrawerCommand(drawerCommand).size() <= kDrawerCommandChars)
        return {};
    return strprintf("The drawer command is too long: the register keeps %zu characters, and the "
                     "command needs %zu.\n\nType at most 11 characters, or hexadecimal digits such as "
                     "1B 70 00 19 FA (spaces are not kept).",
                     kDrawerCommandChars, StoredDrawerCommand(drawerCommand).size());
}

std::string GeneralSettings::numberMessage() const
{
    if (const TypedNumber n = ReadTypedNumber(rollFontSize); !n.ok || !IsWholeNumber(n))
        return NumberRefusal("Font size for Roll Receipt", rollFontSize, true);
    if (!ReadTypedNumber(lowMarginPercent).ok)
        return NumberRefusal("Low Margin %", lowMarginPercent, false);
    return {};
}

double NumberFrom(const std::string& text)
{
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    const double v = strtod_l(text.c_str(), nullptr, c);
    return std::isfinite(v) ? v : 0;
}

std::uint8_t RollFontSizeFrom(const std::string& text)
{
    return static_cast<std::uint8_t>(std::clamp(std::trunc(NumberFrom(text)), 6.0, 128.0));
}

std::string GeneralRuleMessage(const SalesFileHeader& h)
{
    if (h.mustEnterAddress && !h.showMailingAddress)
        return "When the 'Must enter Customer Address' requirement box is set,\nthe Address box must be visable.\n\n"
               "Check the 'Show Mailing Address' box or\nuncheck the 'Must enter Customer Address' box.";
    if (h.mustEnterCashPaid && !h.showChangeCalc)
        return "When the 'Must enter Cash Paid' requirement box is set,\nthe 'Show Change calc.' box must be "
               "visable.\n\nCheck the 'Show Change Calc.' box or\nuncheck the 'Must enter Cash Paid' box.";
    return {};
}

int SaveGeneralSettings(CLocalFile& local, SalesFileHeader& header, const GeneralSettings& settings)
{
    const int cause = UpdateHeader(local, header, [&settings](SalesFileHeader& stored) { settings.applyTo(stored); });
    if (cause != FileCause::None)
        return cause;
    CLocalFile changed = local;
    settings.applyTo(changed);
    if (!changed.Save())
        return FileCause::Generic;
    local = changed;
    return FileCause::None;
}
