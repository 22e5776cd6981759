#include "storage/files/VendorFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>

namespace {
const CountedLayout kLayout{VendorFileHeader::kSize, VendorRecord::kSize, VendorFileHeader::kCountOffset,
                            CountedLayout::Count::U32};

std::vector<std::uint8_t> newFile(const VendorFileHeader& labels)
{
    VendorFileHeader header;
    header.labels = labels.labels;
    std::vector<std::uint8_t> bytes(VendorFileHeader::kSize);
    header.encode(bytes.data());
    return bytes;
}

std::string slotText(const std::uint8_t* rec, std::size_t k)
{
    return codec::fitText(codec::getText(rec, VendorRecord::textOffset(k), VendorRecord::kTextWidth),
                          VendorRecord::kTextWidth);
}

// Index of the first record whose company equals `name`; -1 none, -2 read error.
long long findCompany(CountedFile& file, const std::string& name)
{
    const std::string key = codec::fitText(name, VendorRecord::kTextWidth);
    long long found = -1;
    if (!file.scan(0, [&](long long i, const std::uint8_t* rec) {
            if (!slotEqualsNoCase(rec, VendorRecord::kTextWidth, key))
                return false;
            found = i;
            return true;
        }))
        return -2;
    return found;
}

// Visits every record in file order; false when the file could not be read.
template <typename Visit>
bool eachVendor(const CLocalFile& local, Visit visit)
{
    CountedFile file(kLayout);
    if (file.open(local.GetPath("Vendor"), OpenMode::Read) != FileCause::None)
        return false;
    return file.scan(0, [&](long long, const std::uint8_t* rec) {
        visit(rec);
        return false;
    });
}
}  // namespace

const CountedLayout& VendorFileLayout() { return kLayout; }

int ReadVendorHeader(const CLocalFile& local, VendorFileHeader& header)
{
    CountedFile file(kLayout);
    const int cause = file.openForReading(local.GetPath("Vendor"), newFile(header));
    if (cause != FileCause::None)
        return cause;
    header.decode(file.header());
    header.count = static_cast<std::uint32_t>(file.count());
    return FileCause::None;
}

int WriteVendorHeader(const CLocalFile& local, const VendorFileHeader& header)
{
    CountedFile file(kLayout);
    const int cause = file.open(local.GetPath("Vendor"), OpenMode::ReadWrite);
    if (cause != FileCause::None)
        return cause;
    std::uint8_t buf[VendorFileHeader::kSize];
    header.encode(buf);
    std::copy(buf + VendorFileHeader::kLabelsOffset, buf + VendorFileHeader::kSize,
              file.header() + VendorFileHeader::kLabelsOffset);
    const std::size_t labelBytes = VendorFileHeader::kSize - VendorFileHeader::kLabelsOffset;
    return file.writeHeaderPart(VendorFileHeader::kLabelsOffset, labelBytes) ? FileCause::None : FileCause::Generic;
}

bool FindVendor(const CLocalFile& local, const std::string& name, VendorRecord& record)
{
    CountedFile file(kLayout);
    if (file.open(local.GetPath("Vendor"), OpenMode::Read) == FileCause::None) {
        const long long i = findCompany(file, name);
        std::uint8_t buf[VendorRecord::kSize];
        if (i >= 0 && file.readRecord(i, buf)) {
            record.decode(buf);
            return true;
        }
    }
    record = VendorRecord();
    record.text[VendorRecord::kCompany] = codec::fitText(name, VendorRecord::kTextWidth);
    return false;
}

ChangeResult UpdateVendor(const CLocalFile& local, const VendorRecord& record)
{
    CountedFile file(kLayout);
    if (file.open(local.GetPath("Vendor"), OpenMode::ReadWrite) != FileCause::None)
        return ChangeResult::Failed;
    const long long i = findCompany(file, record.company());
    if (i == -2)
        return ChangeResult::Failed;
    if (i < 0)
        return ChangeResult::NotFound;
    std::uint8_t buf[VendorRecord::kSize];
    record.encode(buf);
    return file.replaceRecord(i, buf) ? ChangeResult::Done : ChangeResult::Failed;
}

ChangeResult DeleteVendor(const CLocalFile& local, VendorRecord& record)
{
    CountedFile file(kLayout);
    if (file.open(local.GetPath("Vendor"), OpenMode::ReadWrite) != FileCause::None)
        return ChangeResult::Failed;
    const long long i = findCompany(file, record.company());
    if (i == -2)
        return ChangeResult::Failed;
    if (i < 0)
        return ChangeResult::NotFound;
    std::uint8_t moved[VendorRecord::kSize];
    if (!file.removeAt(i, moved))
        return ChangeResult::Failed;
    record.decode(moved);
    return ChangeResult::Done;
}

int AppendVendor(const CLocalFile& local, const VendorRecord& record)
{
    CountedFile file(kLayout);
    const int cause = file.openOrCreate(local.GetPath("Vendor"), newFile(VendorFileHeader()));
    if (cause != FileCause::None)
        return cause;
    std::uint8_t buf[VendorRecord::kSize];
    record.encode(buf);
    return file.append(buf, 1) ? FileCause::None : FileCause::Generic;
}

int AppendVendors(const CLocalFile& local, const std::vector<VendorRecord>& records)
{
    if (records.empty())
        return FileCause::None;
    CountedFile file(kLayout);
    const int cause = file.openOrCreate(local.GetPath("Vendor"), newFile(VendorFileHeader()));
    if (cause != FileCause::None)
        return cause;
    std::vector<std::uint8_t> bytes(records.size() * VendorRecord::kSize);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].encode(bytes.data() + i * VendorRecord::kSize);
    return file.append(bytes.data(), records.size()) ? FileCause::None : FileCause::Generic;
}

std::vector<VendorRecord> ReadVendors(const CLocalFile& local)
{
    std::vector<VendorRecord> records;
    if (!eachVendor(local, [&](const std::uint8_t* rec) { records.emplace_back().decode(rec); }))
        records.clear();
    return records;
}

std::vector<std::string> FillVendorBox(const CLocalFile& local)
{
    std::vector<std::string> names;
    if (!eachVendor(local, [&](const std::uint8_t* rec) { names.push_back(slotText(rec, VendorRecord::kCompany)); }))
        names.clear();
    return names;
}
