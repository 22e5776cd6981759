#include "sale/SaleFinishing.h"

#include "sale/SaleState.h"

bool SaleFinishing::CanFinish() const { return state_.showingNew() && !state_.readOnly(); }

SaleFinishing::Target SaleFinishing::target() const
{
    Target t;
    t.append = !state_.editingStored();
    t.recordNumber = t.append ? state_.count : state_.current.recordNumber;
    return t;
}
