#include "storage/files/ProductFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/ProductCode.h"
#include "storage/files/ProductHint.h"
#include "storage/io/UserPrompt.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <cstring>
#include <vector>

namespace {
using ProductFile::kCountSize;
using ProductFile::recordOffset;
constexpr std::size_t kRecordSize = ProductRecord::kSize;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string text)
{
    for (char& c : text)
        c = lowerAscii(c);
    return text;
}

// Length of the text a slot decodes to: up to its NUL, at most width - 1.
std::size_t slotLength(const std::uint8_t* rec, std::size_t offset, std::size_t width)
{
    const void* nul = std::memchr(rec + offset, 0, width);
    const std::size_t n = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - (rec + offset)) : width;
    return n < width ? n : width - 1;
}

// True when the slot's text, lower-cased, equals `key` (already lower-cased).
bool slotEquals(const std::uint8_t* rec, std::size_t offset, std::size_t width, const std::string& key)
{
    if (slotLength(rec, offset, width) != key.size())
        return false;
    const auto* text = reinterpret_cast<const char*>(rec + offset);
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (lowerAscii(text[i]) != key[i])
            return false;
    }
    return true;
}

constexpr std::size_t kFilterWords = 16;

bool itemEquals(const std::uint8_t* rec, const std::string& key)
{
    return slotEquals(rec, ProductRecord::kItemNumberOffset, ProductRecord::kCodeWidth, key);
}

// Records actually present: the stored count, but never past the whole records
// in the file; every whole record for a negative count (`damaged` then set).
// `stored` gets the count as stored (0 for a file too short to hold one).
bool recordsPresent(DataFile& file, long long& count, bool* damaged = nullptr, long long* stored = nullptr)
{
    count = 0;
    if (damaged)
        *damaged = false;
    if (stored)
        *stored = 0;
    const long long size = file.size();
    if (size < 0)
        return false;
    std::uint8_t buf[kCountSize] = {};
    const long long got = file.readAt(0, buf, sizeof buf);
    if (got < 0)
        return false;
    if (got < kCountSize)
        return true;
    const long long value = codec::getI32(buf, 0);
    const long long whole = (size - kCountSize) / static_cast<long long>(kRecordSize);
    bool bad = false;
    count = RecordsUnderCount(value, whole, 0, bad);
    if (damaged)
        *damaged = bad;
    if (stored)
        *stored = value;
    return true;
}

void writeCount(Transaction& tx, DataFile& file, long long count)
{
    std::uint8_t buf[kCountSize];
    codec::putI32(buf, 0, static_cast<std::int32_t>(count));
    tx.write(file, 0, buf, sizeof buf);
}

// Opens the product file for a change of its own and reads the records
// present. Returns the open cause; Generic when the count cannot be read, or
// is damaged (the user is told, nothing is written).
// Stages one record after the `count` counted ones and the new count. Past the
// count nobody sees the record until the count takes it in.
void stageAppend(Transaction& tx, DataFile& file, long long count, long long stored, const ProductRecord& record)
{
    std::uint8_t buf[kRecordSize];
    record.encode(buf);
    if (stored <= count)
        tx.writeUnseen(file, recordOffset(count), buf, sizeof buf);
    else
        tx.write(file, recordOffset(count), buf, sizeof buf);
    writeCount(tx, file, count + 1);
}

int openForChange(const CLocalFile& local, Transaction& tx, long long& count, long long* stored = nullptr)
{
    const std::string path = local.GetPath("Products");
    tx.add(path);
    if (const int cause = tx.begin(); cause != FileCause::None)
        return cause;
    bool damaged = false;
    if (!recordsPresent(tx.file(path), count, &damaged, stored))
        return FileCause::Generic;
    if (damaged) {
        ReportDamagedCount(path);
        return FileCause::Generic;
    }
    return FileCause::None;
}

// Calls visit(record bytes, index) for records 0 .. count-1 in order, reading
// whole blocks, until visit returns false. False on a read error.
template <typename Visit>
bool scanRecords(DataFile& file, long long count, Visit&& visit)
{
    std::vector<std::uint8_t> block(ProductFile::kScanBlockRecords * kRecordSize);
    for (long long first = 0; first < count;) {
        long long want = count - first;
        if (want > static_cast<long long>(ProductFile::kScanBlockRecords))
            want = static_cast<long long>(ProductFile::kScanBlockRecords);
        const long long got = file.readAt(recordOffset(first), block.data(), static_cast<std::size_t>(want) * kRecordSize);
        if (got < 0)
            return false;
        const long long records = got / static_cast<long long>(kRecordSize);
        for (long long i = 0; i < records; ++i) {
            if (!visit(block.data() + i * static_cast<long long>(kRecordSize), first + i))
                return true;
        }
        if (records < want)
            return true;  // the file ended early
        first += records;
    }
    return true;
}

// Opens the product file for reading and gives the records present; the open
// cause, or Generic when the count cannot be read.
int openForReading(const CLocalFile& local, DataFile& file, long long& count)
{
    const int cause = CLocalFile::OpenFile(file, local.GetPath("Products"), OpenMode::Read);
    if (cause != FileCause::None)
        return cause;
    return recordsPresent(file, count) ? FileCause::None : FileCause::Generic;
}

// Opens for reading and finds the first record whose item number equals the
// key; index -1 when none. Returns the open cause (Generic on a read error).
int findByItem(const CLocalFile& local, const std::string& itemNumber, long long& index, ProductRecord* record)
{
    index = -1;
    DataFile file;
    long long count = 0;
    if (const int cause = openForReading(local, file, count); cause != FileCause::None)
        return cause;
    const std::string key = lowered(itemNumber);
    std::uint8_t rec[kRecordSize];
    if (!ProductHint::Find(file, count, key, ProductHint::Match::Item, index, rec))
        return FileCause::Generic;
    if (index >= 0 && record)
        record->decode(rec);
    return FileCause::None;
}

template <typename Keep, typename MakeRow>
int listRows(const CLocalFile& local, std::vector<ProductListRow>& rows, Keep&& keep, MakeRow&& makeRow)
{
    rows.clear();
    DataFile file;
    long long count = 0;
    if (const int cause = openForReading(local, file, count); cause != FileCause::None)
        return cause;
    ProductRecord record;
    const bool ok = scanRecords(file, count, [&](const std::uint8_t* rec, long long) {
        record.decode(rec);
        if (keep(record))
            rows.push_back(makeRow(record));
        return true;
    });
    return ok ? FileCause::None : FileCause::Generic;
}

bool contains(const std::string& field, const std::string& criterion)
{
    return criterion.empty() || lowered(field).find(criterion) != std::string::npos;
}
}  // namespace

const char* ProductColumnCaption(int column)
{
    static const char* const captions[ProductColumn::kCount] = {
        "Item#",  "Description", "Cost",     "Price", "Price2", "Price3",   "Price4",   "Price5", "Price6",
        "Stock",  "%-",          "Vendor",   "Vendor#", "Category", "Dept", "Case",     "Tax",    "Bar Code",
        "Touch",  "Commission",  "Mode",
    };
    return column >= 0 && column < ProductColumn::kCount ? captions[column] : "";
}

int EnsureProductFile(const CLocalFile& local)
{
    const std::string path = local.GetPath("Products");
    int cause;
    {
        DataFile file;
        cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
    }
    if (cause != FileCause::NotFound)
        return cause;
    // Another register may create it at the same moment; its file then stands.
    const std::uint8_t zero[kCountSize] = {};
    cause = DataFile::createWhole(path, zero, sizeof zero);
    return cause == FileCause::AlreadyExists ? FileCause::None : cause;
}

int ReadProductCount(const CLocalFile& local, long long& count)
{
    count = 0;
    DataFile file;
    return openForReading(local, file, count);
}

ProductListRow ProductRow(const ProductRecord& r)
{
    using namespace ProductColumn;
    ProductListRow row;
    row.cells.resize(kCount);
    auto& c = row.cells;
    c[kItem] = r.itemNumber;
    c[kDescription] = r.description;
    c[kCost] = strprintf("%.2f", r.cost);
    for (std::size_t i = 0; i < ProductRecord::kPriceLevels; ++i)
        c[kPrice + i] = strprintf("%.2f", r.price[i]);
    c[kStock] = strprintf("%.1f", r.stock);
    c[kSalePercent] = strprintf("%.1f", r.salePercent);
    c[kVendor] = r.vendor;
    c[kVendorNumber] = r.vendorNumber;
    c[kCategory] = r.category;
    c[kDepartment] = r.department;
    c[kCase] = strprintf("%.2f", r.caseQty);
    c[kTax] = strprintf("%u", static_cast<unsigned>(r.taxStatus));
    c[kTouch] = r.showOnTouch ? "Yes" : "No";
    c[kCommission] = strprintf("%.1f", r.commissionPercent);
    c[kMode] = ProductModeName(r.mode);
    return row;
}

int ListProducts(const CLocalFile& local, std::vector<ProductListRow>& rows)
{
    return listRows(local, rows, [](const ProductRecord&) { return true; }, ProductRow);
}

int ListMatchingProducts(const CLocalFile& local, const ProductSearch& search, std::vector<ProductListRow>& rows)
{
    return listRows(
        local, rows, [&](const ProductRecord& r) { return MatchesSearch(r, search); },
        [](const ProductRecord& r) {
            ProductListRow row = ProductRow(r);
            row.cells.resize(ProductColumn::kTouch + 1);
            return row;
        });
}

bool MatchesSearch(const ProductRecord& r, const ProductSearch& s)
{
    if (s.lowQuantity && !(r.stock < s.lowQuantityThreshold))
        return false;
    return contains(r.description, s.description) && contains(r.itemNumber, s.itemNumber) &&
           contains(r.vendor, s.vendor) && contains(r.vendorNumber, s.vendorNumber) &&
           contains(r.category, s.category) && contains(r.department, s.department);
}

bool ProductExists(const CLocalFile& local, const std::string& itemNumber)
{
    long long index = -1;
    const int cause = findByItem(local, itemNumber, index, nullptr);
    if (cause != FileCause::None) {
        userPrompt().showMessage("Unable to open file.");
        return false;
    }
    return index >= 0;
}

bool FindProductByItem(const CLocalFile& local, const std::string& itemNumber, ProductRecord& record)
{
    long long index = -1;
    ProductRecord found;
    findByItem(local, itemNumber, index, &found);
    if (index < 0)
        return false;
    record = found;
    return true;
}

ProductRecord EmptyProductResult() { return ProductRecord{}; }

bool LookupForSale(const CLocalFile& local, const std::string& code, ProductRecord& record, const QuickAdd& quickAdd)
{
    record = EmptyProductResult();
    const std::string key = lowered(code);
    if (key.empty())
        return false;
    {
        DataFile file;
        if (CLocalFile::OpenFile(file, local.GetPath("Products"), OpenMode::Read) != FileCause::None)
            return false;
        long long count = 0;
        if (!recordsPresent(file, count))
            return false;
        long long index = -1;
        std::uint8_t rec[kRecordSize];
        // A file that could not be read to its end must not lead to a duplicate.
        if (!ProductHint::Find(file, count, key, ProductHint::Match::ItemOrBarCode, index, rec))
            return false;
        if (index >= 0) {
            record.decode(rec);
            return true;
        }
    }
    if (!quickAdd)
        return false;
    ProductRecord built;
    if (!quickAdd(code, built))
        return false;
    // Stored as the file will hold it, so the caller sees what a later lookup finds.
    std::uint8_t buf[kRecordSize];
    built.encode(buf);
    record.decode(buf);
    switch (const int cause = AppendNewProduct(local, record)) {
    case FileCause::None:
        return true;
    case FileCause::AlreadyExists:  // another register added the code meanwhile
        return FindProductByItem(local, record.itemNumber, record);
    default:
        userPrompt().showMessage(strprintf("The new product %s could not be saved (cause %d); it was not added to "
                                           "the sale.",
                                           record.itemNumber.c_str(), cause));
        record = EmptyProductResult();
        return false;
    }
}

int ReadProductAt(const CLocalFile& local, long long index, ProductRecord& record)
{
    DataFile file;
    long long count = 0;
    if (const int cause = openForReading(local, file, count); cause != FileCause::None)
        return cause;
    if (index < 0 || index >= count)
        return FileCause::EndOfFile;
    std::uint8_t buf[kRecordSize];
    if (!readFully(file, recordOffset(index), buf, sizeof buf))
        return FileCause::Generic;
    record.decode(buf);
    return FileCause::None;
}

int AppendProduct(const CLocalFile& local, const ProductRecord& record, long long* index)
{
    Transaction tx;
    long long count = 0;
    long long stored = 0;
    if (const int cause = openForChange(local, tx, count, &stored); cause != FileCause::None)
        return cause;
    DataFile& file = tx.file(local.GetPath("Products"));
    stageAppend(tx, file, count, stored, record);
    if (const int cause = CommitKeepingProductCodes(tx, file, 1); cause != FileCause::None)
        return cause;
    if (index)
        *index = count;
    return FileCause::None;
}

int AppendNewProduct(const CLocalFile& local, const ProductRecord& record)
{
    Transaction tx;
    long long count = 0;
    long long stored = 0;
    if (const int cause = openForChange(local, tx, count, &stored); cause != FileCause::None)
        return cause;
    DataFile& file = tx.file(local.GetPath("Products"));
    const std::string key = lowered(codec::fitText(record.itemNumber, ProductRecord::kCodeWidth));
    bool taken = false;
    if (!scanRecords(file, count, [&](const std::uint8_t* rec, long long) { return !(taken = itemEquals(rec, key)); }))
        return FileCause::Generic;
    if (taken)
        return FileCause::AlreadyExists;
    stageAppend(tx, file, count, stored, record);
    return CommitKeepingProductCodes(tx, file, 1);
}

namespace {
// A product a sale's lines change: its code, the first line naming it, and
// the record found for it.
struct StockTarget {
    ProductCode code;
    std::size_t line = 0;
    long long index = -1;
    std::array<std::uint8_t, 4> stored{};  // the stock field's bytes as read
    std::uint64_t hash = 0;
};

void noteFound(StockTarget& t, long long index, const std::uint8_t* rec)
{
    t.index = index;
    std::copy_n(rec + ProductRecord::kStockOffset, t.stored.size(), t.stored.begin());
}

// One pass up to the last target found: each target's first record and its stock.
bool scanForTargets(DataFile& file, long long count, std::vector<StockTarget>& targets, std::size_t& missing)
{
    // A bit filter over the codes' hashes lets most records pass with one test.
    std::array<std::uint64_t, kFilterWords> filter{};
    for (auto& t : targets) {
        t.hash = t.code.hash();
        filter[(t.hash >> 6) % kFilterWords] |= std::uint64_t{1} << (t.hash & 63);
    }
    return scanRecords(file, count, [&](const std::uint8_t* rec, long long index) {
        const ProductCode item = ProductCode::OfSlot(rec, ProductRecord::kItemNumberOffset);
        const std::uint64_t hash = item.hash();
        if (!(filter[(hash >> 6) % kFilterWords] >> (hash & 63) & 1))
            return true;
        for (auto& t : targets) {
            if (t.index < 0 && t.hash == hash && t.code == item) {
                noteFound(t, index, rec);
                --missing;
                break;  // one record carries one item number
            }
        }
        return missing > 0;
    });
}
}  // namespace

int StageStockChanges(Transaction& tx, DataFile& file, std::span<const StockLine> lines, const StockMove& move)
{
    long long count = 0;
    bool damaged = false;
    if (!recordsPresent(file, count, &damaged))
        return FileCause::Generic;
    if (damaged) {
        ReportDamagedCount(file.path());
        return FileCause::Generic;
    }

    // The distinct item numbers of the lines, each found at most once: the
    // first record that carries it.
    std::vector<StockTarget> targets;
    std::vector<int> lineTarget(lines.size(), -1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ProductCode code = ProductCode::OfText(lines[i].itemNumber);
        if (code.empty())
            continue;
        std::size_t t = 0;
        while (t < targets.size() && !(targets[t].code == code))
            ++t;
        if (t == targets.size())
            targets.push_back(StockTarget{code, i});
        lineTarget[i] = static_cast<int>(t);
    }
    if (targets.empty())
        return FileCause::None;

    // This register's map of the codes answers when it is of the file as it
    // stands (ProductHint.h); any code it cannot vouch for takes the scan.
    const bool mapped = ProductHint::MappedEach(
        file, count, ProductHint::Match::Item, targets.size(),
        [&](std::size_t t) { return lowered(codec::fitText(lines[targets[t].line].itemNumber, ProductRecord::kCodeWidth)); },
        [&](std::size_t t, long long index, const std::uint8_t* rec) { noteFound(targets[t], index, rec); });
    if (!mapped) {
        for (auto& t : targets)
            t.index = -1;
        std::size_t missing = targets.size();
        if (!scanForTargets(file, count, targets, missing))
            return FileCause::Generic;
    }

    // Lines in order, as if each had been applied to the record on its own.
    std::vector<float> stock(targets.size());
    for (std::size_t t = 0; t < targets.size(); ++t)
        stock[t] = codec::getF32(targets[t].stored.data(), 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lineTarget[i] < 0)
            continue;
        const auto t = static_cast<std::size_t>(lineTarget[i]);
        if (targets[t].index >= 0)
            stock[t] = move(stock[t], lines[i].qty);
    }
    for (std::size_t t = 0; t < targets.size(); ++t) {
        if (targets[t].index < 0)
            continue;
        std::uint8_t buf[4];
        codec::putF32(buf, 0, stock[t]);
        tx.write(file, recordOffset(targets[t].index) + static_cast<long long>(ProductRecord::kStockOffset), buf,
                 sizeof buf, targets[t].stored.data());
    }
    return FileCause::None;
}

int LookupManyForSale(const CLocalFile& local, const std::vector<std::string>& codes,
                      std::vector<std::optional<ProductRecord>>& found)
{
    found.assign(codes.size(), std::nullopt);
    std::vector<std::string> keys;
    std::size_t missing = 0;
    for (const std::string& code : codes) {
        keys.push_back(lowered(code));
        if (!keys.back().empty())
            ++missing;
    }
    if (missing == 0)
        return FileCause::None;
    DataFile file;
    long long count = 0;
    if (const int cause = openForReading(local, file, count); cause != FileCause::None)
        return cause;
    // Each code takes the first record whose item number or bar code matches,
    // as one lookup per code would.
    const bool ok = scanRecords(file, count, [&](const std::uint8_t* rec, long long) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (found[i] || keys[i].empty())
                continue;
            if (itemEquals(rec, keys[i]) ||
                slotEquals(rec, ProductRecord::kBarCodeOffset, ProductRecord::kCodeWidth, keys[i])) {
                found[i].emplace().decode(rec);
                --missing;
            }
        }
        return missing > 0;
    });
    return ok ? FileCause::None : FileCause::Generic;
}

namespace {
// Opens for a change and finds the first record with the item number ignoring
// case; `index` -1 when none. False when the file could not be opened or read.
bool findForChange(const CLocalFile& local, Transaction& tx, const std::string& itemNumber, long long& count,
                   long long& index, std::uint8_t* buf)
{
    index = -1;
    if (openForChange(local, tx, count) != FileCause::None)
        return false;
    const std::string key = lowered(itemNumber);
    return scanRecords(tx.file(local.GetPath("Products")), count, [&](const std::uint8_t* rec, long long i) {
        if (!itemEquals(rec, key))
            return true;
        index = i;
        std::memcpy(buf, rec, kRecordSize);
        return false;
    });
}

// The same, as what a change by key found: Done with the record in `buf`.
ChangeResult findOneForChange(const CLocalFile& local, Transaction& tx, const std::string& itemNumber,
                              long long& count, long long& index, std::uint8_t* buf)
{
    if (!findForChange(local, tx, itemNumber, count, index, buf))
        return ChangeResult::Failed;
    return index < 0 ? ChangeResult::NotFound : ChangeResult::Done;
}
}  // namespace

ChangeResult UpdateProductByItem(const CLocalFile& local, const std::string& itemNumber,
                                 const std::function<void(ProductRecord&)>& change, ProductRecord* stored)
{
    Transaction tx;
    long long count = 0, index = -1;
    std::uint8_t buf[kRecordSize];
    if (const ChangeResult found = findOneForChange(local, tx, itemNumber, count, index, buf);
        found != ChangeResult::Done)
        return found;
    ProductRecord record;
    record.decode(buf);
    change(record);
    const auto codes = [](const std::uint8_t* rec) {
        return std::pair(ProductCode::OfSlot(rec, ProductRecord::kItemNumberOffset),
                         ProductCode::OfSlot(rec, ProductRecord::kBarCodeOffset));
    };
    const auto codesBefore = codes(buf);
    record.encode(buf);
    DataFile& file = tx.file(local.GetPath("Products"));
    tx.write(file, recordOffset(index), buf, sizeof buf);
    // An edit that gives a record another code is not noted: the maps are built afresh.
    const int cause = codes(buf) == codesBefore ? CommitKeepingProductCodes(tx, file, 0) : tx.commit();
    if (cause != FileCause::None)
        return ChangeResult::Failed;
    if (stored)
        stored->decode(buf);
    return ChangeResult::Done;
}

ChangeResult RemoveProductByItem(const CLocalFile& local, const std::string& itemNumber)
{
    Transaction tx;
    long long count = 0, index = -1;
    std::uint8_t buf[kRecordSize];
    if (const ChangeResult found = findOneForChange(local, tx, itemNumber, count, index, buf);
        found != ChangeResult::Done)
        return found;
    DataFile& file = tx.file(local.GetPath("Products"));
    if (index != count - 1) {
        if (!readFully(file, recordOffset(count - 1), buf, sizeof buf))
            return ChangeResult::Failed;
        tx.write(file, recordOffset(index), buf, sizeof buf);
    }
    writeCount(tx, file, count - 1);
    return tx.commit() == FileCause::None ? ChangeResult::Done : ChangeResult::Failed;
}

int ChangeListedProducts(const CLocalFile& local, const std::vector<std::string>& itemNumbers,
                         const std::function<void(ProductRecord&)>& change, std::vector<ProductRecord>* changed)
{
    if (changed)
        changed->clear();
    std::unordered_map<std::string, int> wanted;
    for (const std::string& item : itemNumbers)
        ++wanted[codec::fitText(item, ProductRecord::kCodeWidth)];
    Transaction tx;
    long long count = 0;
    if (const int cause = openForChange(local, tx, count); cause != FileCause::None)
        return cause;
    DataFile& file = tx.file(local.GetPath("Products"));
    std::vector<ProductRecord> written;
    const bool ok = scanRecords(file, count, [&](const std::uint8_t* rec, long long index) {
        auto it = wanted.find(codec::getText(rec, ProductRecord::kItemNumberOffset, ProductRecord::kCodeWidth));
        if (it == wanted.end() || it->second == 0)
            return true;
        --it->second;
        ProductRecord record;
        record.decode(rec);
        change(record);
        std::uint8_t buf[kRecordSize];
        record.encode(buf);
        tx.write(file, recordOffset(index), buf, sizeof buf);
        record.decode(buf);
        written.push_back(std::move(record));
        return true;
    });
    if (!ok)
        return FileCause::Generic;
    if (const int cause = CommitKeepingProductCodes(tx, file, 0); cause != FileCause::None)
        return cause;
    if (changed)
        *changed = std::move(written);
    return FileCause::None;
}

int AppendProducts(const CLocalFile& local, const std::vector<ProductRecord>& records)
{
    if (records.empty())
        return FileCause::None;
    Transaction tx;
    long long count = 0;
    long long stored = 0;
    if (const int cause = openForChange(local, tx, count, &stored); cause != FileCause::None)
        return cause;
    DataFile& file = tx.file(local.GetPath("Products"));
    std::vector<std::uint8_t> bytes(records.size() * kRecordSize);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].encode(bytes.data() + i * kRecordSize);
    if (stored <= count)
        tx.writeUnseen(file, recordOffset(count), bytes.data(), bytes.size());
    else
        tx.write(file, recordOffset(count), bytes.data(), bytes.size());
    writeCount(tx, file, count + static_cast<long long>(records.size()));
    return CommitKeepingProductCodes(tx, file, static_cast<long long>(records.size()));
}

int ReadProductBytes(const CLocalFile& local, std::vector<std::uint8_t>& bytes,
                     const std::function<bool(const std::uint8_t* rec)>& keep)
{
    bytes.clear();
    DataFile file;
    long long count = 0;
    if (const int cause = openForReading(local, file, count); cause != FileCause::None)
        return cause;
    if (!keep) {
        bytes.resize(static_cast<std::size_t>(count) * kRecordSize);
        const long long got = file.readAt(recordOffset(0), bytes.data(), bytes.size());
        if (got < 0) {
            bytes.clear();
            return FileCause::Generic;
        }
        bytes.resize(static_cast<std::size_t>(got) / kRecordSize * kRecordSize);
        return FileCause::None;
    }
    const bool ok = scanRecords(file, count, [&](const std::uint8_t* rec, long long) {
        if (keep(rec))
            bytes.insert(bytes.end(), rec, rec + kRecordSize);
        return true;
    });
    if (!ok) {
        bytes.clear();
        return FileCause::Generic;
    }
    return FileCause::None;
}

void RefreshProductMap(const CLocalFile& local)
{
    // Left alone while the file shows the map's time and size: the common case
    // of a register whose own last change is the file's last.
    if (ProductHint::LooksCurrent(local.GetPath("Products")))
        return;
    DataFile file;
    long long count = 0;
    if (openForReading(local, file, count) == FileCause::None)
        ProductHint::Refresh(file, count);
}

int CommitKeepingProductCodes(Transaction& tx, DataFile& file, long long added)
{
    // The state before is taken now: staged writes reach the file only in the commit.
    long long count = -1;
    const bool known = recordsPresent(file, count);
    const ProductHint::Mark before = ProductHint::MarkBefore(file, count);
    const int cause = tx.commit();
    if (cause == FileCause::None && known)
        ProductHint::NoteCodesKept(file, before, count + added);
    return cause;
}
