#include "storage/files/PurchaseOrderFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/ProductFile.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace PurchaseOrderFile {
namespace {
std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string FileName(const std::string& number) { return "PO-" + number + ".PON"; }

std::string ForbiddenCharacter(const std::string& number)
{
    for (const char c : number) {
        if (static_cast<unsigned char>(c) < 32)
            return "a control character";
        if (std::strchr("/\\:*?\"<>|", c))
            return std::string(1, c);
    }
    return {};
}

bool ReadBytes(DataFile& file, std::vector<std::uint8_t>& bytes)
{
    bytes.assign(PurchaseOrderRecord::kSize, 0);
    const long long got = file.readAt(0, bytes.data(), bytes.size());
    if (got < 0)
        return false;
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

int Read(const std::string& path, const std::string& setMember, PurchaseOrderRecord& order,
         std::vector<std::uint8_t>* bytes)
{
    DataFile file;
    const int cause = folderOf(path) == folderOf(setMember)
                          ? Journal::openJoined(file, path, setMember, OpenMode::Read)
                          : CLocalFile::OpenFile(file, path, OpenMode::Read);
    if (cause != FileCause::None)
        return cause;
    std::vector<std::uint8_t> read;
    if (!ReadBytes(file, read))
        return FileCause::Generic;
    if (bytes)
        *bytes = read;
    return order.decode(read.data(), read.size()) ? FileCause::None : kIncompatible;
}

void Stage(Transaction& tx, DataFile& file, const PurchaseOrderRecord& order)
{
    std::vector<std::uint8_t> buf(PurchaseOrderRecord::kSize);
    order.encode(buf.data());
    tx.write(file, 0, buf.data(), buf.size());
}

int FindByVendorNumber(DataFile& products, const std::vector<std::string>& keys, std::vector<long long>& index,
                       std::vector<float>& stock)
{
    index.assign(keys.size(), -1);
    stock.assign(keys.size(), 0.0f);
    std::uint8_t head[ProductFile::kCountSize];
    const long long size = products.size();
    if (size < 0 || products.readAt(0, head, sizeof head) != static_cast<long long>(sizeof head))
        return size == 0 ? FileCause::None : FileCause::Generic;
    const long long stored = codec::getI32(head, 0);
    if (stored < 0)
        return FileCause::Generic;
    const long long count = std::min(stored, (size - ProductFile::kCountSize) / static_cast<long long>(ProductRecord::kSize));

    std::unordered_map<std::string, std::vector<std::size_t>> wanted;
    for (std::size_t k = 0; k < keys.size(); ++k)
        if (!keys[k].empty())
            wanted[keys[k]].push_back(k);
    std::size_t missing = wanted.size();
    std::vector<std::uint8_t> block(ProductFile::kScanBlockRecords * ProductRecord::kSize);
    std::string key;
    for (long long first = 0; first < count && missing > 0;) {
        const long long take = std::min<long long>(ProductFile::kScanBlockRecords, count - first);
        const std::size_t n = static_cast<std::size_t>(take) * ProductRecord::kSize;
        if (!readFully(products, ProductFile::recordOffset(first), block.data(), n))
            return FileCause::Generic;
        for (long long r = 0; r < take && missing > 0; ++r) {
            const std::uint8_t* rec = block.data() + static_cast<std::size_t>(r) * ProductRecord::kSize;
            const auto* text = reinterpret_cast<const char*>(rec + ProductRecord::kVendorNumberOffset);
            const std::size_t length = strnlen(text, ProductRecord::kCodeWidth - 1);
            if (length == 0)
                continue;
            key.assign(text, length);
            std::transform(key.begin(), key.end(), key.begin(), lowerAscii);
            const auto it = wanted.find(key);
            if (it == wanted.end() || index[it->second.front()] >= 0)
                continue;
            for (const std::size_t k : it->second) {
                index[k] = first + r;
                stock[k] = codec::getF32(rec, ProductRecord::kStockOffset);
            }
            --missing;
        }
        first += take;
    }
    return FileCause::None;
}

void StageStock(Transaction& tx, DataFile& products, long long index, float stock)
{
    std::uint8_t buf[4];
    codec::putF32(buf, 0, stock);
    tx.write(products, ProductFile::recordOffset(index) + static_cast<long long>(ProductRecord::kStockOffset), buf, sizeof buf);
}
}  // namespace PurchaseOrderFile
