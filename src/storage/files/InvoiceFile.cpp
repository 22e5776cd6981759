#include "storage/files/InvoiceFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/SalesIndex.h"
#include "storage/io/DataFile.h"
#include "storage/io/UserPrompt.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// Sales read per block in scans: 14 records, just over 64 KiB.
constexpr std::size_t kBlockRecords = 14;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares a text slot as decoded (up to its NUL, at most width - 1 characters)
// with `text` ignoring case, without building a string.
bool slotEqualsIgnoreCase(const std::uint8_t* buf, std::size_t off, std::size_t width, const std::string& text)
{
    const char* slot = reinterpret_cast<const char*>(buf + off);
    const std::size_t len = std::min(strnlen(slot, width), width - 1);
    if (len != text.size())
        return false;
    for (std::size_t i = 0; i < len; ++i)
        if (lowerAscii(slot[i]) != lowerAscii(text[i]))
            return false;
    return true;
}

// saleTime of the record at position first (true) or last (false); `now` otherwise.
OleDate saleTimeAtEnd(const CLocalFile& local, bool first, const CalendarTime& now)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read) != FileCause::None)
        return OleDate::fromCalendar(now);
    const long long present = InvoiceRecordsPresent(file);
    if (present <= 0)
        return OleDate::fromCalendar(now);
    std::uint8_t buf[OleDate::kSize];
    const long long n = first ? 0 : present - 1;
    if (!readFully(file, InvoiceOffset(n) + static_cast<long long>(InvoiceRecord::kSaleTimeOff), buf, sizeof buf))
        return OleDate::fromCalendar(now);
    return OleDate::decode(buf, 0);
}

void writeCount(Transaction& tx, DataFile& file, long long count)
{
    std::uint8_t buf[4];
    codec::putI32(buf, 0, static_cast<std::int32_t>(count));
    tx.write(file, 0, buf, sizeof buf);
}

void stageInvoice(Transaction& tx, DataFile& file, long long n, const InvoiceRecord& record, bool unseen)
{
    std::uint8_t buf[InvoiceRecord::kSize];
    record.encode(buf);
    if (unseen)
        tx.writeUnseen(file, InvoiceOffset(n), buf, sizeof buf);
    else
        tx.write(file, InvoiceOffset(n), buf, sizeof buf);
}

// The stored count as it stands (0 for a file too short to hold it); false on a read error.
bool storedCount(DataFile& file, long long& stored)
{
    stored = 0;
    std::uint8_t buf[4];
    const long long got = file.readAt(0, buf, sizeof buf);
    if (got < 0)
        return false;
    if (got == sizeof buf)
        stored = codec::getI32(buf, 0);
    return true;
}

}  // namespace

bool EqualsIgnoreCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

long long InvoiceRecordsPresent(DataFile& file, bool* damaged)
{
    if (damaged)
        *damaged = false;
    const long long size = file.size();
    if (size < 0)
        return -1;
    if (size < kInvoiceFileHeaderSize)
        return 0;  // a file that never received its count holds no sales
    std::uint8_t buf[4];
    if (!readFully(file, 0, buf, sizeof buf))
        return -1;
    const long long stored = codec::getI32(buf, 0);
    const long long room = (size - kInvoiceFileHeaderSize) / static_cast<long long>(InvoiceRecord::kSize);
    bool bad = false;
    const long long present = RecordsUnderCount(stored, room, 0, bad);
    if (damaged)
        *damaged = bad;
    return present;
}

long long InvoiceRecordsForChange(DataFile& file)
{
    bool damaged = false;
    const long long present = InvoiceRecordsPresent(file, &damaged);
    if (damaged) {
        ReportDamagedCount(file.path());
        return -1;
    }
    return present;
}

bool ReadInvoiceAt(DataFile& file, long long n, InvoiceRecord& record)
{
    std::uint8_t buf[InvoiceRecord::kSize];
    if (n < 0 || !readFully(file, InvoiceOffset(n), buf, sizeof buf))
        return false;
    record.decode(buf);
    return true;
}

void StageInvoiceAt(Transaction& tx, DataFile& file, long long n, const InvoiceRecord& record)
{
    std::uint8_t buf[InvoiceRecord::kSize];
    record.encode(buf);
    tx.write(file, InvoiceOffset(n), buf, sizeof buf);
    StageSalesIndexRow(tx, file.path(), n, buf);
}

int ReadInvoiceCount(const CLocalFile& local, int& count)
{
    const std::string path = local.GetPath("Invoices");
    DataFile file;
    int cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
    if (cause == FileCause::NotFound) {
        // A new invoice file holds no sales, whatever count the caller had.
        // Another register may create it at the same moment: then its file is
        // read like any other.
        const std::uint8_t zero[4] = {};
        cause = DataFile::createWhole(path, zero, sizeof zero);
        if (cause != FileCause::None && cause != FileCause::AlreadyExists)
            return cause;
        cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
    }
    if (cause != FileCause::None)
        return cause;
    const long long present = InvoiceRecordsPresent(file);
    if (present < 0)
        return file.failure();
    count = static_cast<int>(present);
    return FileCause::None;
}

bool ReadInvoice(const CLocalFile& local, int recordNumber, InvoiceRecord& record)
{
    if (recordNumber < 0) {
        userPrompt().showMessage("Reocord number error: negative number");
        return false;
    }
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read) != FileCause::None) {
        userPrompt().showMessage("Read Invoice error: can't open");
        return false;
    }
    const long long present = InvoiceRecordsPresent(file);
    if (present < 0) {
        userPrompt().showMessage("Read Invoice error: can't open");
        return false;
    }
    if (recordNumber >= present) {
        userPrompt().showMessage("Read by reocord number error: out of range");
        return false;
    }
    InvoiceRecord read;
    if (!ReadInvoiceAt(file, recordNumber, read)) {
        userPrompt().showMessage("Read Invoice error: can't open");
        return false;
    }
    record = read;
    return true;
}

int AppendInvoiceIn(Transaction& tx, const CLocalFile& local, InvoiceRecord& record, const CalendarTime& now,
                    const PaidFlagOf& paidFlag)
{
    DataFile& file = tx.file(local.GetPath("Invoices"));
    // A count past the end of the file is set right here: the sale goes where
    // the first missing record would be, and the count written counts exactly
    // the records before it.
    const long long n = InvoiceRecordsForChange(file);
    long long stored = 0;
    if (n < 0 || !storedCount(file, stored))
        return -1;
    record.recordNumber = static_cast<std::int32_t>(n);
    DateRecord(record, now);
    record.paid = paidFlag(record);
    // Past the count nobody sees the sale until the count takes it in.
    stageInvoice(tx, file, n, record, stored <= n);
    writeCount(tx, file, n + 1);
    return static_cast<int>(n);
}

int RewriteInvoice(const CLocalFile& local, const InvoiceRecord& record)
{
    Transaction tx;
    tx.add(local.GetPath("Invoices"));
    JoinSalesIndex(tx, local.GetPath("Invoices"));
    if (tx.begin() != FileCause::None)
        return -1;
    DataFile& file = tx.file(local.GetPath("Invoices"));
    // Writing past the stored sales would leave uncounted or torn records behind.
    const long long present = InvoiceRecordsForChange(file);
    if (record.recordNumber < 0 || record.recordNumber >= present)
        return -1;
    StageInvoiceAt(tx, file, record.recordNumber, record);
    if (tx.commit() != FileCause::None)
        return -1;
    return record.recordNumber;
}

bool StagePaidFlag(Transaction& tx, const CLocalFile& local, std::int32_t invoiceNumber, const PaidFlagOf& paidFlag)
{
    DataFile& invoices = tx.file(local.GetPath("Invoices"));
    bool damaged = false;
    const long long present = InvoiceRecordsPresent(invoices, &damaged);
    if (present < 0 || damaged)
        return false;
    if (invoiceNumber < 0 || invoiceNumber >= present)
        return true;
    InvoiceRecord sale;
    if (!ReadInvoiceAt(invoices, invoiceNumber, sale))
        return false;
    const std::uint8_t flag = paidFlag(sale);
    if (flag != sale.paid)
        tx.write(invoices, InvoiceOffset(invoiceNumber), &flag, 1);
    return true;
}

OleDate FirstSaleDate(const CLocalFile& local, const CalendarTime& now) { return saleTimeAtEnd(local, true, now); }

OleDate LastSaleDate(const CLocalFile& local, const CalendarTime& now) { return saleTimeAtEnd(local, false, now); }

void ScanInvoices(DataFile& file, long long present, const std::function<bool(const std::uint8_t*, long long)>& visit)
{
    std::vector<std::uint8_t> block(kBlockRecords * InvoiceRecord::kSize);
    for (long long first = 0; first < present;) {
        const long long take = std::min<long long>(kBlockRecords, present - first);
        const std::size_t bytes = static_cast<std::size_t>(take) * InvoiceRecord::kSize;
        if (!readFully(file, InvoiceOffset(first), block.data(), bytes))
            return;
        for (long long r = 0; r < take; ++r)
            if (!visit(block.data() + static_cast<std::size_t>(r) * InvoiceRecord::kSize, first + r))
                return;
        first += take;
    }
}

float SoldQuantityInRange(const CLocalFile& local, const std::string& itemNumber, const CalendarTime& from,
                          const CalendarTime& to)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read) != FileCause::None)
        return 0;
    const long long present = InvoiceRecordsPresent(file);
    const int fromKey = DateKey(from.year, from.month, from.day);
    const int toKey = DateKey(to.year, to.month, to.day);
    float sum = 0;
    ScanInvoices(file, present, [&](const std::uint8_t* rec, long long) {
        const int key = DateKey(codec::getI16(rec, InvoiceRecord::kYearOff), codec::getI16(rec, InvoiceRecord::kMonthOff),
                                codec::getI16(rec, InvoiceRecord::kDayOff));
        if (key < fromKey || key > toKey)
            return true;
        for (std::size_t line = 0; line < InvoiceRecord::kLines; ++line)
            if (slotEqualsIgnoreCase(rec, InvoiceRecord::kItemNumberOff + line * InvoiceRecord::kNameWidth,
                                     InvoiceRecord::kNameWidth, itemNumber))
                sum += codec::getF32(rec, InvoiceRecord::kQtyOff + 4 * line);
        return true;
    });
    return sum;
}

std::string AddressBlock(const InvoiceRecord& record)
{
    const auto& a = record.address;
    return strprintf("%s\r\n%s\r\n%s\r\n%s, %s %s ", a[InvoiceRecord::kName].c_str(), a[InvoiceRecord::kCompany].c_str(),
                     a[InvoiceRecord::kStreet].c_str(), a[InvoiceRecord::kCity].c_str(), a[InvoiceRecord::kState].c_str(),
                     a[InvoiceRecord::kZip].c_str());
}
