#include "sale/QuoteLoading.h"

#include "sale/SaleEditing.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/QuoteFile.h"

#include <optional>
#include <string>
#include <vector>

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
    // The lines show the stock of their products as stored now, read in one pass.
    std::vector<std::string> codes;
    for (const std::string& item : quote.itemNumber)
        codes.push_back(item);
    std::vector<std::optional<ProductRecord>> found;
    LookupManyForSale(state_.local(), codes, found);
    state_.lineStock.fill(0);
    for (std::size_t i = 0; i < found.size() && i < state_.lineStock.size(); ++i)
        if (found[i] && !codes[i].empty())
            state_.lineStock[i] = found[i]->stock;
    state_.GoCurrent();
    return Result::Done;
}
