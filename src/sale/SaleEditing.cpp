#include "SaleEditing.h"

#include "CLocalFile.h"
#include "InvoiceFile.h"
#include "SaleState.h"

SaleEditing::Result SaleEditing::Void()
{
    state_.RefreshCount();
    if (state_.showingNew())
        return Result::NewSaleShown;
    if (VoidInvoice(state_.local(), static_cast<int>(state_.local().currentRecord)) != FileCause::None)
        return Result::Failed;
    // Away and back: the voided record is read again and shown.
    state_.GoPrev();
    state_.GoNext();
    return Result::Done;
}

SaleEditing::Result SaleEditing::BeginEdit()
{
    state_.RefreshCount();
    if (state_.showingNew())
        return Result::NewSaleShown;
    if (state_.editingStored())
        return Result::Refused;
    InvoiceRecord unchanged;
    if (ReturnInvoiceToStock(state_.local(), static_cast<int>(state_.local().currentRecord), &unchanged) !=
        FileCause::None)
        return Result::Failed;
    state_.held = unchanged;
    state_.newSale = false;
    state_.lineStock.fill(0);
    state_.GoCurrent();
    return Result::Done;
}

SaleEditing::Result SaleEditing::Clear()
{
    if (!state_.showingNew())
        return Result::NewSaleShown;
    if (state_.editingStored())
        return Result::Refused;
    state_.ClearThisSale();
    return Result::Done;
}
