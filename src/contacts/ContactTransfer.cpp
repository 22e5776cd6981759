#include "contacts/ContactTransfer.h"

#include "storage/records/Cp1252.h"

#include "storage/files/CustomerFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/VendorFile.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {
std::string cut(const std::string& text, std::size_t width)
{
    return text.substr(0, width - 1);
}

// A whole number read as the import reads it: leading digits, else 0.
long readNumber(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

template <class Record> void textsFrom(const std::vector<std::string>& fields, Record& record)
{
    const std::size_t n = std::min(fields.size(), Record::kTextCount);
    for (std::size_t k = 0; k < n; ++k)
        record.text[k] = cut(fields[k], Record::kTextWidth);
}
}  // namespace

bool ReadTabLines(const std::string& path, std::vector<std::vector<std::string>>& lines)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return false;
    // UTF-8 text (with or without a byte-order mark) becomes record text.
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes = Cp1252::FromUtf8(bytes.substr(3));
    else if (Cp1252::LooksLikeUtf8(bytes))
        bytes = Cp1252::FromUtf8(bytes);
    lines.clear();
    std::vector<std::string> line(1);
    auto endLine = [&] {
        if (std::any_of(line.begin(), line.end(), [](const std::string& f) { return !f.empty(); }))
            lines.push_back(line);
        line.assign(1, {});
    };
    for (char c : bytes) {
        if (c == '\r')
            continue;
        if (c == '\n')
            endLine();
        else if (c == '\t')
            line.emplace_back();
        else
            line.back() += c;
    }
    endLine();
    return true;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return !out.fail();
}

std::string CustomerAddressLine(const CustomerRecord& record)
{
    std::string line;
    for (std::size_t k = CustomerRecord::kName; k <= CustomerRecord::kZip; ++k)
        line += record.text[k] + (k == CustomerRecord::kZip ? "\r\n" : "\t");
    return line;
}

std::string CustomerInfoLine(const CustomerRecord& record)
{
    std::string line;
    for (const std::string& field : record.text)
        line += field + '\t';
    return line + strprintf("%u", unsigned{record.priceLevel}) + '\t' + record.taxZone + '\t' +
           strprintf("%u", unsigned{record.termsIndex}) + "\r\n";
}

CustomerRecord CustomerFromFields(const std::vector<std::string>& fields, const std::set<std::uint8_t>& termsIds)
{
    CustomerRecord record;
    if (fields.size() <= kAddressShapeFields) {
        // The shapes the import's explanation gives: Name, address, address,
        // Phone#, Email.
        static constexpr std::size_t slots[kAddressShapeFields] = {
            CustomerRecord::kName, CustomerRecord::kAddress, CustomerRecord::kCity, CustomerRecord::kPhone,
            CustomerRecord::kEmail};
        for (std::size_t k = 0; k < fields.size(); ++k)
            record.text[slots[k]] = cut(fields[k], CustomerRecord::kTextWidth);
        return record;
    }
    textsFrom(fields, record);
    const std::size_t n = CustomerRecord::kTextCount;
    if (fields.size() > n)
        record.priceLevel = static_cast<std::uint8_t>(std::clamp(readNumber(fields[n]), 0L, 5L));
    if (fields.size() > n + 1)
        record.taxZone = cut(fields[n + 1], CustomerRecord::kTaxZoneWidth);
    if (fields.size() > n + 2) {
        const long id = readNumber(fields[n + 2]);
        if (id >= 0 && id <= 255 && termsIds.count(static_cast<std::uint8_t>(id)))
            record.termsIndex = static_cast<std::uint8_t>(id);
    }
    return record;
}

TransferResult ExportCustomers(const CLocalFile& local, const std::string& path, bool information,
                               const std::set<std::uint16_t>* only, std::size_t& written)
{
    written = 0;
    std::string text;
    for (const CustomerRecord& record : ReadCustomers(local)) {
        if (only && !only->count(record.customerNumber))
            continue;
        text += information ? CustomerInfoLine(record) : CustomerAddressLine(record);
        ++written;
    }
    if (!WriteTextFile(path, text)) {
        written = 0;
        return TransferResult::Unwritable;
    }
    return TransferResult::Done;
}

TransferResult ImportCustomers(const CLocalFile& local, const std::string& path, std::size_t& added)
{
    added = 0;
    std::vector<std::vector<std::string>> lines;
    if (!ReadTabLines(path, lines))
        return TransferResult::Unreadable;
    std::set<std::uint8_t> termsIds;
    for (const TermsRecord& terms : ListTerms(local))
        termsIds.insert(terms.id);
    std::vector<CustomerRecord> records;
    for (const auto& fields : lines) {
        CustomerRecord record = CustomerFromFields(fields, termsIds);
        if (!record.name().empty())  // a customer without a name cannot be found or saved
            records.push_back(record);
    }
    if (records.empty())
        return TransferResult::Done;
    if (AppendCustomers(local, records) != CustomerSave::Appended) {
        // Tell a full number range apart from a file that could not be changed.
        CustomerFileHeader header;
        const bool full = ReadCustomerHeader(local, header) == FileCause::None &&
                          (header.nextNumber == 0 || header.nextNumber + records.size() - 1 > 0xFFFF);
        return full ? TransferResult::NoRoom : TransferResult::NotStored;
    }
    added = records.size();
    return TransferResult::Done;
}

std::string VendorLine(const VendorRecord& record)
{
    std::string line;
    for (std::size_t k = 0; k < VendorRecord::kTextCount; ++k)
        line += record.text[k] + (k + 1 == VendorRecord::kTextCount ? "\r\n" : "\t");
    return line;
}

VendorRecord VendorFromFields(const std::vector<std::string>& fields)
{
    VendorRecord record;
    textsFrom(fields, record);
    return record;
}

TransferResult ExportVendors(const CLocalFile& local, const std::string& path, std::size_t& written)
{
    std::string text;
    const std::vector<VendorRecord> records = ReadVendors(local);
    for (const VendorRecord& record : records)
        text += VendorLine(record);
    written = 0;
    if (!WriteTextFile(path, text))
        return TransferResult::Unwritable;
    written = records.size();
    return TransferResult::Done;
}

TransferResult ImportVendors(const CLocalFile& local, const std::string& path, std::size_t& added)
{
    added = 0;
    std::vector<std::vector<std::string>> lines;
    if (!ReadTabLines(path, lines))
        return TransferResult::Unreadable;
    std::vector<VendorRecord> records;
    for (const auto& fields : lines) {
        VendorRecord record = VendorFromFields(fields);
        if (!record.company().empty())  // the company is the vendor's key
            records.push_back(record);
    }
    if (AppendVendors(local, records) != FileCause::None)
        return TransferResult::NotStored;
    added = records.size();
    return TransferResult::Done;
}

ContactSave SaveShownCustomer(const CLocalFile& local, CustomerRecord& record)
{
    if (record.name().empty())
        return ContactSave::NoName;
    if (record.customerNumber != 0) {
        const ChangeResult updated = UpdateCustomerByNumber(local, record);
        if (updated == ChangeResult::Done)
            return ContactSave::Saved;
        if (updated == ChangeResult::Failed)
            return ContactSave::Failed;
        record.customerNumber = 0;  // deleted meanwhile: saved as a new customer
    }
    return SaveCustomerByName(local, record) == CustomerSave::NotSaved ? ContactSave::Failed : ContactSave::Saved;
}

ContactSave SaveVendor(const CLocalFile& local, const VendorRecord& record)
{
    if (record.company().empty())
        return ContactSave::NoName;
    ChangeResult updated = UpdateVendor(local, record);
    if (updated == ChangeResult::Failed) {
        // A vendor file that does not exist yet is created first.
        VendorFileHeader header;
        if (ReadVendorHeader(local, header) != FileCause::None)
            return ContactSave::Failed;
        updated = UpdateVendor(local, record);
    }
    if (updated != ChangeResult::NotFound)
        return updated == ChangeResult::Done ? ContactSave::Saved : ContactSave::Failed;
    return AppendVendor(local, record) == FileCause::None ? ContactSave::Saved : ContactSave::Failed;
}
