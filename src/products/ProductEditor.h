#pragma once
// What the product editor does to the product file, without the window: a new
// product from the boxes, an update that writes only what the user changed,
// and a delete, each finding the product by item number in the same exclusive
// open that writes it.

#include "storage/files/ProductFile.h"
#include "storage/records/ProductRecord.h"

#include <array>
#include <cstdint>
#include <string>

// The editor's boxes. Texts are record bytes, not yet cut to their widths.
struct ProductFields {
    enum Number : unsigned {
        kPrice1 = 0,  // .. kPrice1 + 5
        kCost = 6,
        kSalePercent,
        kStock,
        kCase,
        kCommission,
        kNumberCount
    };
    std::string itemNumber, description, barCode, vendor, vendorNumber, category, department;
    std::array<std::string, kNumberCount> numbers;
    int taxIndex = -1;  // -1: no tax item chosen
    bool touch = false;
    std::uint8_t mode = ProductRecord::kSell;
    // Bit n set: number box n was edited since the product was shown.
    unsigned edited = 0;
};

// A box's text as a decimal number: leading blanks skipped, reading stops at
// the first character that is not part of a number; no number, or one a float
// cannot hold, gives 0.
float ProductNumber(const std::string& text);

// A new product from the boxes. Without a tax choice the remembered one is used.
ProductRecord ProductFromFields(const ProductFields& fields, std::uint8_t rememberedTax);
// The boxes copied over a stored product: texts, tax (when chosen), touch and
// mode always; a number only when its box was edited, so stock sold meanwhile
// at another register and prices beyond the shown cents are kept.
void ApplyFields(ProductRecord& record, const ProductFields& fields);
// The boxes of a shown product, in the editor's formats.
ProductFields FieldsFromProduct(const ProductRecord& record);

enum class SaveOutcome {
    Nothing,      // empty Product ID
    Duplicate,    // no row selected and the item number exists
    Saved,        // appended as a new product
    Updated,      // an existing product changed
    SaveFailed,   // "Could not open file."
    UpdateFailed, // "Couldn't open file"
};

// The editor's Save/Update button. `stored` gets the record as written.
SaveOutcome SaveProduct(const CLocalFile& local, const ProductFields& fields, bool rowSelected,
                        std::uint8_t rememberedTax, ProductRecord& stored);
