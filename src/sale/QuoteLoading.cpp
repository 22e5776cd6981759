#include "sale/QuoteLoading.h"

#include "sale/SaleEditing.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/QuoteFile.h"

QuoteLoading::Result QuoteLoading::Load(int quoteNumber)
{
    if (state_.editingStored())
        return Result::Refused;
    InvoiceRecord quote;
    if (!ReadQuote(state_.local(), quoteNumber, quote))
        return Result::NotFound;
    state_.RefreshCount();
    quote.recordNumber = state_.count;
    state_.customer = SaleEditing::CustomerOf(state_.local(), quote);
    state_.held = quote;
    // On the new sale the held copy is older than the screen: replace both.
    if (state_.showingNew())
        state_.current = quote;
    state_.lineStock.fill(0);
    state_.GoCurrent();
    return Result::Done;
}
