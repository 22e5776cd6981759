#include "sale/QuoteLoading.h"

#include "sale/SaleEditing.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/QuoteFile.h"

#include <optional>
#include <string>
#include <vector>

QuoteLoading::Result QuoteLoading::Load(int quoteNumber, const StoreRunner& runner)
{
    if (state_.editingStored())
        return Result::Refused;
    // The quote, the count of sales (its number on the screen), its customer
    // and the stock of its lines as stored now, read in one step.
    const CLocalFile local = state_.local();
    InvoiceRecord quote;
    bool read = false;
    int count = state_.count;
    CustomerRecord customer;
    std::vector<std::string> codes;
    std::vector<std::optional<ProductRecord>> found;
    RunStoreStep(runner, [&] {
        read = ReadQuote(local, quoteNumber, quote);
        if (!read)
            return;
        if (int n = count; ReadInvoiceCount(local, n) == FileCause::None)
            count = n;
        customer = SaleEditing::CustomerOf(local, quote);
        for (const std::string& item : quote.itemNumber)
            codes.push_back(item);
        LookupManyForSale(local, codes, found);
    });
    if (!read)
        return Result::NotFound;
    state_.count = count;
    quote.recordNumber = count;
    state_.customer = customer;
    state_.held = quote;
    // On the new sale the held copy is older than the screen: replace both.
    if (state_.showingNew())
        state_.current = quote;
    state_.lineStock.fill(0);
    for (std::size_t i = 0; i < found.size() && i < state_.lineStock.size(); ++i)
        if (found[i] && !codes[i].empty())
            state_.lineStock[i] = found[i]->stock;
    state_.GoCurrent();
    return Result::Done;
}
