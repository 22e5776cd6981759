#include "sale/SaleKeys.h"

#include <initializer_list>

using namespace SaleIds;

namespace {

// Moves within the grid's editable columns; columnBase is the column's id of row 0.
int gridMove(int columnBase, int row, Arrow arrow)
{
    const int last = kRows - 1;
    switch (arrow) {
    case Arrow::Up:
        return row == 0 ? columnBase : columnBase + row - 1;
    case Arrow::Down:
        if (row < last)
            return columnBase + row + 1;
        if (columnBase == kMarkdown)
            return kDiscount;
        if (columnBase == kPrice)
            return kPrice + row;
        return kTodaysNotes;
    case Arrow::Left:
        switch (columnBase) {
        case kItem: return kSalesperson;
        case kQty: return kItem + row;
        case kDescription: return kQty + row;
        case kMarkdown: return kDescription + row;
        default: return kMarkdown + row;
        }
    case Arrow::Right:
        switch (columnBase) {
        case kItem: return kQty + row;
        case kQty: return kDescription + row;
        case kDescription: return kMarkdown + row;
        case kMarkdown: return kPrice + row;
        default: return kPrice + row;
        }
    }
    return columnBase + row;
}

}  // namespace

int CtrlArrowTarget(int id, Arrow arrow)
{
    for (int base : {kItem, kQty, kDescription, kMarkdown, kPrice})
        if (id >= base && id < base + kRows)
            return gridMove(base, id - base, arrow);

    const int lastItem = kItem + kRows - 1;
    auto pick = [&](int up, int down, int left, int right) {
        switch (arrow) {
        case Arrow::Up: return up;
        case Arrow::Down: return down;
        case Arrow::Left: return left;
        case Arrow::Right: return right;
        }
        return id;
    };
    switch (id) {
    case kSalesperson: return pick(id, kPayType, id, kItem);
    case kPayType: return pick(kSalesperson, kRecordNumber, id, kItem);
    case kRecordNumber: return pick(kPayType, id, id, kTodaysNotes);
    case kTodaysNotes: return pick(lastItem, kCustomerName, kRecordNumber, kDiscount);
    case kCustomerName: return pick(kTodaysNotes, kCustomerName + 1, kRecordNumber, kPaid);
    case kDiscount: return pick(lastItem, kHandling, kTodaysNotes, id);
    case kHandling: return pick(kDiscount, kPaid, kTodaysNotes, id);
    case kPaid: return pick(kHandling, id, kCustomerName, id);
    default: break;
    }
    if (id > kCustomerName && id <= kLastAddress)
        return pick(id - 1, id == kLastAddress ? id : id + 1, kRecordNumber, kPaid);
    return id;
}
