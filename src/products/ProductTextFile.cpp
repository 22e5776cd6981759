#include "products/ProductTextFile.h"

#include "products/ProductEditor.h"
#include "products/ProductTable.h"
#include "storage/files/ProductFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace ProductText {

const char* const kHeading =
    "Tax ID\tStock\tCost\tPrice1\tPrice2\tPrice3\tPrice4\tPrice5\tPrice6\tSale\tCase Qty\tCategory\tItem\tDescription"
    "\tVendor\tVen Num\tDepartment\tBarcode\tNo Touch\tCommission\tRental\r\n";

namespace {
constexpr std::size_t kFields = 21;

std::string f2(float v) { return strprintf("%.2f", static_cast<double>(v)); }

// A whole number field: the number read, cut toward zero; what does not fit
// `limit` gives `otherwise`.
unsigned wholeNumber(const std::string& text, unsigned limit, unsigned otherwise)
{
    const double v = std::trunc(static_cast<double>(ProductNumber(text)));
    return v >= 0 && v <= limit ? static_cast<unsigned>(v) : otherwise;
}
}  // namespace

std::string Line(const ProductRecord& r)
{
    std::string line = strprintf("%u", static_cast<unsigned>(r.taxStatus));
    auto add = [&line](const std::string& field) { line += '\t'; line += field; };
    add(f2(r.stock));
    add(f2(r.cost));
    for (float p : r.price)
        add(f2(p));
    add(f2(r.salePercent));
    add(f2(r.caseQty));
    add(r.category);
    add(r.itemNumber);
    add(r.description);
    add(r.vendor);
    add(r.vendorNumber);
    add(r.department);
    add(r.barCode);
    add(strprintf("%u", static_cast<unsigned>(r.showOnTouch)));
    add(strprintf("%.1f", static_cast<double>(r.commissionPercent)));
    add(strprintf("%u", static_cast<unsigned>(r.mode)));
    return line + "\r\n";
}

ProductRecord FromFields(const std::vector<std::string>& in)
{
    std::vector<std::string> f = in;
    f.resize(kFields);
    ProductRecord r;
    r.taxStatus = static_cast<std::uint8_t>(wholeNumber(f[0], 3, 0));
    r.stock = ProductNumber(f[1]);
    r.cost = ProductNumber(f[2]);
    for (std::size_t i = 0; i < ProductRecord::kPriceLevels; ++i)
        r.price[i] = ProductNumber(f[3 + i]);
    r.salePercent = ProductNumber(f[9]);
    r.caseQty = ProductNumber(f[10]);
    r.category = codec::fitText(f[11], ProductRecord::kNameWidth);
    r.itemNumber = codec::fitText(f[12], ProductRecord::kCodeWidth);
    r.description = codec::fitText(f[13], ProductRecord::kNameWidth);
    r.vendor = codec::fitText(f[14], ProductRecord::kNameWidth);
    r.vendorNumber = codec::fitText(f[15], ProductRecord::kCodeWidth);
    r.department = codec::fitText(f[16], ProductRecord::kNameWidth);
    r.barCode = codec::fitText(f[17], ProductRecord::kCodeWidth);
    r.showOnTouch = ProductNumber(f[18]) != 0 ? 1 : 0;
    r.commissionPercent = ProductNumber(f[19]);
    // A mode this register does not know is sold, as a tax status it does not know is untaxed.
    r.mode = static_cast<std::uint8_t>(wholeNumber(f[20], ProductRecord::kDeposit, ProductRecord::kSell));
    return r;
}

std::vector<ProductRecord> Parse(const std::string& text)
{
    std::vector<ProductRecord> out;
    const std::string heading(kHeading, std::char_traits<char>::length(kHeading) - 2);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        std::erase(line, '\r');
        if (line.find_first_not_of(" \t") == std::string::npos || line == heading)
            continue;
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
            if (tab == std::string::npos || fields.size() == kFields)
                break;
            from = tab + 1;
        }
        out.push_back(FromFields(fields));
    }
    return out;
}

int Export(const CLocalFile& local, const std::string& path)
{
    ProductTable table;
    if (const int cause = table.listAll(local); cause != FileCause::None)
        return cause;
    std::string text = kHeading;
    for (std::size_t row = 0; row < table.size(); ++row)
        text += Line(table.record(row));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return out ? FileCause::None : FileCause::Generic;
}

bool ReadTextFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buf;
    buf << in.rdbuf();
    text = buf.str();
    return !in.bad();
}
}  // namespace ProductText
