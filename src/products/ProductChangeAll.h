#pragma once
// The Change All edits: one column of every listed product filled with the
// "Change All" value, raised by it, multiplied by a percentage, or its tax
// status set.

#include "storage/records/ProductRecord.h"

#include <string>
#include <vector>

class CLocalFile;

namespace ChangeAll {
enum Op {
    FillVendor, FillCategory, FillDepartment, FillStock, FillCost, FillPrice, FillSalePercent,
    AddStock, AddCost, AddPrice, MultiplyCost, MultiplyPrice,
    SetTax0, SetTax1, SetTax2, SetTax3,
    kOpCount
};

struct Item {
    Op op;
    const char* menuText;   // in the "Change" menu; null for none
    const char* popupText;  // in the column's pop-up menu
    const char* question;   // asked with OK and Cancel
    int column;             // the list column it changes; kPrice for any price column
};
const Item& item(Op op);
bool isPriceOp(Op op);

// The price level (0..5) of a list column, or -1 when it is not a price column.
int priceLevelOfColumn(int column);

// The edit on one record. `level` is the price level for the price items.
void apply(ProductRecord& record, Op op, const std::string& text, int level);

enum class Outcome { Done, NoPriceColumn, Failed };
// Applies the edit to the listed products in one pass over the file (each
// listed record changed once). Price items need a price column. `changed`
// gets the records as written, in file order.
Outcome run(const CLocalFile& local, Op op, const std::string& text, int column,
            const std::vector<std::string>& listed, std::vector<ProductRecord>& changed);
}  // namespace ChangeAll
