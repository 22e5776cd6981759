#include "storage/files/QuoteFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/io/DataFile.h"
#include "storage/io/UserPrompt.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>
#include <vector>

namespace {
constexpr std::size_t kBlockRecords = 14;  // just over 64 KiB per read

const char* const kNotFound = "Read Invoice error: Quote Not Found.";
const char* const kDeleteError = "Read Quote error: can't open in delete";

struct QuoteHeader {
    long long present = 0;  // quotes really held, whatever the stored count says
    std::int32_t next = 0;
    std::int32_t stored = 0;
    bool damaged = false;  // the stored count is negative
};

// False when the header cannot be read. A file too short for its header is empty.
bool readHeader(DataFile& file, QuoteHeader& header)
{
    const long long size = file.size();
    if (size < 0)
        return false;
    header = QuoteHeader{};
    if (size < kQuoteFileHeaderSize)
        return true;
    std::uint8_t buf[kQuoteFileHeaderSize];
    if (!readFully(file, 0, buf, sizeof buf))
        return false;
    const long long room = (size - kQuoteFileHeaderSize) / static_cast<long long>(InvoiceRecord::kSize);
    header.stored = codec::getI32(buf, 0);
    header.present = RecordsUnderCount(header.stored, room, 0, header.damaged);
    header.next = std::max<std::int32_t>(codec::getI32(buf, 4), 0);
    return true;
}

void writeHeader(Transaction& tx, DataFile& file, long long count, std::int32_t next)
{
    std::uint8_t buf[kQuoteFileHeaderSize];
    codec::putI32(buf, 0, static_cast<std::int32_t>(count));
    codec::putI32(buf, 4, next);
    tx.write(file, 0, buf, sizeof buf);
}

// Calls visit(position, record bytes) for every quote present until it returns
// false. False on a read error.
template <typename Visit>
bool scanQuotes(DataFile& file, long long present, Visit visit)
{
    std::vector<std::uint8_t> block(kBlockRecords * InvoiceRecord::kSize);
    for (long long first = 0; first < present;) {
        const long long take = std::min<long long>(kBlockRecords, present - first);
        if (!readFully(file, QuoteOffset(first), block.data(), static_cast<std::size_t>(take) * InvoiceRecord::kSize))
            return false;
        for (long long i = 0; i < take; ++i)
            if (!visit(first + i, block.data() + static_cast<std::size_t>(i) * InvoiceRecord::kSize))
                return true;
        first += take;
    }
    return true;
}

// Position of the first quote with that number, -1 when none, -2 on a read error.
long long findQuote(DataFile& file, long long present, int quoteNumber)
{
    long long found = -1;
    const bool read = scanQuotes(file, present, [&](long long pos, const std::uint8_t* rec) {
        if (codec::getI32(rec, InvoiceRecord::kRecordNumberOff) != quoteNumber)
            return true;
        found = pos;
        return false;
    });
    return read ? found : -2;
}


OleDate quoteDateAtEnd(const CLocalFile& local, bool first, const CalendarTime& now)
{
    const OleDate today = OleDate::fromCalendar(now).dateOnly();
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Quotes"), OpenMode::Read) != FileCause::None)
        return today;
    QuoteHeader header;
    if (!readHeader(file, header) || header.present == 0)
        return today;
    std::uint8_t buf[OleDate::kSize];
    const long long n = first ? 0 : header.present - 1;
    if (!readFully(file, QuoteOffset(n) + static_cast<long long>(InvoiceRecord::kSaleTimeOff), buf, sizeof buf))
        return today;
    return OleDate::decode(buf, 0).dateOnly();
}
}  // namespace

int SaveQuote(const CLocalFile& local, InvoiceRecord& record, const CalendarTime& now)
{
    const std::string path = local.GetPath("Quotes");
    // Created without truncating: another register may have created it and
    // stored its first quote meanwhile.
    Transaction tx;
    tx.add(path, OpenMode::OpenOrCreate);
    if (tx.begin() != FileCause::None)
        return -1;
    DataFile& file = tx.file(path);
    QuoteHeader header;
    if (!readHeader(file, header))
        return -1;
    if (header.damaged) {
        ReportDamagedCount(path);
        return -1;
    }
    std::int32_t number = header.next;
    if (!scanQuotes(file, header.present, [&](long long, const std::uint8_t* rec) {
            // A damaged next number must still not hand out a number in use.
            number = std::max(number, codec::getI32(rec, InvoiceRecord::kRecordNumberOff) + 1);
            return true;
        }))
        return -1;

    InvoiceRecord quote = record;
    quote.recordNumber = number;
    DateRecord(quote, now);
    // Past the count nobody sees the quote until the header takes it in.
    std::uint8_t buf[InvoiceRecord::kSize];
    quote.encode(buf);
    if (header.stored <= header.present)
        tx.writeUnseen(file, QuoteOffset(header.present), buf, sizeof buf);
    else
        tx.write(file, QuoteOffset(header.present), buf, sizeof buf);
    writeHeader(tx, file, header.present + 1, number + 1);
    if (tx.commit() != FileCause::None)
        return -1;
    // The caller's sale keeps its own number; it receives the quote's dates.
    const std::int32_t own = record.recordNumber;
    record = quote;
    record.recordNumber = own;
    return number;
}

bool ReadQuote(const CLocalFile& local, int quoteNumber, InvoiceRecord& record)
{
    DataFile file;
    QuoteHeader header;
    const int opened = CLocalFile::OpenFile(file, local.GetPath("Quotes"), OpenMode::Read);
    if (opened != FileCause::None || !readHeader(file, header)) {
        // A wait the cashier gave up is no missing quote: the screen said so already.
        if (opened != FileCause::WaitGivenUp && opened != FileCause::LockGivenUp)
            userPrompt().showMessage(kNotFound);
        return false;
    }
    const long long pos = findQuote(file, header.present, quoteNumber);
    std::uint8_t buf[InvoiceRecord::kSize];
    if (pos < 0 || !readFully(file, QuoteOffset(pos), buf, sizeof buf)) {
        userPrompt().showMessage(kNotFound);
        return false;
    }
    record.decode(buf);
    return true;
}

const CountedLayout& QuoteFileLayout()
{
    static const CountedLayout layout{kQuoteFileHeaderSize, InvoiceRecord::kSize, 0, CountedLayout::Count::U32, 0};
    return layout;
}

bool DeleteQuote(const CLocalFile& local, int quoteNumber)
{
    const std::string path = local.GetPath("Quotes");
    Transaction tx;
    tx.add(path);
    QuoteHeader header;
    if (tx.begin() != FileCause::None || !readHeader(tx.file(path), header)) {
        userPrompt().showMessage(kDeleteError);
        return false;
    }
    if (header.damaged) {
        ReportDamagedCount(path);
        return false;
    }
    DataFile& file = tx.file(path);
    const long long pos = findQuote(file, header.present, quoteNumber);
    if (pos < 0) {
        userPrompt().showMessage(kDeleteError);
        return false;
    }
    const long long last = header.present - 1;
    // The last quote moves into the gap and the count drops, in one transaction.
    if (pos != last) {
        std::uint8_t buf[InvoiceRecord::kSize];
        if (!readFully(file, QuoteOffset(last), buf, sizeof buf)) {
            userPrompt().showMessage(kDeleteError);
            return false;
        }
        tx.write(file, QuoteOffset(pos), buf, sizeof buf);
    }
    writeHeader(tx, file, last, header.next);
    if (tx.commit() != FileCause::None) {
        userPrompt().showMessage(kDeleteError);
        return false;
    }
    return true;
}

OleDate FirstQuoteDate(const CLocalFile& local, const CalendarTime& now) { return quoteDateAtEnd(local, true, now); }

OleDate LastQuoteDate(const CLocalFile& local, const CalendarTime& now) { return quoteDateAtEnd(local, false, now); }
