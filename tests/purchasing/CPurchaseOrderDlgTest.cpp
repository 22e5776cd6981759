// The "New Purchase Order" window from the sale screen's menu, driven from the
// keyboard and the mouse: an order built, saved, opened, printed and received.

#include "purchasing/CPurchaseOrderDlg.h"
#include "receivables/PaidRule.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/VendorFile.h"

#include "../print/PrintDialogDouble.h"
#include "support/BackOfficeWindow.h"
#include "support/ProductFiles.h"
#include "support/SaleScreenFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QProcess>

namespace {
QString boxText(QWidget* w, const char* name) { return child<QLineEdit>(w, name)->text(); }

// Chooses a date as the calendar does.
void typeDate(QWidget* w, const char* name, const QString& date)
{
    child<QDateEdit>(w, name)->setDate(QDate::fromString(date, "M/d/yyyy"));
}

void clickRow(QWidget* w, int row)
{
    auto* list = child<QTreeWidget>(w, "product_list");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
}

struct PurchaseOrderWindow : SaleScreenFixture {
    PrintDialogDouble printing;
    FileDialogDouble files;

    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        CPurchaseOrderDlg::ProgramOrder().New();
        VendorRecord acme;
        acme.text = {"Acme", "9 Mill Rd", "", "Troy", "NY", "12180"};
        ASSERT_EQ(AppendVendor(local, acme), FileCause::None);
        std::vector<ProductRecord> products;
        for (auto [item, vendor, number, stock] : {std::tuple{"BOLT", "Acme", "V-100", 20.0f},
                                                   {"NUT", "Acme Corp", "V-200", 40.0f}, {"PIPE", "Zeta", "Z-1", 1.0f}}) {
            products.push_back(makeProduct(item, stock));
            std::tie(products.back().vendor, products.back().vendorNumber) = std::tuple{vendor, number};
            products.back().cost = 0.25f;
            products.back().caseQty = 12;
        }
        writeProductFile(local.GetPath("Products"), products);
        InvoiceRecord sale = ClearedInvoice();
        std::tie(sale.itemNumber[0], sale.qty[0], sale.itemNumber[1], sale.qty[1]) = std::tuple{"bolt", 45.0f, "BOLT", 15.0f};
        int count = 0;
        ReadInvoiceCount(local, count);
        ASSERT_GE(AppendInvoice(local, sale, count, CalendarTime{2026, 1, 30, 18}), 0);
        noCashierChoice();
        open();
        ASSERT_EQ(UpdateHeader(local, header, [](SalesFileHeader& h) {
                      h.companyName = "Corner Shop";
                      h.companyAddress = "1 Main St\r\n";
                  }), 0);
    }
};

TEST_F(PurchaseOrderWindow, AnOrderIsBuiltSavedOpenedPrintedAndReceived)
{
    const std::string orderFile = dir.file("PO-1001.PON");
    whenModal<CPurchaseOrderDlg>([&](CPurchaseOrderDlg* w) {
        auto menu = [w](const char* name) { w->findChild<QAction*>(name)->trigger(); };
        expectMessage(boxes, "Select a Vendor with products first.", [w] { press(w, "estimate_go"); });
        child<QWidget>(w, "vendor_box")->setFocus();
        QTest::keyClick(child<QWidget>(w, "vendor_box"), Qt::Key_Down);
        EXPECT_EQ(rowsOf(child<QTreeWidget>(w, "product_list"), {0, 12}), (QStringList{"BOLT V-100", "NUT V-200"}));

        typeDate(w, "estimate_from", "1/30/2026");
        typeDate(w, "estimate_to", "1/1/2026");
        boxes.answer(MessageBox::Answer::Ok);
        press(w, "estimate_go");
        EXPECT_NE(boxes.texts().back().find("lies before the first"), std::string::npos);
        typeDate(w, "estimate_from", "1/1/2026");
        typeDate(w, "estimate_to", "1/30/2026");
        retype(w, "days_of_inventory", "15.7");
        press(w, "estimate_go");
        EXPECT_EQ(rowsOf(child<QTreeWidget>(w, "product_list"), {16, 17}), (QStringList{"60.00 10.00", "0.00 0.00"}));

        clickRow(w, 0);
        clickRow(w, 1);
        EXPECT_EQ(boxText(w, "po_amount_0"), "3.00");
        retypeAndEnter(w, "po_qty_1", "10");
        retypeAndEnter(w, "po_backorder_0", "2");
        retypeAndEnter(w, "po_number", "1001");
        retypeAndEnter(w, "po_discount", "1");
        EXPECT_EQ(boxText(w, "po_amount_1"), "2.50");
        EXPECT_EQ(boxText(w, "po_total"), "4.50");
        menu("action_po_save");
        ASSERT_TRUE(fileExists(orderFile));

        boxes.answer(MessageBox::Answer::Ok);
        menu("action_po_new");  // "Are you sure ...": an empty order
        EXPECT_EQ(boxText(w, "po_vendor_0"), "");
        files.setNextFileName(orderFile);
        menu("action_po_open");
        EXPECT_EQ(boxText(w, "po_number"), "1001");
        EXPECT_EQ(boxText(w, "po_description_1"), "desc NUT");

        printing.intoPdf(dir.file("po.pdf"));
        menu("action_po_print");
        QProcess pdf;
        pdf.start("pdftotext", {"-layout", QString::fromStdString(dir.file("po.pdf")), "-"});
        ASSERT_TRUE(pdf.waitForFinished());
        const QString printed = pdf.readAllStandardOutput();
        for (const char* want : {"Corner Shop", "1 Main St", "Troy, NY 12180", "Purchase Order# 1001", "V-200", "4.50"})
            EXPECT_TRUE(printed.contains(want)) << want << "\n" << printed.toStdString();
        EXPECT_FALSE(printed.contains("Your Address Here"));

        menu("action_po_add");
        EXPECT_EQ(child<QLabel>(w, "po_status")->text(), "PO Added to Inventory");
        EXPECT_FALSE(child<QWidget>(w, "po_qty_0")->isEnabled());
        EXPECT_EQ(boxText(w, "po_received_0"), "10.00");
        expectMessage(boxes, "This PO has already been added to Inventory.\n\nThere is nothing more to add.",
                      [w] { w->findChild<QAction*>("action_po_add")->trigger(); });
        QTest::keyClick(w, Qt::Key_Escape);  // saved: closes without asking
    });
    dlg->findChild<QAction*>("action_purchase_order")->trigger();
    const auto stored = readProducts(local.GetPath("Products"));
    EXPECT_EQ(stored[0].stock, 30);
    EXPECT_EQ(stored[1].stock, 50);
    EXPECT_EQ(readBytes(orderFile)[4], 1);
}

TEST_F(PurchaseOrderWindow, AnUnsavedOrderIsAskedAboutAndAFailedSaveKeepsTheWindowOpen)
{
    bool stillOpen = false;
    whenModal<CPurchaseOrderDlg>([&](CPurchaseOrderDlg* w) {
        child<QWidget>(w, "vendor_box")->setFocus();
        QTest::keyClick(child<QWidget>(w, "vendor_box"), Qt::Key_Down);
        clickRow(w, 0);
        expectMessage(boxes, "Click in the Vendor# edit box first",
                      [w] { w->findChild<QAction*>("action_po_clear_item")->trigger(); });
        retypeAndEnter(w, "po_number", "a/b");
        boxes.answer(MessageBox::Answer::Yes);
        boxes.answer(MessageBox::Answer::Ok);
        QTest::keyClick(w, Qt::Key_Escape);
        EXPECT_EQ(boxes.texts().at(1), "This PO has not been saved.\n\n Do you want to save it?");
        EXPECT_NE(boxes.texts().at(2).find("cannot hold \"/\""), std::string::npos);
        stillOpen = w->isVisible();
        // Opening another order offers the unsaved one for saving first.
        boxes.answer(MessageBox::Answer::No);
        files.setNextFileName("");
        w->findChild<QAction*>("action_po_open")->trigger();
        EXPECT_EQ(boxes.texts().back(), "This PO has not been saved.\n\n Do you want to save it?");
        EXPECT_EQ(files.requests().size(), 1u);
        boxes.answer(MessageBox::Answer::No);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    dlg->findChild<QAction*>("action_purchase_order")->trigger();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(CPurchaseOrderDlg::ProgramOrder().lineCount(), 1);  // kept for the next opening
}
}  // namespace
