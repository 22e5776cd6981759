#include "storage/files/RentalFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/io/DataFile.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/InvoiceRecord.h"

#include <algorithm>
#include <cmath>
#include <map>

using namespace codec;

namespace {
constexpr std::uint8_t kRentMode = 1;

void stageCount(Transaction& tx, DataFile& file, long long n)
{
    std::uint8_t head[RentalFile::kHeaderSize] = {};
    putI32(head, 0, static_cast<std::int32_t>(n));
    tx.write(file, 0, head, sizeof head);
}
}  // namespace

void RentalRecord::encode(std::uint8_t* buf) const
{
    std::fill(buf, buf + kSize, std::uint8_t{0});
    putF32(buf, 0, quantity);
    putI32(buf, 4, saleNumber);
    putU16(buf, 8, customerNumber);
    date.encode(buf, 12);
    putText(buf, 24, kItemWidth, itemNumber);
}

void RentalRecord::decode(const std::uint8_t* buf)
{
    quantity = getF32(buf, 0);
    saleNumber = getI32(buf, 4);
    customerNumber = getU16(buf, 8);
    date = OleDate::decode(buf, 12);
    itemNumber = getText(buf, 24, kItemWidth);
}

bool ReadRentals(DataFile& file, std::vector<RentalRecord>& records)
{
    records.clear();
    const long long size = file.size();
    if (size < 0)
        return false;
    if (size < RentalFile::kHeaderSize)
        return true;  // new: no records yet
    std::uint8_t head[RentalFile::kHeaderSize];
    if (file.readAt(0, head, sizeof head) != RentalFile::kHeaderSize)
        return false;
    const long long stored = getI32(head, 0);
    if (stored < 0)
        return false;
    const long long room = (size - RentalFile::kHeaderSize) / static_cast<long long>(RentalRecord::kSize);
    const long long n = std::min(stored, room);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n) * RentalRecord::kSize);
    if (n > 0 && file.readAt(RentalFile::kHeaderSize, bytes.data(), bytes.size()) != static_cast<long long>(bytes.size()))
        return false;
    records.resize(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].decode(bytes.data() + i * RentalRecord::kSize);
    return true;
}

int RecordSaleRentalsIn(Transaction& tx, const std::string& path, const InvoiceRecord& sale, const OleDate& when)
{
    // Per item number ignoring case, in hundredths: what the sale rents now,
    // what was lent for it before and what of that is still out.
    struct Item {
        std::string spelled;
        long long wanted = 0, lent = 0, out = 0;
        std::uint16_t customer = 0;
    };
    std::map<std::string, Item> items;
    std::vector<std::string> order;
    const auto itemOf = [&](const std::string& number) -> Item& {
        std::string key = number;
        for (char& c : key)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        const auto [it, added] = items.try_emplace(key);
        if (added) {
            order.push_back(key);
            it->second.spelled = number;
        }
        return it->second;
    };
    const auto hundredths = [](float q) { return std::llround(static_cast<double>(q) * 100.0); };
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i)
        if (sale.lineMode[i] == kRentMode && !sale.itemNumber[i].empty())
            itemOf(sale.itemNumber[i]).wanted += hundredths(sale.qty[i]);

    DataFile& file = tx.file(path);
    std::vector<RentalRecord> present;
    if (!ReadRentals(file, present))
        return -1;
    for (const RentalRecord& r : present) {
        if (r.saleNumber != sale.recordNumber)
            continue;
        Item& item = itemOf(r.itemNumber);
        if (r.quantity > 0) {
            if (item.lent == 0)
                item.customer = r.customerNumber;
            item.lent += hundredths(r.quantity);
        }
        item.out += hundredths(r.quantity);
    }
    long long n = static_cast<long long>(present.size());
    int staged = 0;
    for (const std::string& key : order) {
        const Item& item = items[key];
        RentalRecord r;
        r.saleNumber = sale.recordNumber;
        r.date = when;
        r.itemNumber = item.spelled;
        if (item.wanted > item.lent) {
            // Rented more: lent out under the sale's customer.
            r.quantity = static_cast<float>(static_cast<double>(item.wanted - item.lent) / 100.0);
            r.customerNumber = sale.customerNumber;
        } else {
            // Rented less: the difference comes back, no more than is still out,
            // under the customer it was lent to.
            const long long back = std::min(item.lent - item.wanted, item.out);
            if (back <= 0)
                continue;
            r.quantity = -static_cast<float>(static_cast<double>(back) / 100.0);
            r.customerNumber = item.customer;
        }
        std::uint8_t buf[RentalRecord::kSize];
        r.encode(buf);
        tx.writeUnseen(file, RentalFile::recordOffset(n++), buf, sizeof buf);
        ++staged;
    }
    if (staged == 0)
        return 0;
    stageCount(tx, file, n);
    return staged;
}

int ReadRentalFile(const std::string& path, std::vector<RentalRecord>& records)
{
    records.clear();
    DataFile file;
    const int cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
    if (cause != FileCause::None)
        return cause;
    return ReadRentals(file, records) ? FileCause::None : FileCause::Generic;
}

void StageRentalAppend(Transaction& tx, DataFile& file, const std::vector<RentalRecord>& present,
                       const RentalRecord& record)
{
    const long long n = static_cast<long long>(present.size());
    std::uint8_t buf[RentalRecord::kSize];
    record.encode(buf);
    tx.writeUnseen(file, RentalFile::recordOffset(n), buf, sizeof buf);
    stageCount(tx, file, n + 1);
}

void StageRentalRemoval(Transaction& tx, DataFile& file, const std::vector<RentalRecord>& present,
                        std::size_t index)
{
    const std::size_t last = present.size() - 1;
    if (index != last) {
        std::uint8_t buf[RentalRecord::kSize];
        present[last].encode(buf);
        tx.write(file, RentalFile::recordOffset(static_cast<long long>(index)), buf, sizeof buf);
    }
    stageCount(tx, file, static_cast<long long>(last));
}
