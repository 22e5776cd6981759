#pragma once
// Loading a stored quote onto the sale screen, without a window: the quote
// becomes the new sale (number N, appended when finished), with its customer,
// replacing whatever was being rung up. Refused while a stored sale is being
// edited, so the quote can never be written over that sale.

class SaleState;

class QuoteLoading {
public:
    enum class Result {
        Done,
        Refused,   // a stored sale is being edited: the quote would be written over it
        NotFound,  // no such quote, or the file could not be read; nothing changed
    };

    explicit QuoteLoading(SaleState& state) : state_(state) {}

    Result Load(int quoteNumber);

private:
    SaleState& state_;
};
