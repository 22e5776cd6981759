// The read-only sale display, opened on a stored sale as the list of found
// sales opens it.
#include "CSaleDisplayDlg.h"
#include "InvoiceFile.h"
#include "ModalDriver.h"
#include "RegisterFixture.h"
#include "StoredRecords.h"

#include <QLabel>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

struct SaleDisplayWindow : RegisterFixture {};

TEST_F(SaleDisplayWindow, ShowsTheStoredSaleWithAllItsSlotsOrStaysEmpty)
{
    const int n = storeSale(local, SaleSpec().item("TAPE25").qty(2).total(5.5f).cashier("Ann"));
    InvoiceRecord sale;
    ASSERT_TRUE(ReadInvoice(local, n, sale));
    sale.itemNumber[14] = "WD40";  // a slot past the twelve rows shown at once
    sale.qty[14] = 1;
    ASSERT_EQ(UpdateInvoice(local, sale), n);

    struct Seen {
        QString total, cashier, firstItem, slot15;
        int rows = -1;
    };
    const auto show = [&](int record) {
        Seen seen;
        whenModal<CSaleDisplayDlg>([&](CSaleDisplayDlg* d) {
            auto* lines = d->findChild<QTableWidget*>("display_lines");
            seen.rows = lines->rowCount();
            if (auto* total = d->findChild<QLabel*>("display_total")) {
                seen.total = total->text();
                seen.cashier = d->findChild<QLabel*>("display_cashier")->text();
                seen.firstItem = lines->item(0, 0)->text();
                seen.slot15 = lines->item(14, 0)->text();
            }
            d->accept();
        });
        CSaleDisplayDlg::ShowStoredSale(nullptr, local, header, record);
        return seen;
    };
    const Seen stored = show(n);
    EXPECT_EQ(stored.rows, 20);
    EXPECT_EQ(stored.total, "5.50");
    EXPECT_EQ(stored.cashier, "Ann");
    EXPECT_EQ(stored.firstItem, "TAPE25");
    EXPECT_EQ(stored.slot15, "WD40");

    boxes.allowUnscriptedOk();
    const Seen missing = show(n + 5);
    EXPECT_EQ(missing.rows, 0);
    EXPECT_TRUE(missing.total.isEmpty());
}

}  // namespace
