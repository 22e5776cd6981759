#include "products/ProductEditor.h"

#include "settings/GeneralSettings.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <cfloat>
#include <cmath>

float ProductNumber(const std::string& text)
{
    const double v = NumberFrom(text);
    if (std::fabs(v) > FLT_MAX)
        return 0;
    return static_cast<float>(v);
}

namespace {
void copyTexts(ProductRecord& r, const ProductFields& f)
{
    r.itemNumber = codec::fitText(f.itemNumber, ProductRecord::kCodeWidth);
    r.description = codec::fitText(f.description, ProductRecord::kNameWidth);
    r.barCode = codec::fitText(f.barCode, ProductRecord::kCodeWidth);
    r.vendor = codec::fitText(f.vendor, ProductRecord::kNameWidth);
    r.vendorNumber = codec::fitText(f.vendorNumber, ProductRecord::kCodeWidth);
    r.category = codec::fitText(f.category, ProductRecord::kNameWidth);
    r.department = codec::fitText(f.department, ProductRecord::kNameWidth);
    r.showOnTouch = f.touch ? 1 : 0;
    r.mode = f.mode;
}

float* numberSlot(ProductRecord& r, unsigned n)
{
    if (n < ProductRecord::kPriceLevels)
        return &r.price[n];
    switch (n) {
    case ProductFields::kCost: return &r.cost;
    case ProductFields::kSalePercent: return &r.salePercent;
    case ProductFields::kStock: return &r.stock;
    case ProductFields::kCase: return &r.caseQty;
    default: return &r.commissionPercent;
    }
}
}  // namespace

ProductRecord ProductFromFields(const ProductFields& f, std::uint8_t rememberedTax)
{
    ProductRecord r;
    copyTexts(r, f);
    for (unsigned n = 0; n < ProductFields::kNumberCount; ++n)
        *numberSlot(r, n) = ProductNumber(f.numbers[n]);
    r.taxStatus = static_cast<std::uint8_t>(f.taxIndex >= 0 && f.taxIndex <= 3 ? f.taxIndex : rememberedTax);
    r.addOnId.clear();
    return r;
}

void ApplyFields(ProductRecord& r, const ProductFields& f)
{
    copyTexts(r, f);
    for (unsigned n = 0; n < ProductFields::kNumberCount; ++n)
        if (f.edited >> n & 1)
            *numberSlot(r, n) = ProductNumber(f.numbers[n]);
    if (f.taxIndex >= 0 && f.taxIndex <= 3)
        r.taxStatus = static_cast<std::uint8_t>(f.taxIndex);
}

ProductFields FieldsFromProduct(const ProductRecord& r)
{
    ProductFields f;
    f.itemNumber = r.itemNumber;
    f.description = r.description;
    f.barCode = r.barCode;
    f.vendor = r.vendor;
    f.vendorNumber = r.vendorNumber;
    f.category = r.category;
    f.department = r.department;
    ProductRecord copy = r;
    for (unsigned n = 0; n < ProductFields::kNumberCount; ++n)
        f.numbers[n] = strprintf(n == ProductFields::kCommission ? "%.1f" : "%.2f", static_cast<double>(*numberSlot(copy, n)));
    f.taxIndex = r.taxStatus <= 3 ? r.taxStatus : -1;
    f.touch = r.showOnTouch != 0;
    f.mode = r.mode;
    return f;
}

SaveOutcome SaveProduct(const CLocalFile& local, const ProductFields& fields, bool rowSelected,
                        std::uint8_t rememberedTax, ProductRecord& stored)
{
    if (fields.itemNumber.empty())
        return SaveOutcome::Nothing;
    if (rowSelected) {
        switch (UpdateProductByItem(local, codec::fitText(fields.itemNumber, ProductRecord::kCodeWidth),
                                    [&](ProductRecord& r) { ApplyFields(r, fields); }, &stored)) {
        case ChangeResult::Done: return SaveOutcome::Updated;
        case ChangeResult::Failed: return SaveOutcome::UpdateFailed;
        case ChangeResult::NotFound: break;
        }
    }
    stored = ProductFromFields(fields, rememberedTax);
    switch (AppendNewProduct(local, stored)) {
    case FileCause::None: return SaveOutcome::Saved;
    case FileCause::AlreadyExists: return SaveOutcome::Duplicate;
    default: return SaveOutcome::SaveFailed;
    }
}
