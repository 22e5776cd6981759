#include "settings/SetupLists.h"

#include "settings/GeneralSettings.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/TextFormat.h"

#include <cmath>

namespace {
constexpr std::size_t kNameChars = 23;  // a 24-byte name field less its NUL

// Whole lines of a list stored with CR LF, without their line ends.
std::vector<std::string> linesOf(const std::string& stored)
{
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t lf = stored.find('\n'); lf != std::string::npos; lf = stored.find('\n', from)) {
        std::size_t end = lf;
        if (end > from && stored[end - 1] == '\r')
            --end;
        out.push_back(stored.substr(from, end - from));
        from = lf + 1;
    }
    return out;
}
}  // namespace

std::vector<Person> ListPeople(const CLocalFile& local, PeopleKind kind)
{
    std::vector<Person> out;
    const TextRows rows = kind == PeopleKind::Cashiers ? ListCashiers(local) : ListSalespeople(local);
    for (const auto& row : rows)
        out.push_back({row[0], kind == PeopleKind::Cashiers ? row[1] : std::string()});
    return out;
}

PersonSave SavePerson(const CLocalFile& local, PeopleKind kind, const std::string& original, const Person& person)
{
    const std::string name = person.name.substr(0, kNameChars);
    if (name.find_first_not_of(" \t") == std::string::npos)
        return PersonSave::EmptyName;
    ChangeResult result;
    if (kind == PeopleKind::Cashiers) {
        const CashierRecord record{name, person.password.substr(0, kNameChars)};
        if (original.empty())
            return AppendCashier(local, record) == FileCause::None ? PersonSave::Appended : PersonSave::Failed;
        result = ReplaceCashierNamed(local, original, record);
    } else {
        const SalespersonRecord record{name};
        if (original.empty())
            return AppendSalesperson(local, record) == FileCause::None ? PersonSave::Appended : PersonSave::Failed;
        result = ReplaceSalespersonNamed(local, original, record);
    }
    if (result == ChangeResult::Done)
        return PersonSave::Replaced;
    return result == ChangeResult::NotFound ? PersonSave::Gone : PersonSave::Failed;
}

ChangeResult DeletePerson(const CLocalFile& local, PeopleKind kind, const std::string& name)
{
    return kind == PeopleKind::Cashiers ? DeleteCashier(local, name) : DeleteSalesperson(local, name);
}

const TextListKind kPaymentTypeList{"Add or Edit Types of Payment", &SalesFileHeader::paymentTypes, 23,
                                    " o One entry per line.\n o No blank lines.\n o Cash must be First.\n o Don't change Split",
                                    "Can't save.\nA Pay Type is to long."};
const TextListKind kCategoryList{"Add or Edit Catagories", &SalesFileHeader::categories, 39,
                                 " o One name per line.\n o No blank lines.\n o Names are alphabetized.",
                                 "Can't save.\nA Category name is to long."};
const TextListKind kDepartmentList{"Add or Edit Departments", &SalesFileHeader::departments, 39,
                                   " o One name per line.\n o No blank lines.\n o Names are alphabetized.",
                                   "Can't save.\nA Department name is to long."};
const char* const kListTooLong = "Can't save.\nThe list is too long: remove some entries.";

std::string AsStoredList(const std::string& typed)
{
    std::string out;
    out.reserve(typed.size() + 8);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == '\n' && (i == 0 || typed[i - 1] != '\r'))
            out += '\r';
        out += typed[i];
    }
    if (!out.empty() && out.back() != '\n')
        out += out.back() == '\r' ? "\n" : "\r\n";
    return out;
}

std::string TextListRefusal(const TextListKind& kind, const std::string& typed)
{
    const std::string stored = AsStoredList(typed);
    for (const std::string& line : linesOf(stored))
        if (line.size() > kind.longest)
            return kind.refusal;
    // A list cut to fit would lose its last entry, and that entry's line end.
    if (stored.size() >= SalesFileHeader::kListWidth)
        return kListTooLong;
    return {};
}

int SaveTextList(const CLocalFile& local, SalesFileHeader& header, const TextListKind& kind, const std::string& typed)
{
    if (!TextListRefusal(kind, typed).empty())
        return FileCause::Generic;
    const std::string stored = AsStoredList(typed);
    return UpdateHeader(local, header, [&](SalesFileHeader& h) { h.*kind.field = stored; });
}

std::string RateText(float rate)
{
    std::string text = strprintf("%.4f", static_cast<double>(rate));
    // Two decimals at least; the third and fourth only when they count.
    while (text.size() > 3 && text.back() == '0' && text[text.size() - 3] != '.')
        text.pop_back();
    return text;
}

float RateFrom(const std::string& typed, const std::string& shown, float stored)
{
    return typed == shown ? stored : static_cast<float>(NumberFrom(typed));
}

SimpleTaxSettings SimpleTaxSettings::From(const SalesFileHeader& h)
{
    return {h.simpleTax != 0, h.simpleTax1, h.simpleTax2, h.showTaxesSeparately != 0, h.showCents != 0};
}

void SimpleTaxSettings::applyTo(SalesFileHeader& h) const
{
    h.simpleTax = simpleTax;
    h.simpleTax1 = tax1;
    h.simpleTax2 = tax2;
    h.showTaxesSeparately = showSeparately;
    h.showCents = showCents;
}

int SaveSimpleTax(const CLocalFile& local, SalesFileHeader& header, const SimpleTaxSettings& settings)
{
    return UpdateHeader(local, header, [&](SalesFileHeader& h) { settings.applyTo(h); });
}

ChangeResult SaveTaxZone(const CLocalFile& local, const std::string& original, TaxTableRecord zone)
{
    zone.name = zone.name.substr(0, kNameChars);
    if (original.empty())
        return AppendTaxZone(local, zone) == FileCause::None ? ChangeResult::Done : ChangeResult::Failed;
    return ReplaceTaxZoneNamed(local, original, zone);
}

const char* const kTermsRefused =
    "Can't save.\nThe Discount% must be from 0 to 100 and the days from 0 to 9999.";

std::string TermsFrom(const std::string& percent, const std::string& discountDays, const std::string& netDays,
                      TermsRecord& terms)
{
    const double p = std::trunc(NumberFrom(percent));
    const double d = std::trunc(NumberFrom(discountDays));
    const double n = std::trunc(NumberFrom(netDays));
    if (p < 0 || p > 100 || d < 0 || d > 9999 || n < 0 || n > 9999)
        return kTermsRefused;
    terms.discountPercent = static_cast<std::int16_t>(p);
    terms.discountDays = static_cast<std::int16_t>(d);
    terms.netDays = static_cast<std::int16_t>(n);
    return {};
}
