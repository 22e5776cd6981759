#include "products/ProductTable.h"

#include "storage/files/CLocalFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <cstring>

namespace {
inline unsigned char lowerByte(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

// True when the slot's text, lower-cased, contains the (lower-cased)
// criterion; compared in place, without copying the text.
bool containsLowered(const std::uint8_t* rec, std::size_t offset, std::size_t width, const std::string& criterion)
{
    if (criterion.empty())
        return true;
    const std::uint8_t* text = rec + offset;
    const void* nul = std::memchr(text, 0, width - 1);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - text) : width - 1;
    const std::size_t n = criterion.size();
    if (n > length)
        return false;
    const auto* key = reinterpret_cast<const unsigned char*>(criterion.data());
    for (std::size_t i = 0; i + n <= length; ++i) {
        if (lowerByte(text[i]) != key[0])
            continue;
        std::size_t j = 1;
        while (j < n && lowerByte(text[i + j]) == key[j])
            ++j;
        if (j == n)
            return true;
    }
    return false;
}
}  // namespace

bool MatchesSearchBytes(const std::uint8_t* rec, const ProductSearch& s)
{
    if (s.lowQuantity && !(codec::getF32(rec, ProductRecord::kStockOffset) < s.lowQuantityThreshold))
        return false;
    using R = ProductRecord;
    return containsLowered(rec, R::kDescriptionOffset, R::kNameWidth, s.description) &&
           containsLowered(rec, R::kItemNumberOffset, R::kCodeWidth, s.itemNumber) &&
           containsLowered(rec, R::kVendorOffset, R::kNameWidth, s.vendor) &&
           containsLowered(rec, R::kVendorNumberOffset, R::kCodeWidth, s.vendorNumber) &&
           containsLowered(rec, R::kCategoryOffset, R::kNameWidth, s.category) &&
           containsLowered(rec, R::kDepartmentOffset, R::kNameWidth, s.department);
}

namespace {
int readProducts(const CLocalFile& local, RecordBytes& bytes, const std::function<bool(const std::uint8_t*)>& keep = {})
{
    return ReadRecordBytes(local.GetPath("Products"), {ProductFile::kCountSize, ProductRecord::kSize}, bytes, keep);
}
}  // namespace

int ProductTable::listAll(const CLocalFile& local)
{
    const int cause = readProducts(local, bytes_);
    forms_.assign(bytes_.size() / ProductRecord::kSize, Form::List);
    return cause;
}

int ProductTable::listMatching(const CLocalFile& local, const ProductSearch& search)
{
    const int cause = readProducts(local, bytes_, [&](const std::uint8_t* rec) { return MatchesSearchBytes(rec, search); });
    forms_.assign(bytes_.size() / ProductRecord::kSize, Form::Search);
    return cause;
}

ProductRecord ProductTable::record(std::size_t row) const
{
    ProductRecord r;
    r.decode(at(row));
    return r;
}

std::string ProductTable::itemNumber(std::size_t row) const
{
    return codec::getText(at(row), ProductRecord::kItemNumberOffset, ProductRecord::kCodeWidth);
}

std::vector<std::string> ProductTable::itemNumbers() const
{
    std::vector<std::string> items;
    items.reserve(size());
    for (std::size_t row = 0; row < size(); ++row)
        items.push_back(itemNumber(row));
    return items;
}

std::vector<std::vector<std::string>> ProductTable::textRows() const
{
    std::vector<std::vector<std::string>> rows(size());
    for (std::size_t row = 0; row < size(); ++row)
        for (int c = 0; c < ProductColumn::kCount; ++c)
            rows[row].push_back(cell(row, c));
    return rows;
}

ProductSearch SearchFromBoxes(const std::string& itemNumber, const std::string& vendorNumber,
                              const std::string& description, const std::string& vendor,
                              const std::string& category, const std::string& department)
{
    auto cut = [](const std::string& s, std::size_t n) { return lowerAscii(s.substr(0, n)); };
    ProductSearch s;
    s.itemNumber = cut(itemNumber, 23);
    s.vendorNumber = cut(vendorNumber, 23);
    s.description = cut(description, 39);
    s.vendor = cut(vendor, 39);
    s.category = cut(category, 39);
    s.department = cut(department, 39);
    return s;
}

std::string ProductTable::cell(std::size_t row, int column) const
{
    using namespace ProductColumn;
    using R = ProductRecord;
    const std::uint8_t* rec = at(row);
    const Form form = forms_[row];
    auto f32 = [&](std::size_t offset, const char* format) { return strprintf(format, static_cast<double>(codec::getF32(rec, offset))); };
    switch (column) {
    case kItem: return codec::getText(rec, R::kItemNumberOffset, R::kCodeWidth);
    case kDescription: return codec::getText(rec, R::kDescriptionOffset, R::kNameWidth);
    case kCost: return f32(R::kCostOffset, "%.2f");
    case kStock: return f32(R::kStockOffset, "%.1f");
    case kSalePercent: return f32(R::kSalePercentOffset, "%.1f");
    case kVendor: return codec::getText(rec, R::kVendorOffset, R::kNameWidth);
    case kVendorNumber: return codec::getText(rec, R::kVendorNumberOffset, R::kCodeWidth);
    case kCategory: return codec::getText(rec, R::kCategoryOffset, R::kNameWidth);
    case kDepartment: return codec::getText(rec, R::kDepartmentOffset, R::kNameWidth);
    case kCase: return f32(R::kCaseQtyOffset, "%.2f");
    case kTax: return strprintf("%u", static_cast<unsigned>(rec[R::kTaxStatusOffset]));
    case kBarCode: return codec::getText(rec, R::kBarCodeOffset, R::kCodeWidth);
    case kTouch: return rec[R::kShowOnTouchOffset] ? "Yes" : "No";
    case kCommission: return form == Form::Search ? std::string() : f32(R::kCommissionPercentOffset, "%.1f");
    case kMode: return form == Form::Search ? std::string() : ProductModeName(rec[R::kModeOffset]);
    default:
        if (column >= kPrice && column < kPrice + static_cast<int>(R::kPriceLevels))
            return f32(R::kPriceOffset + 4 * static_cast<std::size_t>(column - kPrice), "%.2f");
        return {};
    }
}

void ProductTable::insertFront(const ProductRecord& record, Form form)
{
    std::uint8_t buf[ProductRecord::kSize];
    record.encode(buf);
    bytes_.insertFront(buf, sizeof buf);
    forms_.insert(forms_.begin(), form);
}

void ProductTable::replace(std::size_t row, const ProductRecord& record)
{
    record.encode(bytes_.data() + row * ProductRecord::kSize);
}

void ProductTable::remove(std::size_t row)
{
    bytes_.erase(row * ProductRecord::kSize, ProductRecord::kSize);
    forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(row));
}

void ProductTable::clear()
{
    bytes_.clear();
    forms_.clear();
}
