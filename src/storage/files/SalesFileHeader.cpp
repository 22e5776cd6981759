#include "storage/files/SalesFileHeader.h"

#include "storage/files/CLocalFile.h"
#include "storage/io/DataFile.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"

#include <cstring>
#include <strings.h>
#include <vector>

namespace {
constexpr std::size_t kLevelNameWidth = 40;

// Offsets of the 32-bit flag words from offset 8 on, in order.
std::uint32_t SalesFileHeader::* const kFlags[] = {
    &SalesFileHeader::mustEnterAddress,   &SalesFileHeader::mustSelectCashier,
    &SalesFileHeader::mustEnterCashPaid,  &SalesFileHeader::mustSelectPayType,
    &SalesFileHeader::showTodaysNotes,    &SalesFileHeader::showMailingAddress,
    &SalesFileHeader::showCalendar,       &SalesFileHeader::showChangeCalc,
    &SalesFileHeader::marginWatchOn,      &SalesFileHeader::saleDatesOn,
    &SalesFileHeader::autoEditNewCustomers, &SalesFileHeader::showTouchButton,
    &SalesFileHeader::showSalesperson,    &SalesFileHeader::showTaxesSeparately,
    &SalesFileHeader::simpleTax,          &SalesFileHeader::showCents,
    &SalesFileHeader::mustLogInCashier,   &SalesFileHeader::mustSelectSalesperson,
    &SalesFileHeader::reserved80,         &SalesFileHeader::salesDiscountOn,
};

struct TextField {
    std::size_t offset;
    std::size_t width;
    std::string SalesFileHeader::*field;
};
const TextField kTexts[] = {
    {412, SalesFileHeader::kPasswordWidth, &SalesFileHeader::securityPassword},
    {440, 400, &SalesFileHeader::todaysNotes},
    {840, 400, &SalesFileHeader::receiptHeader},
    {1240, 400, &SalesFileHeader::termsMessage},
    {1640, 400, &SalesFileHeader::optionalMessage},
    {2040, 800, &SalesFileHeader::categories},
    {2840, 800, &SalesFileHeader::departments},
    {3640, 800, &SalesFileHeader::paymentTypes},
    {4440, 40, &SalesFileHeader::companyName},
    {4480, 24, &SalesFileHeader::phone},
    {4504, 24, &SalesFileHeader::phone2},
    {4528, 24, &SalesFileHeader::fax},
    {4552, 24, &SalesFileHeader::cell},
    {4576, 40, &SalesFileHeader::contact},
    {4616, 40, &SalesFileHeader::email},
    {4656, 180, &SalesFileHeader::logoPath},
};

// The settings block followed by the company address.
void encodeWhole(const SalesFileHeader& header, std::uint8_t* buf)
{
    header.encode(buf);
    std::memset(buf + SalesFileHeader::kSize, 0, SalesFileHeader::kReservedSize);
    codec::putText(buf, SalesFileHeader::kSize, SalesFileHeader::kAddressWidth, header.companyAddress);
}

// Reads the settings block and, where the file holds it, the address.
int readWhole(DataFile& file, SalesFileHeader& header)
{
    std::uint8_t buf[SalesFileHeader::kFileSize] = {};
    const long long got = file.readAt(0, buf, sizeof buf);
    if (got < static_cast<long long>(SalesFileHeader::kSize))
        return FileCause::EndOfFile;
    header.decode(buf);
    header.companyAddress = got == static_cast<long long>(sizeof buf)
        ? codec::fitText(codec::getText(buf, SalesFileHeader::kSize, SalesFileHeader::kAddressWidth),
                         SalesFileHeader::kAddressWidth)
        : std::string();
    return FileCause::None;
}

// The settings block spans many sectors: written through the journal, so a
// power cut leaves the old settings or the new ones.
int writeWhole(Transaction& tx, DataFile& file, const SalesFileHeader& header)
{
    std::uint8_t buf[SalesFileHeader::kFileSize];
    encodeWhole(header, buf);
    tx.write(file, 0, buf, sizeof buf);
    return tx.commit();
}

// Writes the header into a new file. A file that another register created
// meanwhile is left as it is: `existed` tells the caller to read it instead.
int createHeaderFile(const std::string& path, const SalesFileHeader& header, bool& existed)
{
    std::uint8_t buf[SalesFileHeader::kFileSize];
    encodeWhole(header, buf);
    const int cause = DataFile::createWhole(path, buf, sizeof buf);
    existed = cause == FileCause::AlreadyExists;
    return existed ? FileCause::None : cause;
}

int readHeaderFrom(const std::string& path, OpenMode mode, SalesFileHeader& header)
{
    DataFile file;
    const int cause = CLocalFile::OpenFile(file, path, mode);
    if (cause != FileCause::None)
        return cause;
    return readWhole(file, header);
}

// Reads the header, creating a missing file from the in-memory one.
int readOrCreate(const CLocalFile& local, SalesFileHeader& header, OpenMode mode)
{
    const std::string path = local.GetPath("Head");
    SalesFileHeader fresh = header;
    int cause = readHeaderFrom(path, mode, fresh);
    if (cause == FileCause::NotFound) {
        bool existed = false;
        cause = createHeaderFile(path, header, existed);
        if (!existed)
            return cause;
        cause = readHeaderFrom(path, mode, fresh);
    }
    if (cause == FileCause::None)
        header = fresh;
    return cause;
}
}  // namespace

void SalesFileHeader::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putF32(buf, 0, version);
    codec::putU8(buf, 4, taxFormula);
    codec::putU8(buf, 5, rollFontSize);
    std::size_t off = 8;
    for (auto flag : kFlags) {
        codec::putU32(buf, off, this->*flag);
        off += 4;
    }
    codec::putF32(buf, 88, simpleTax1);
    codec::putF32(buf, 92, simpleTax2);
    codec::putF32(buf, 96, lowMarginPercent);
    for (std::size_t i = 0; i < 6; ++i) {
        codec::putF32(buf, 100 + 4 * i, discountPercent[i]);
        codec::putF32(buf, 124 + 4 * i, discountSubtotal[i]);
        codec::putText(buf, 172 + kLevelNameWidth * i, kLevelNameWidth, levelNames[i]);
    }
    saleFirstDay.encode(buf, 148);
    saleLastDay.encode(buf, 160);
    std::memcpy(buf + 426, reserved426.data(), reserved426.size());
    for (const auto& t : kTexts)
        codec::putText(buf, t.offset, t.width, this->*t.field);
}

void SalesFileHeader::decode(const std::uint8_t* buf)
{
    version = codec::getF32(buf, 0);
    taxFormula = codec::getU8(buf, 4);
    rollFontSize = codec::getU8(buf, 5);
    std::size_t off = 8;
    for (auto flag : kFlags) {
        this->*flag = codec::getU32(buf, off);
        off += 4;
    }
    simpleTax1 = codec::getF32(buf, 88);
    simpleTax2 = codec::getF32(buf, 92);
    lowMarginPercent = codec::getF32(buf, 96);
    for (std::size_t i = 0; i < 6; ++i) {
        discountPercent[i] = codec::getF32(buf, 100 + 4 * i);
        discountSubtotal[i] = codec::getF32(buf, 124 + 4 * i);
        levelNames[i] = codec::fitText(codec::getText(buf, 172 + kLevelNameWidth * i, kLevelNameWidth), kLevelNameWidth);
    }
    saleFirstDay = OleDate::decode(buf, 148);
    saleLastDay = OleDate::decode(buf, 160);
    std::memcpy(reserved426.data(), buf + 426, reserved426.size());
    for (const auto& t : kTexts)
        this->*t.field = codec::fitText(codec::getText(buf, t.offset, t.width), t.width);
}

int ReadHeader(const CLocalFile& local, SalesFileHeader& header) { return readOrCreate(local, header, OpenMode::Read); }

int WriteHeader(const CLocalFile& local, const SalesFileHeader& header)
{
    const std::string path = local.GetPath("Head");
    Transaction tx;
    tx.add(path);
    const int cause = tx.begin();
    if (cause != FileCause::None)
        return cause;
    return writeWhole(tx, tx.file(path), header);
}

int UpdateHeader(const CLocalFile& local, SalesFileHeader& header,
                 const std::function<void(SalesFileHeader&)>& change)
{
    const std::string path = local.GetPath("Head");
    Transaction tx;
    tx.add(path);
    const int cause = tx.begin();
    if (cause != FileCause::None)
        return cause;
    SalesFileHeader fresh = header;
    if (const int read = readWhole(tx.file(path), fresh); read != FileCause::None)
        return read;
    change(fresh);
    if (const int written = writeWhole(tx, tx.file(path), fresh); written != FileCause::None)
        return written;
    header = fresh;
    return FileCause::None;
}

int OpenOrCreateHeader(const CLocalFile& local, SalesFileHeader& header)
{
    return readOrCreate(local, header, OpenMode::ReadWrite);
}

HeaderProbe ProbeHeader(const std::string& path, float& version, long long& bytesRead)
{
    DataFile file;
    bytesRead = 0;
    const int cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
    if (cause == FileCause::NotFound)
        return HeaderProbe::Missing;
    if (cause != FileCause::None)
        return HeaderProbe::Unreadable;
    std::uint8_t buf[SalesFileHeader::kSize];
    const long long got = file.readAt(0, buf, sizeof buf);
    if (got < 0)
        return HeaderProbe::Unreadable;
    bytesRead = got;
    if (got < static_cast<long long>(sizeof buf))
        return HeaderProbe::Short;
    version = codec::getF32(buf, 0);
    return version == SalesFileHeader::kVersion ? HeaderProbe::Good : HeaderProbe::WrongVersion;
}

int CountLines(const std::string& list)
{
    int n = 0;
    for (char c : list)
        n += c == '\n';
    return n;
}

std::string GetLine(const std::string& list, int n)
{
    std::string line;
    int lf = 0;
    for (char c : list) {
        if (c == '\n') {
            if (lf == n)
                return line;
            ++lf;
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    return line;  // past the last line: what follows the last LF
}

std::vector<std::string> ComboEntries(const std::string& list)
{
    std::vector<std::string> entries;
    if (!list.empty() && list.front() == '\n')
        return entries;  // a text that begins with LF adds nothing
    std::size_t start = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] != '\n')
            continue;
        // The line before its LF, less its last character (normally the CR).
        entries.push_back(i > start ? list.substr(start, i - start - 1) : std::string());
        start = i + 1;
    }
    return entries;
}

std::string NextInList(const std::string& list, const std::string& current)
{
    if (current.empty())
        return GetLine(list, 0);
    const int lines = CountLines(list);
    for (int i = 0; i < lines; ++i) {
        if (strcasecmp(GetLine(list, i).c_str(), current.c_str()) == 0)
            return i == lines - 1 ? GetLine(list, 0) : GetLine(list, i + 1);
    }
    return current;
}
