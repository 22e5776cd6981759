#pragma once
// Builders for product files in tests: records written straight into the
// file's bytes, and the file read back record by record.

#include "TempDir.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/ProductRecord.h"

#include <algorithm>
#include <optional>
#include <string>
#include <strings.h>
#include <vector>

inline ProductRecord makeProduct(const std::string& item, float stock = 0, const std::string& barCode = {})
{
    ProductRecord r;
    r.itemNumber = item;
    r.barCode = barCode;
    r.stock = stock;
    r.description = "desc " + item;
    return r;
}

// The file bytes: the count (the number of records unless given) and the records.
inline std::vector<std::uint8_t> productFileBytes(const std::vector<ProductRecord>& records,
                                                  std::optional<std::int32_t> count = std::nullopt)
{
    std::vector<std::uint8_t> bytes(4 + ProductRecord::kSize * records.size());
    codec::putI32(bytes.data(), 0, count ? *count : static_cast<std::int32_t>(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].encode(bytes.data() + 4 + ProductRecord::kSize * i);
    return bytes;
}

inline void writeProductFile(const std::string& path, const std::vector<ProductRecord>& records,
                             std::optional<std::int32_t> count = std::nullopt)
{
    writeBytes(path, productFileBytes(records, count));
}

inline std::int32_t storedCount(const std::string& path)
{
    const auto bytes = readBytes(path);
    return bytes.size() >= 4 ? codec::getI32(bytes.data(), 0) : -1;
}

// Records 0 .. n-1 as stored, n the stored count limited to the whole records present.
inline std::vector<ProductRecord> readProducts(const std::string& path)
{
    const auto bytes = readBytes(path);
    std::vector<ProductRecord> out;
    if (bytes.size() < 4)
        return out;
    const long long whole = static_cast<long long>((bytes.size() - 4) / ProductRecord::kSize);
    const long long n = std::clamp<long long>(codec::getI32(bytes.data(), 0), 0, whole);
    for (long long i = 0; i < n; ++i) {
        ProductRecord r;
        r.decode(bytes.data() + 4 + ProductRecord::kSize * static_cast<std::size_t>(i));
        out.push_back(r);
    }
    return out;
}

inline std::vector<std::string> storedItems(const std::string& path)
{
    std::vector<std::string> out;
    for (const auto& r : readProducts(path))
        out.push_back(r.itemNumber);
    return out;
}

// The index of the first record whose item number (or, with barCodes, bar
// code) is the code ignoring case, as reading record by record finds it; -1
// for none.
inline long long firstMatching(const std::vector<ProductRecord>& records, const std::string& code, bool barCodes)
{
    for (std::size_t i = 0; i < records.size(); ++i)
        if (strcasecmp(records[i].itemNumber.c_str(), code.c_str()) == 0 ||
            (barCodes && strcasecmp(records[i].barCode.c_str(), code.c_str()) == 0))
            return static_cast<long long>(i);
    return -1;
}
