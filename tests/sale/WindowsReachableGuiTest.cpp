// Every window of the register at 1024 x 768: each named control is drawn,
// inside its window and not covered by another.
#include "contacts/CCustomerDlg.h"
#include "contacts/CVendorDlg.h"
#include "products/CGetProductDlg.h"
#include "products/CProductsDlg.h"
#include "products/CQuickAddDlg.h"
#include "purchasing/CPurchaseOrderDlg.h"
#include "receivables/CDepositDlg.h"
#include "receivables/CMakePaymentDlg.h"
#include "receivables/CPaymentActivityDlg.h"
#include "receivables/CPaymentDlg.h"
#include "receivables/CSplitPaymentDlg.h"
#include "receivables/CUnpaidInvoicesDlg.h"
#include "rentals/CRentalsDlg.h"
#include "rentals/CReturnRentalsDlg.h"
#include "reports/CDrawerReconcileDlg.h"
#include "reports/CFindSalesDlg.h"
#include "reports/CSalesRangeDlg.h"
#include "reports/CSalesSummaryDlg.h"
#include "reports/CWideSummaryDlg.h"
#include "sale/CQuoteDlg.h"
#include "sale/CSaleDisplayDlg.h"
#include "settings/CCompanyDlg.h"
#include "settings/CDiscountLevelsDlg.h"
#include "settings/CGeneralDlg.h"
#include "settings/CLoginDlg.h"
#include "settings/CPeopleDlg.h"
#include "settings/CReceiptMessagesDlg.h"
#include "settings/CSaleDatesDlg.h"
#include "settings/CSecurityDlg.h"
#include "settings/CTaxTableDlg.h"
#include "settings/CTermsDlg.h"
#include "support/Reachable.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"

#include <functional>
#include <memory>

namespace {

struct Windows : SaleScreenFixture {
    int sale = -1;
    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        noCashierChoice();
        addProducts({saleProduct("A", 10)});
        sale = storeSale(local, SaleSpec().item("A").total(10).payType("Split"));
        open();
    }
};

using Factory = std::function<QWidget*(Windows&)>;

TEST_F(Windows, EveryNamedControlIsReachableAt1024x768)
{
    const std::vector<std::pair<const char*, Factory>> windows = {
        {"sale screen", [](Windows& w) { return static_cast<QWidget*>(w.dlg.get()); }},
        {"quotes", [](Windows& w) { return new CQuoteDlg(w.local, w.header, w.dlg->state()); }},
        {"sale display", [](Windows& w) { return new CSaleDisplayDlg(w.local, w.header); }},
        {"quick add", [](Windows& w) { return new CQuickAddDlg(w.local, w.header, "NEW"); }},
        {"get product", [](Windows& w) { return new CGetProductDlg(w.local, w.header); }},
        {"products", [](Windows& w) { return new CProductsDlg(w.local, w.header); }},
        {"split", [](Windows& w) { return new CSplitPaymentDlg(w.local, w.header, w.sale, 10); }},
        {"deposit", [](Windows& w) { return new CDepositDlg(w.local, w.header, w.sale, 10); }},
        {"make payment", [](Windows& w) { return new CMakePaymentDlg(w.local, w.header, w.sale); }},
        {"payment", [](Windows& w) { return new CPaymentDlg(w.header); }},
        {"payment activity", [](Windows& w) { return new CPaymentActivityDlg(w.local); }},
        {"unpaid", [](Windows& w) { return new CUnpaidInvoicesDlg(w.local, UnpaidKind::Unpaid, {}); }},
        {"rentals", [](Windows& w) { return new CRentalsDlg(w.local, CRentalsDlg::Listing::All); }},
        {"return rentals", [](Windows& w) { return new CReturnRentalsDlg(w.local); }},
        {"customer", [](Windows& w) { return new CCustomerDlg(w.local, w.header); }},
        {"vendor", [](Windows& w) { return new CVendorDlg(w.local); }},
        {"log-in", [](Windows& w) { return new CLoginDlg(w.local); }},
        {"company", [](Windows& w) { return new CCompanyDlg(w.local, w.header); }},
        {"discount levels", [](Windows& w) { return new CDiscountLevelsDlg(w.local, w.header); }},
        {"receipt messages", [](Windows& w) { return new CReceiptMessagesDlg(w.local, w.header); }},
        {"sale dates", [](Windows& w) { return new CSaleDatesDlg(w.local, w.header); }},
        {"security",
         [](Windows& w) {
             w.boxes.answer(MessageBox::Answer::Ok);  // a store without a password is told to set one
             return new CSecurityDlg(w.local, w.header);
         }},
        {"taxes", [](Windows& w) { return new CTaxTableDlg(w.local, w.header); }},
        {"terms", [](Windows& w) { return new CTermsDlg(w.local); }},
        {"cashiers", [](Windows& w) { return new CPeopleDlg(w.local, PeopleKind::Cashiers); }},
        {"general", [](Windows& w) { return new CGeneralDlg(GeneralSettings::From(w.header, w.local)); }},
        {"find sales", [](Windows& w) { return new CFindSalesDlg(w.local, w.header); }},
        {"sales range", [](Windows& w) { return new CSalesRangeDlg(w.local); }},
        {"sales summary", [](Windows&) { return new CSalesSummaryDlg("Sales Today", SaleSums{}, true); }},
        {"wide summary", [](Windows&) { return new CWideSummaryDlg(ReportText{"Heading", "a\tb\r\n", {20, 20}, {0, 0}}); }},
        {"drawer count", [](Windows& w) { return new CDrawerReconcileDlg(w.local, w.header); }},
        {"purchase order", [](Windows& w) { return new CPurchaseOrderDlg(w.local); }},
    };
    for (const auto& [name, make] : windows) {
        SCOPED_TRACE(name);
        QWidget* window = make(*this);
        std::unique_ptr<QWidget> owned(window == dlg.get() ? nullptr : window);
        EXPECT_EQ(unreachableControls(window), QStringList{});
    }
}

}  // namespace
