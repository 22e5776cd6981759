// The read-only display of a stored sale.
#include "sale/CSaleDisplayDlg.h"
#include "storage/files/InvoiceFile.h"
#include "support/ModalDriver.h"
#include "support/RegisterFixture.h"
#include "support/StoredRecords.h"

#include <QLabel>
#include <QTableWidget>

namespace {

using SaleDisplayWindow = RegisterFixture;

TEST_F(SaleDisplayWindow, ShowsTheStoredSaleWithAllItsSlotsOrStaysEmpty)
{
    const int n = storeSale(local, SaleSpec().item("TAPE25").qty(2).total(5.5f).cashier("Ann"));
    InvoiceRecord sale;
    ASSERT_TRUE(ReadInvoice(local, n, sale));
    sale.itemNumber[14] = "WD40";  // a slot past the twelve rows shown at once
    sale.qty[14] = 1;
    ASSERT_EQ(UpdateInvoice(local, sale), n);

    // The number of lines, then total, cashier, the items of slots 1 and 15.
    const auto show = [&](int record) {
        QStringList seen;
        whenModal<CSaleDisplayDlg>([&](CSaleDisplayDlg* d) {
            auto* lines = d->findChild<QTableWidget*>("display_lines");
            seen << QString::number(lines->rowCount());
            if (auto* total = d->findChild<QLabel*>("display_total"))
                seen << total->text() << d->findChild<QLabel*>("display_cashier")->text()
                     << lines->item(0, 0)->text() << lines->item(14, 0)->text();
            d->accept();
        });
        CSaleDisplayDlg::ShowStoredSale(nullptr, local, header, record);
        return seen;
    };
    EXPECT_EQ(show(n), QStringList({"20", "5.50", "Ann", "TAPE25", "WD40"}));
    boxes.allowUnscriptedOk();
    EXPECT_EQ(show(n + 5), QStringList{"0"});
}

}  // namespace
