#include "products/ProductTextFile.h"

#include "products/ProductEditor.h"
#include "products/ProductTable.h"
#include "storage/files/ProductFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include "sale/SaleTotals.h"
#include "settings/TypedNumber.h"
#include "storage/records/Cp1252.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_set>
#include <fstream>
#include <sstream>

namespace ProductText {

const char* const kHeading =
    "Tax ID\tStock\tCost\tPrice1\tPrice2\tPrice3\tPrice4\tPrice5\tPrice6\tSale\tCase Qty\tCategory\tItem\tDescription"
    "\tVendor\tVen Num\tDepartment\tBarcode\tNo Touch\tCommission\tRental\r\n";

namespace {
constexpr std::size_t kFields = 21;

std::string f2(float v) { return strprintf("%.2f", static_cast<double>(v)); }

// The fields by the names the format message gives them.
const char* const kFieldNames[kFields] = {
    "Taxable", "Qty", "Cost", "Price 1", "Price 2", "Price 3", "Price 4", "Price 5", "Price 6", "Sale%", "Case Qty",
    "Category", "Product ID", "Description", "Vendor", "Vendor#", "Department", "Bar Code", "Show in Touch",
    "Commission", "Rental"};

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// One line's fields into a record, noting every change; false when refused.
class LineReader {
public:
    LineReader(std::size_t line, std::vector<LineNote>& notes) : line_(line), notes_(notes) {}

    bool read(const std::vector<std::string>& f, ProductRecord& r)
    {
        if (f.size() < kFields)
            return refuse(strprintf("%zu fields where %zu are needed", f.size(), kFields));
        if (f.size() > kFields)
            note(strprintf("%zu fields: those after the %zuth left out", f.size(), kFields));
        double n[kFields] = {};
        for (std::size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 18, 19, 20}) {
            const TypedNumber t = ReadTypedNumber(f[i]);
            if (!t.ok)
                return refuse(strprintf("%s is not a number: \"%s\"", kFieldNames[i], f[i].c_str()));
            if (t.comma)
                note(strprintf("%s \"%s\" read as %s", kFieldNames[i], f[i].c_str(), FixedText(t.value, 2).c_str()));
            n[i] = t.value;
        }
        r.taxStatus = static_cast<std::uint8_t>(whole(0, n[0], 3, 0));
        r.stock = StoreAmount(n[1]);
        r.cost = cents(2, n[2]);
        for (std::size_t i = 0; i < ProductRecord::kPriceLevels; ++i)
            r.price[i] = cents(3 + i, n[3 + i]);
        r.salePercent = StoreAmount(n[9]);
        r.caseQty = StoreAmount(n[10]);
        r.category = text(f, 11, ProductRecord::kNameWidth);
        r.itemNumber = text(f, 12, ProductRecord::kCodeWidth);
        r.description = text(f, 13, ProductRecord::kNameWidth);
        r.vendor = text(f, 14, ProductRecord::kNameWidth);
        r.vendorNumber = text(f, 15, ProductRecord::kCodeWidth);
        r.department = text(f, 16, ProductRecord::kNameWidth);
        r.barCode = text(f, 17, ProductRecord::kCodeWidth);
        r.showOnTouch = n[18] != 0 ? 1 : 0;
        r.commissionPercent = StoreAmount(n[19]);
        // A mode this register does not know is sold, as a tax status it does not know is untaxed.
        r.mode = static_cast<std::uint8_t>(whole(20, n[20], ProductRecord::kDeposit, ProductRecord::kSell));
        if (r.itemNumber.empty())
            return refuse("no Product ID");
        return true;
    }

    bool refuse(const std::string& reason)
    {
        // A refused line's changes do not matter: only why it was refused.
        while (!notes_.empty() && notes_.back().line == line_)
            notes_.pop_back();
        notes_.push_back({line_, true, reason});
        return false;
    }
    void note(const std::string& reason) { notes_.push_back({line_, false, reason}); }

private:
    unsigned whole(std::size_t i, double v, unsigned limit, unsigned otherwise)
    {
        const double cut = std::trunc(v);
        const unsigned out = cut >= 0 && cut <= limit ? static_cast<unsigned>(cut) : otherwise;
        if (out != v)
            note(strprintf("%s %s read as %u", kFieldNames[i], FixedText(v, 2).c_str(), out));
        return out;
    }
    float cents(std::size_t i, double v)
    {
        const float out = RoundToCents(v);
        if (std::fabs(static_cast<double>(out) - v) > 1e-6 * std::max(1.0, std::fabs(v)))
            note(strprintf("%s %s rounded to %s", kFieldNames[i], FixedText(v, 6).c_str(), FixedText(out, 2).c_str()));
        return out;
    }
    std::string text(const std::vector<std::string>& f, std::size_t i, std::size_t width)
    {
        std::string out = codec::fitText(f[i], width);
        if (out.size() < f[i].size())
            note(strprintf("%s cut to %zu characters: \"%s\"", kFieldNames[i], width - 1, out.c_str()));
        return out;
    }

    std::size_t line_;
    std::vector<LineNote>& notes_;
};
}  // namespace

std::string LineNote::Text() const
{
    return strprintf("Line %zu: %s%s", line, refused ? "refused, " : "", reason.c_str());
}

std::size_t Reading::refused() const
{
    return static_cast<std::size_t>(std::count_if(notes.begin(), notes.end(), [](const LineNote& n) { return n.refused; }));
}

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

Reading Read(const std::string& bytes, const std::vector<std::string>& taken)
{
    Reading out;
    std::string text = bytes;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        text.erase(0, 3);
        out.utf8 = true;
    } else {
        out.utf8 = Cp1252::LooksLikeUtf8(text);
    }
    std::unordered_set<std::string> used;
    for (const std::string& item : taken)
        used.insert(lower(item));
    const std::string heading(kHeading, std::char_traits<char>::length(kHeading) - 2);
    out.nothing = true;
    std::size_t start = 0;
    for (std::size_t number = 1; start < text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        std::erase(line, '\r');
        if (line.find_first_not_of(" \t") == std::string::npos || line == heading)
            continue;
        out.nothing = false;
        LineReader reader(number, out.notes);
        if (out.utf8) {
            std::string lost;
            line = Cp1252::FromUtf8(line, &lost);
            if (!lost.empty()) {
                reader.note("characters the register cannot store, read as ?: " + lost);
                for (std::size_t at = 0; at < lost.size();) {
                    std::size_t n = 1;
                    while (at + n < lost.size() && (static_cast<unsigned char>(lost[at + n]) & 0xC0) == 0x80)
                        ++n;
                    if (out.lost.find(lost.substr(at, n)) == std::string::npos)
                        out.lost += lost.substr(at, n);
                    at += n;
                }
            }
        }
        std::vector<std::string> fields;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
            if (tab == std::string::npos)
                break;
            from = tab + 1;
        }
        ProductRecord r;
        if (!reader.read(fields, r))
            continue;
        if (!used.insert(lower(r.itemNumber)).second) {
            reader.refuse("Product ID " + r.itemNumber + " is already used");
            continue;
        }
        out.records.push_back(r);
        out.lines.push_back(number);
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
