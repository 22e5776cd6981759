#pragma once
// Loading a stored quote onto the sale screen, without a window: the quote
// becomes the new sale (number N, appended when finished), with its customer,
// replacing whatever was being rung up. Refused while a stored sale is being
// edited, so the quote can never be written over that sale. The files are
// read in one step through the window's runner (StoreStep.h); the screen's
// sale changes after it, on the caller's thread.

#include "sale/StoreStep.h"

class SaleState;

class QuoteLoading {
public:
    enum class Result {
        Done,
        Refused,   // a stored sale is being edited: the quote would be written over it
        NotFound,  // no such quote, or the file could not be read; nothing changed
    };

    explicit QuoteLoading(SaleState& state) : state_(state) {}

    Result Load(int quoteNumber, const StoreRunner& runner = {});

private:
    SaleState& state_;
};
