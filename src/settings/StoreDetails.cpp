#include "settings/StoreDetails.h"

#include "settings/SetupLists.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"

#include <algorithm>

namespace {
constexpr std::size_t kLevelNameChars = 39;
constexpr std::size_t kMessageChars = SalesFileHeader::kNoteWidth - 1;
constexpr std::size_t kLogoPathWidth = 180;

std::string cut(const std::string& text, std::size_t chars)
{
    return text.substr(0, chars);
}
}  // namespace

DiscountLevels DiscountLevels::From(const SalesFileHeader& h)
{
    DiscountLevels d;
    d.names = h.levelNames;
    d.percent = h.discountPercent;
    d.subtotal = h.discountSubtotal;
    d.salesDiscountOn = h.salesDiscountOn != 0;
    return d;
}

void DiscountLevels::orderSubtotals()
{
    for (std::size_t i = 1; i < subtotal.size(); ++i)
        subtotal[i] = std::max(subtotal[i], subtotal[i - 1]);
}

void DiscountLevels::applyTo(SalesFileHeader& h) const
{
    for (std::size_t i = 0; i < names.size(); ++i)
        h.levelNames[i] = cut(names[i], kLevelNameChars);
    h.discountPercent = percent;
    h.discountSubtotal = subtotal;
    h.salesDiscountOn = salesDiscountOn;
}

int SaveDiscountLevels(const CLocalFile& local, SalesFileHeader& header, DiscountLevels& levels)
{
    levels.orderSubtotals();
    return UpdateHeader(local, header, [&](SalesFileHeader& h) { levels.applyTo(h); });
}

int SaveSaleDates(const CLocalFile& local, SalesFileHeader& header, bool on, const CalendarTime& firstDay,
                  const CalendarTime& lastDay)
{
    const OleDate first = OleDate::fromCalendar(firstDay.year, firstDay.month, firstDay.day, 0, 0, 0);
    const OleDate last = OleDate::fromCalendar(lastDay.year, lastDay.month, lastDay.day, 23, 59, 59);
    return UpdateHeader(local, header, [&](SalesFileHeader& h) {
        h.saleDatesOn = on;
        h.saleFirstDay = first;
        h.saleLastDay = last;
    });
}

int SaveReceiptMessages(const CLocalFile& local, SalesFileHeader& header, const ReceiptMessages& m)
{
    return UpdateHeader(local, header, [&](SalesFileHeader& h) {
        h.receiptHeader = cut(m.receiptHeader, kMessageChars);
        h.termsMessage = cut(m.termsMessage, kMessageChars);
        h.optionalMessage = cut(m.optionalMessage, kMessageChars);
    });
}

const char* const kLogoPathTooLong =
    "Can't use this logo.\nIts path is longer than 179 characters.\nMove the file to a shorter path.";

LogoSave SaveLogoPath(const CLocalFile& local, SalesFileHeader& header, const std::string& path)
{
    if (path.size() >= kLogoPathWidth)
        return LogoSave::TooLong;
    return UpdateHeader(local, header, [&](SalesFileHeader& h) { h.logoPath = path; }) == FileCause::None
        ? LogoSave::Saved
        : LogoSave::Failed;
}

CompanyDetails CompanyDetails::From(const SalesFileHeader& h)
{
    return {h.companyName, h.companyAddress, h.contact, h.phone, h.phone2, h.fax, h.cell, h.email};
}

void CompanyDetails::applyTo(SalesFileHeader& h) const
{
    h.companyName = cut(name, 39);
    h.contact = cut(contact, 39);
    h.phone = cut(phone, 23);
    h.phone2 = cut(phone2, 23);
    h.fax = cut(fax, 23);
    h.cell = cut(cell, 23);
    h.email = cut(email, 39);
    std::string lines = address.empty() ? std::string() : AsStoredList(address);
    if (lines.size() >= SalesFileHeader::kAddressWidth) {
        lines.resize(SalesFileHeader::kAddressWidth - 1);
        if (lines.back() == '\r')
            lines.pop_back();
    }
    h.companyAddress = lines;
}

int SaveCompanyDetails(const CLocalFile& local, SalesFileHeader& header, const CompanyDetails& details)
{
    return UpdateHeader(local, header, [&](SalesFileHeader& h) { details.applyTo(h); });
}
