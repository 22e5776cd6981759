#pragma once
// The Settings menu's windows that set the store up, as commands of the sale
// screen's menu, and what the sale on screen does after each: taxes and
// discount levels work it out again, new salespeople and payment types fill
// their lists. Header-only: the windows are in the window library.

#include "sale/SaleMenuWidget.h"
#include "sale/SaleState.h"
#include "sale/SaleTotals.h"
#include "settings/CCompanyDlg.h"
#include "settings/CDiscountLevelsDlg.h"
#include "settings/CPeopleDlg.h"
#include "settings/CReceiptMessagesDlg.h"
#include "settings/CSaleDatesDlg.h"
#include "settings/CTaxTableDlg.h"
#include "settings/CTermsDlg.h"
#include "settings/CTextListDlg.h"

#include <functional>

struct SaleScreenRefresh {
    std::function<void()> show;  // redraws the shown sale
    std::function<void()> fillSalespeople;
    std::function<void()> fillPayTypes;
};

inline void AddSetupCommands(SaleMenuWidget::Commands& c, QWidget* parent, const CLocalFile& local,
                             SalesFileHeader& header, SaleState& state, const SaleScreenRefresh& refresh)
{
    auto recalculate = [&state, &header, refresh] {
        if (state.showingNew())
            state.Recalculate();
        else
            RecalculateTotals(state.held, header);
        refresh.show();
    };
    c.company = [parent, &local, &header] { CCompanyDlg::Run(parent, local, header); };
    c.receiptMessages = [parent, &local, &header] { CReceiptMessagesDlg::Run(parent, local, header); };
    c.taxes = [parent, &local, &header, &state, recalculate] {
        CTaxTableDlg::Run(parent, local, header);
        // The sale being rung up may take the default zone; its rates are
        // looked up again either way, as a zone's rates may have changed.
        if (state.showingNew()) {
            CTaxTableDlg::OfferDefaultZone(parent, local, header, state.customer.taxZone);
            state.LookupRates();
        }
        recalculate();
    };
    c.terms = [parent, &local] { CTermsDlg(local, parent).exec(); };
    c.saleDates = [parent, &local, &header] { CSaleDatesDlg::Run(parent, local, header); };
    c.discountLevels = [parent, &local, &header, recalculate] {
        CDiscountLevelsDlg::Run(parent, local, header);
        recalculate();
    };
    c.cashiers = [parent, &local] { CPeopleDlg::Run(parent, local, PeopleKind::Cashiers); };
    c.salespeople = [parent, &local, refresh] {
        CPeopleDlg::Run(parent, local, PeopleKind::Salespeople);
        refresh.fillSalespeople();
    };
    c.paymentTypes = [parent, &local, &header, refresh] {
        CTextListDlg::Run(parent, local, header, kPaymentTypeList);
        refresh.fillPayTypes();
    };
    c.categories = [parent, &local, &header] { CTextListDlg::Run(parent, local, header, kCategoryList); };
    c.departments = [parent, &local, &header] { CTextListDlg::Run(parent, local, header, kDepartmentList); };
}
