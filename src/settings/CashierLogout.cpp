#include "settings/CashierLogout.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

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

std::string LocaleDateTime(const CalendarTime& t) { return FormatCalendarTime(t, "%c"); }

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
    ScanInvoices(file, present, [&](const std::uint8_t* rec, long long number) {
        if (!slotEquals(rec, InvoiceRecord::kCashierOff, InvoiceRecord::kNameWidth, cashier))
            return true;
        CalendarTime sold;
        if (!OleDate::decode(rec, InvoiceRecord::kSaleTimeOff).toCalendar(sold))
            return true;
        const long long soldSeconds = secondsOf(sold);
        if ((bounded && soldSeconds < fromSeconds) || soldSeconds > toSeconds)
            return true;
        const std::uint8_t level = codec::getU8(rec, InvoiceRecord::kPriceLevelOff);
        const std::string levelName = level < header.levelNames.size() ? header.levelNames[level] : std::string();
        const std::string payType = codec::fitText(
            codec::getText(rec, InvoiceRecord::kPayTypeOff, InvoiceRecord::kNameWidth), InvoiceRecord::kNameWidth);
        text += strprintf("%-7lld\t", number);
        text += strprintf("%9.2f\t", static_cast<double>(codec::getF32(rec, InvoiceRecord::kTotalOff)));
        text += strprintf("%-20s\t", payType.c_str());
        text += strprintf("%-20s\t", levelName.c_str());
        text += LocaleDateTime(sold) + "\r\n";
        return true;
    });
    return text;
}
