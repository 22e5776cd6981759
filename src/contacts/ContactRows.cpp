#include "contacts/ContactRows.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/VendorFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

namespace {
enum CustomerSlot { kName, kPhone, kEmail, kNumber };
constexpr std::size_t kTextWidth = CustomerRecord::kTextWidth;

ListedSlots::Slot text(std::size_t offset) { return {offset, kTextWidth}; }

// A slot's text, or "" past the columns.
std::string cellText(const ListedSlots& slots, std::size_t row, int column, int texts)
{
    if (column < 0 || column >= texts)
        return {};
    return std::string(slots.text(row, static_cast<std::size_t>(column)));
}
}  // namespace

CustomerRows::CustomerRows()
    : slots_({text(CustomerRecord::textOffset(CustomerRecord::kName)),
              text(CustomerRecord::textOffset(CustomerRecord::kPhone)),
              text(CustomerRecord::textOffset(CustomerRecord::kEmail)), {CustomerRecord::kNumberOffset, 2}})
{
}

bool CustomerRows::list(const CLocalFile& local, int selector, const std::string& text)
{
    const int cause =
        slots_.read(local.GetPath("Customers"), CustomerFileLayout(), 1, CustomerListFilter(selector, text));
    return cause == FileCause::None || cause == FileCause::NotFound;
}

std::string CustomerRows::cell(std::size_t row, int column) const
{
    return column == kNumber ? strprintf("%u", unsigned{number(row)}) : cellText(slots_, row, column, kNumber);
}

std::uint16_t CustomerRows::number(std::size_t row) const { return codec::getU16(slots_.bytes(row, kNumber), 0); }

int CustomerRows::rowOf(std::uint16_t n) const
{
    for (std::size_t row = 0; row < size(); ++row)
        if (number(row) == n)
            return static_cast<int>(row);
    return -1;
}

VendorRows::VendorRows()
    : slots_({{VendorRecord::textOffset(VendorRecord::kCompany), VendorRecord::kTextWidth},
              {VendorRecord::textOffset(VendorRecord::kPhone), VendorRecord::kTextWidth},
              {VendorRecord::textOffset(VendorRecord::kEmail), VendorRecord::kTextWidth}})
{
}

bool VendorRows::list(const CLocalFile& local)
{
    const int cause = slots_.read(local.GetPath("Vendor"), VendorFileLayout(), 0);
    return cause == FileCause::None || cause == FileCause::NotFound;
}

std::string VendorRows::cell(std::size_t row, int column) const { return cellText(slots_, row, column, 3); }

int VendorRows::rowOf(const std::string& company) const
{
    const std::string wanted = lowerAscii(company);
    for (std::size_t row = 0; row < size() && !wanted.empty(); ++row)
        if (lowerAscii(std::string(slots_.text(row, 0))) == wanted)
            return static_cast<int>(row);
    return -1;
}
