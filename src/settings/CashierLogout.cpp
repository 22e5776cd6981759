#include "CashierLogout.h"

#include "ByteCodec.h"
#include "CLocalFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"
#include "SalesFileHeader.h"
#include "TextFormat.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace {
// Sales read per block: 14 records, just over 64 KiB.
constexpr std::size_t kBlockRecords = 14;

long long secondsOf(const CalendarTime& t)
{
    return daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

// The text slot as decoded (up to its NUL, at most width - 1 characters)
// compared with `text`, case counting.
bool slotEquals(const std::uint8_t* buf, std::size_t off, std::size_t width, const std::string& text)
{
    const char* slot = reinterpret_cast<const char*>(buf + off);
    const std::size_t len = std::min(strnlen(slot, width), width - 1);
    return len == text.size() && std::memcmp(slot, text.data(), len) == 0;
}
}  // namespace

std::string LocaleDateTime(const CalendarTime& t)
{
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_wday = t.dayOfWeek;
    tm.tm_yday = t.dayOfYear;
    tm.tm_isdst = -1;
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, "%c", &tm);
    return std::string(buf, n);
}

std::string CashierLogoutReport(const CLocalFile& local, const SalesFileHeader& header, const std::string& cashier,
                                const OleDate& loginTime, const CalendarTime& nowGiven)
{
    // The caller's time may lack its weekday and day of the year; "%c" needs them.
    CalendarTime now = nowGiven;
    OleDate::fromCalendar(nowGiven).toCalendar(now);
    CalendarTime from;
    const bool bounded = loginTime.toCalendar(from);
    const long long fromSeconds = bounded ? secondsOf(from) : 0;
    const long long toSeconds = secondsOf(now);

    std::string text = "Cashier Log-out\r\n\r\nCashier:" + cashier + "\r\n" +
                       (bounded ? LocaleDateTime(from) : std::string()) + " to " + LocaleDateTime(now) +
                       "\r\n\r\n";
    text += "Rec# \t Total\t Payment Type \t Customer Type \t Time\r\n";

    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read) != FileCause::None)
        return text;
    const long long present = InvoiceRecordsPresent(file);
    std::vector<std::uint8_t> block(kBlockRecords * InvoiceRecord::kSize);
    for (long long first = 0; first < present;) {
        const long long take = std::min<long long>(kBlockRecords, present - first);
        const std::size_t bytes = static_cast<std::size_t>(take) * InvoiceRecord::kSize;
        if (!readFully(file, InvoiceOffset(first), block.data(), bytes))
            break;
        for (long long r = 0; r < take; ++r) {
            const std::uint8_t* rec = block.data() + static_cast<std::size_t>(r) * InvoiceRecord::kSize;
            if (!slotEquals(rec, InvoiceRecord::kCashierOff, InvoiceRecord::kNameWidth, cashier))
                continue;
            CalendarTime sold;
            if (!OleDate::decode(rec, InvoiceRecord::kSaleTimeOff).toCalendar(sold))
                continue;
            const long long soldSeconds = secondsOf(sold);
            if ((bounded && soldSeconds < fromSeconds) || soldSeconds > toSeconds)
                continue;
            const std::uint8_t level = codec::getU8(rec, InvoiceRecord::kPriceLevelOff);
            const std::string levelName = level < header.levelNames.size() ? header.levelNames[level] : std::string();
            const std::string payType = codec::fitText(
                codec::getText(rec, InvoiceRecord::kPayTypeOff, InvoiceRecord::kNameWidth), InvoiceRecord::kNameWidth);
            text += strprintf("%-7lld\t", first + r);
            text += strprintf("%9.2f\t", static_cast<double>(codec::getF32(rec, InvoiceRecord::kTotalOff)));
            text += strprintf("%-20s\t", payType.c_str());
            text += strprintf("%-20s\t", levelName.c_str());
            text += LocaleDateTime(sold) + "\r\n";
        }
        first += take;
    }
    return text;
}
