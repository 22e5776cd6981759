#include "storage/files/CustomerFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <vector>

namespace {
// Record 0 is the placeholder: a count below 1 is impossible.
const CountedLayout kLayout{CustomerFileHeader::kSize, CustomerRecord::kSize, CustomerFileHeader::kCountOffset,
                            CountedLayout::Count::U32, 1};

std::vector<std::uint8_t> newFile()
{
    std::vector<std::uint8_t> bytes(CustomerFileHeader::kSize + CustomerRecord::kSize, 0);
    CustomerFileHeader().encode(bytes.data());  // the placeholder stays all zero
    return bytes;
}

const std::uint8_t* nameSlot(const std::uint8_t* rec)
{
    return rec + CustomerRecord::textOffset(CustomerRecord::kName);
}

std::string slotText(const std::uint8_t* rec, std::size_t k)
{
    return codec::fitText(codec::getText(rec, CustomerRecord::textOffset(k), CustomerRecord::kTextWidth),
                          CustomerRecord::kTextWidth);
}

// Index of the first record from `first` on with this number, -1 when none,
// -2 on a read error.
long long findNumber(CountedFile& file, long long first, std::uint16_t number)
{
    long long found = -1;
    if (!file.scan(first, [&](long long i, const std::uint8_t* rec) {
            if (codec::getU16(rec, CustomerRecord::kNumberOffset) != number)
                return false;
            found = i;
            return true;
        }))
        return -2;
    return found;
}

// The number the next appended customer gets. A damaged header can hold a
// next number already in use (or 0, the placeholder's); numbers are never given
// twice, so go past the highest.
unsigned firstFreeNumber(CountedFile& file, unsigned highest)
{
    const unsigned number = codec::getU16(file.header(), 4);
    return number == 0 || number <= highest ? highest + 1 : number;
}

}  // namespace

const CountedLayout& CustomerFileLayout() { return kLayout; }

int CreateCustomerFile(const CLocalFile& local)
{
    CountedFile file(kLayout);
    return file.openOrCreate(local.GetPath("Customers"), newFile());
}

int ReadCustomerHeader(const CLocalFile& local, CustomerFileHeader& header)
{
    CountedFile file(kLayout);
    const int cause = file.openForReading(local.GetPath("Customers"), newFile());
    if (cause != FileCause::None)
        return cause;
    header.decode(file.header());
    header.count = static_cast<std::uint32_t>(file.count());
    return FileCause::None;
}

int WriteCustomerHeader(const CLocalFile& local, const CustomerFileHeader& header)
{
    CountedFile file(kLayout);
    const int cause = file.open(local.GetPath("Customers"), OpenMode::ReadWrite);
    if (cause != FileCause::None)
        return cause;
    std::uint8_t buf[CustomerFileHeader::kSize];
    header.encode(buf);
    std::copy(buf + CustomerFileHeader::kLabelsOffset, buf + CustomerFileHeader::kSize,
              file.header() + CustomerFileHeader::kLabelsOffset);
    const std::size_t labelBytes = CustomerFileHeader::kSize - CustomerFileHeader::kLabelsOffset;
    return file.writeHeaderPart(CustomerFileHeader::kLabelsOffset, labelBytes) ? FileCause::None : FileCause::Generic;
}

bool FindCustomerByName(const CLocalFile& local, const std::string& name, CustomerRecord& record)
{
    if (name.empty())
        return false;
    const std::string key = codec::fitText(name, CustomerRecord::kTextWidth);
    CountedFile file(kLayout);
    if (file.openForReading(local.GetPath("Customers"), newFile()) != FileCause::None)
        return false;
    bool found = false;
    file.scan(1, [&](long long, const std::uint8_t* rec) {
        if (!slotEqualsNoCase(nameSlot(rec), CustomerRecord::kTextWidth, key))
            return false;
        record.decode(rec);
        found = true;
        return true;
    });
    return found;
}

bool FindCustomerByNumber(const CLocalFile& local, std::uint16_t number, CustomerRecord& record)
{
    CountedFile file(kLayout);
    if (file.openForReading(local.GetPath("Customers"), newFile()) != FileCause::None)
        return false;
    bool found = false;
    file.scan(0, [&](long long, const std::uint8_t* rec) {
        if (codec::getU16(rec, CustomerRecord::kNumberOffset) != number)
            return false;
        record.decode(rec);
        found = true;
        return true;
    });
    return found;
}

CustomerSave SaveCustomerByName(const CLocalFile& local, CustomerRecord& record)
{
    if (record.name().empty())
        return CustomerSave::NotSaved;
    const std::string key = codec::fitText(record.name(), CustomerRecord::kTextWidth);
    CountedFile file(kLayout);
    if (file.openOrCreate(local.GetPath("Customers"), newFile()) != FileCause::None)
        return CustomerSave::NotSaved;

    long long match = -1;
    unsigned highest = 0;
    if (!file.scan(0, [&](long long i, const std::uint8_t* rec) {
            if (slotEqualsNoCase(nameSlot(rec), CustomerRecord::kTextWidth, key)) {
                match = i;
                return true;
            }
            highest = std::max<unsigned>(highest, codec::getU16(rec, CustomerRecord::kNumberOffset));
            return false;
        }))
        return CustomerSave::NotSaved;

    std::uint8_t buf[2 * CustomerRecord::kSize] = {};
    if (match >= 0) {
        // A record that carries no number (a customer typed in again) keeps the
        // stored one: number 0 belongs to the placeholder alone.
        CustomerRecord stored = record;
        if (stored.customerNumber == 0) {
            std::uint8_t old[CustomerRecord::kSize];
            if (!file.readRecord(match, old))
                return CustomerSave::NotSaved;
            stored.customerNumber = codec::getU16(old, CustomerRecord::kNumberOffset);
        }
        stored.encode(buf);
        if (!file.replaceRecord(match, buf))
            return CustomerSave::NotSaved;
        record.customerNumber = stored.customerNumber;
        return CustomerSave::Replaced;
    }

    const unsigned number = firstFreeNumber(file, highest);
    if (number > 0xFFFF)
        return CustomerSave::NotSaved;  // every number has been given out
    CustomerRecord stored = record;
    stored.customerNumber = static_cast<std::uint16_t>(number);
    // A file that lost even its placeholder gets it back in front of the record.
    const std::size_t n = file.count() == 0 ? 2 : 1;
    stored.encode(buf + (n - 1) * CustomerRecord::kSize);
    codec::putU16(file.header(), 4, static_cast<std::uint16_t>(number + 1));
    if (!file.append(buf, n))
        return CustomerSave::NotSaved;
    record.customerNumber = stored.customerNumber;
    return CustomerSave::Appended;
}

CustomerSave AppendCustomers(const CLocalFile& local, std::vector<CustomerRecord>& records)
{
    if (records.empty())
        return CustomerSave::Appended;
    CountedFile file(kLayout);
    if (file.openOrCreate(local.GetPath("Customers"), newFile()) != FileCause::None)
        return CustomerSave::NotSaved;
    unsigned highest = 0;
    if (!file.scan(0, [&](long long, const std::uint8_t* rec) {
            highest = std::max<unsigned>(highest, codec::getU16(rec, CustomerRecord::kNumberOffset));
            return false;
        }))
        return CustomerSave::NotSaved;
    const unsigned first = firstFreeNumber(file, highest);
    if (first + records.size() - 1 > 0xFFFF)
        return CustomerSave::NotSaved;
    // A file that lost even its placeholder gets it back in front of the records.
    const std::size_t lead = file.count() == 0 ? 1 : 0;
    std::vector<std::uint8_t> bytes((lead + records.size()) * CustomerRecord::kSize, 0);
    for (std::size_t i = 0; i < records.size(); ++i) {
        CustomerRecord stored = records[i];
        stored.customerNumber = static_cast<std::uint16_t>(first + i);
        stored.encode(bytes.data() + (lead + i) * CustomerRecord::kSize);
    }
    const unsigned next = first + static_cast<unsigned>(records.size());
    codec::putU16(file.header(), 4, static_cast<std::uint16_t>(next > 0xFFFF ? 0 : next));
    if (!file.append(bytes.data(), lead + records.size()))
        return CustomerSave::NotSaved;
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].customerNumber = static_cast<std::uint16_t>(first + i);
    return CustomerSave::Appended;
}

std::vector<CustomerRecord> ReadCustomers(const CLocalFile& local)
{
    std::vector<CustomerRecord> records;
    CountedFile file(kLayout);
    if (file.open(local.GetPath("Customers"), OpenMode::Read) != FileCause::None)
        return records;
    if (!file.scan(1, [&](long long, const std::uint8_t* rec) {
            records.emplace_back().decode(rec);
            return false;
        }))
        records.clear();
    return records;
}

ChangeResult UpdateCustomerByNumber(const CLocalFile& local, const CustomerRecord& record)
{
    if (record.customerNumber == 0)
        return ChangeResult::NotFound;
    CountedFile file(kLayout);
    if (file.open(local.GetPath("Customers"), OpenMode::ReadWrite) != FileCause::None)
        return ChangeResult::Failed;
    const long long i = findNumber(file, 0, record.customerNumber);
    if (i == -2)
        return ChangeResult::Failed;
    if (i < 0)
        return ChangeResult::NotFound;
    std::uint8_t buf[CustomerRecord::kSize];
    record.encode(buf);
    return file.replaceRecord(i, buf) ? ChangeResult::Done : ChangeResult::Failed;
}

ChangeResult DeleteCustomerByNumber(const CLocalFile& local, CustomerRecord& record)
{
    if (record.customerNumber == 0)
        return ChangeResult::NotFound;
    CountedFile file(kLayout);
    if (file.open(local.GetPath("Customers"), OpenMode::ReadWrite) != FileCause::None)
        return ChangeResult::Failed;
    const long long i = findNumber(file, 0, record.customerNumber);
    if (i == -2)
        return ChangeResult::Failed;
    if (i < 0)
        return ChangeResult::NotFound;
    std::uint8_t moved[CustomerRecord::kSize];
    if (!file.removeAt(i, moved))
        return ChangeResult::Failed;
    record.decode(moved);
    return ChangeResult::Done;
}

std::function<bool(const std::uint8_t*)> CustomerListFilter(int selector, const std::string& text)
{
    if (selector != 7)
        return [selector = std::clamp(selector, 0, 6)](const std::uint8_t* rec) {
            return selector == 0 || codec::getU8(rec, CustomerRecord::kPriceLevelOffset) == selector - 1;
        };
    return [wanted = lowerAscii(text)](const std::uint8_t* rec) {
        std::string joined;
        for (std::size_t k = CustomerRecord::kName; k <= CustomerRecord::kEmail; ++k)
            joined += slotText(rec, k);
        return lowerAscii(joined).find(wanted) != std::string::npos;
    };
}
