#include "products/ProductChangeAll.h"

#include "products/ProductEditor.h"
#include "storage/files/ProductFile.h"
#include "storage/records/ByteCodec.h"

namespace ChangeAll {
namespace {
using namespace ProductColumn;
const Item kItems[kOpCount] = {
    {FillVendor, "Fill All Listed Vendors with Change All", "Fill Vendor with Change All",
     "\nFill all listed Vendors with the field Change All.\n\n", kVendor},
    {FillCategory, "Fill All Listed Categories with Change All", "Fill Category with Change All",
     "Fill all listed Categories with the field Change All.\n\n", kCategory},
    {FillDepartment, "Fill All Listed Departments with Change All", "Fill Department with Change All",
     "Fill all listed Departments with the field Change All.\n\n", kDepartment},
    {FillStock, "Fill All Listed Qty with Change All", "Fill Stock with Change All",
     "\nFill all listed Qty's with the field Change All.\n\n", kStock},
    {FillCost, "Fill All Listed Costs with Change All", "Fill Cost with Change All",
     "\nFill all listed Cost with the field Change All.\n\n", kCost},
    {FillPrice, "Fill All Listed Prices with Change All", "Fill Price with Change All",
     "\nFill all listed Prices with the field Change All.\n\n", kPrice},
    {FillSalePercent, "Fill All Listed %- (Mark Down) with Change All", "Fill %- (Mark Down) with Change All",
     "\nFill all listed %- (Mark Down's) with the field Change All.\n\n", kSalePercent},
    {AddStock, "Add to All Listed Qty from Change All", "Add to Stock from Change All",
     "\nAdd to all listed Quantities by Change All.\n\n", kStock},
    {AddCost, "Add to All Listed Costs from Change All", "Add to Cost from Change All",
     "\nAdd to all listed Costs by Change All.\n\n", kCost},
    {AddPrice, "Add to All Listed Price from Change All", "Add to Price from Change All",
     "\nAdd to all listed Prices by Change All\n\n", kPrice},
    {MultiplyCost, "Multiply All Listed Costs by % from Change All", "Multiply Cost by % from Change All",
     "Multiply all listed Cost by Change All.\n\n", kCost},
    {MultiplyPrice, "Multiply All Listed Price by % from Change All", "Multiply Price by % from Change All",
     "Multiply all listed Prices by change%.\n\n", kPrice},
    {SetTax0, nullptr, "Set All to \"0 - No Tax\"", "Set all listed items to Non-Taxable.\n\n", kTax},
    {SetTax1, nullptr, "Set All to \"1 - Tax 1\"", "Set all listed items to Tax 1.\n\n", kTax},
    {SetTax2, nullptr, "Set All to \"2 - Tax 2\"", "Set all listed items to Tax 2.\n\n", kTax},
    {SetTax3, nullptr, "Set All to \"3 - Tax 1 && 2\"", "Set all listed items to Tax 1 & 2.\n\n", kTax},
};
}  // namespace

const Item& item(Op op) { return kItems[op]; }

bool isPriceOp(Op op) { return op == FillPrice || op == AddPrice || op == MultiplyPrice; }

int priceLevelOfColumn(int column)
{
    return column >= kPrice && column < kPrice + static_cast<int>(ProductRecord::kPriceLevels) ? column - kPrice : -1;
}

void apply(ProductRecord& r, Op op, const std::string& text, int level)
{
    const float value = ProductNumber(text);
    float* price = level >= 0 && level < static_cast<int>(ProductRecord::kPriceLevels) ? &r.price[static_cast<std::size_t>(level)] : nullptr;
    switch (op) {
    case FillVendor: r.vendor = codec::fitText(text, ProductRecord::kNameWidth); break;
    case FillCategory: r.category = codec::fitText(text, ProductRecord::kNameWidth); break;
    case FillDepartment: r.department = codec::fitText(text, ProductRecord::kNameWidth); break;
    case FillStock: r.stock = value; break;
    case FillCost: r.cost = value; break;
    case FillSalePercent: r.salePercent = value; break;
    case AddStock: r.stock += value; break;
    case AddCost: r.cost += value; break;
    case MultiplyCost: r.cost *= 1 + value / 100; break;
    case FillPrice: if (price) *price = value; break;
    case AddPrice: if (price) *price += value; break;
    case MultiplyPrice: if (price) *price *= 1 + value / 100; break;
    case SetTax0: case SetTax1: case SetTax2: case SetTax3:
        r.taxStatus = static_cast<std::uint8_t>(op - SetTax0);
        break;
    case kOpCount: break;
    }
}

Outcome run(const CLocalFile& local, Op op, const std::string& text, int column,
            const std::vector<std::string>& listed, std::vector<ProductRecord>& changed)
{
    changed.clear();
    const int level = priceLevelOfColumn(column);
    if (isPriceOp(op) && level < 0)
        return Outcome::NoPriceColumn;
    const int cause = ChangeListedProducts(local, listed, [&](ProductRecord& r) { apply(r, op, text, level); }, &changed);
    return cause == FileCause::None ? Outcome::Done : Outcome::Failed;
}
}  // namespace ChangeAll
