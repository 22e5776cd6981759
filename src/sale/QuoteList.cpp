#include "sale/QuoteList.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/QuoteFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <ctime>

namespace {
using R = InvoiceRecord;
constexpr std::size_t kAddressShown = 6;  // name, company, street, city, state, zip
enum Slot { kNumber, kTotal, kYear, kMonth, kDay, kCashier, kPayType, kLevel, kAddress };

std::vector<ListedSlots::Slot> slots()
{
    std::vector<ListedSlots::Slot> s = {{R::kRecordNumberOff, 4}, {R::kTotalOff, 4},       {R::kYearOff, 2},
                                        {R::kMonthOff, 2},        {R::kDayOff, 2},         {R::kCashierOff, R::kNameWidth},
                                        {R::kPayTypeOff, R::kNameWidth}, {R::kPriceLevelOff, 1}};
    for (std::size_t i = 0; i < kAddressShown; ++i)
        s.push_back({R::kAddressOff + R::kTextWidth * i, R::kTextWidth});
    return s;
}
}  // namespace

std::string QuoteDateText(int year, int month, int day)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = 1;
    t.tm_min = 1;
    char text[64];
    return std::strftime(text, sizeof text, "%x", &t) ? text : "";
}

QuoteRows::QuoteRows() : slots_(slots()) {}

bool QuoteRows::list(const CLocalFile& local, OleDate startDay, OleDate endDay)
{
    const double from = startDay.dateOnly().value;
    const double before = endDay.dateOnly().value + 1;  // the whole end day
    const int cause = slots_.read(local.GetPath("Quotes"), QuoteFileLayout(), 0, [&](const std::uint8_t* rec) {
        const double at = OleDate::decode(rec, R::kSaleTimeOff).value;
        return at >= from && at < before;
    });
    // A file too short for its header holds no quotes.
    return cause == FileCause::None || cause == FileCause::NotFound || cause == FileCause::EndOfFile;
}

int QuoteRows::number(std::size_t row) const { return codec::getI32(slots_.bytes(row, kNumber), 0); }

std::string QuoteRows::cell(std::size_t row, int column, const SalesFileHeader& header) const
{
    const auto text = [&](std::size_t slot) { return std::string(slots_.text(row, slot)); };
    switch (column) {
    case 0: return strprintf("%d", number(row));
    case 1: return strprintf("%.2f", codec::getF32(slots_.bytes(row, kTotal), 0));
    case 2:
        return QuoteDateText(codec::getI16(slots_.bytes(row, kYear), 0), codec::getI16(slots_.bytes(row, kMonth), 0),
                             codec::getI16(slots_.bytes(row, kDay), 0));
    case 3: return text(kCashier);
    case 4: return text(kPayType);
    case 5: {
        const std::size_t level = *slots_.bytes(row, kLevel);
        return header.levelNames[std::min<std::size_t>(level, header.levelNames.size() - 1)];
    }
    case 6: {
        std::string a[kAddressShown];
        bool any = false;
        for (std::size_t i = 0; i < kAddressShown; ++i) {
            a[i] = text(kAddress + i);
            any = any || !a[i].empty();
        }
        // A walk-in quote has no address: its cell stays empty, not ", ,".
        return any ? strprintf("%s %s %s, %s, %s %s", a[0].c_str(), a[1].c_str(), a[2].c_str(), a[3].c_str(),
                               a[4].c_str(), a[5].c_str())
                   : std::string();
    }
    default: return {};
    }
}
