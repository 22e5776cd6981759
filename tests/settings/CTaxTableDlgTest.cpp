#include "settings/CCompanyDlg.h"
#include "settings/CDiscountLevelsDlg.h"
#include "settings/CReceiptMessagesDlg.h"
#include "settings/CSaleDatesDlg.h"
#include "settings/CTaxTableDlg.h"
#include "settings/CTextListDlg.h"
#include "settings/StoreDetails.h"

#include "support/BackOfficeWindow.h"
#include "support/SaleScreenFixture.h"

#include <QAction>
#include <QDateEdit>
#include <QTreeWidget>

namespace {

using StoreWindow = BackOfficeWindow;

TEST_F(StoreWindow, TaxRatesNotEditedKeepTheirStoredValue)
{
    SalesFileHeader h = storedHeader();
    h.simpleTax1 = 8.875f;
    h.simpleTax2 = 1.0f / 3.0f;
    ASSERT_EQ(WriteHeader(local, h), 0);
    ASSERT_EQ(AppendTaxZone(local, {"City", 8.875f, 0.25f}), 0);
    ASSERT_EQ(AppendTaxZone(local, {"County", 6, 0}), 0);
    boxes.answer(MessageBox::Answer::Yes);  // save changes first
    whenModal<CTaxTableDlg>([this](CTaxTableDlg* dlg) {
        EXPECT_EQ(child<QLineEdit>(dlg, "tax1")->text(), "8.875");
        EXPECT_EQ(child<QLineEdit>(dlg, "tax2")->text(), "0.3333");
        EXPECT_FALSE(child<QTreeWidget>(dlg, "zones")->isEnabled());
        toggle(dlg, "show_taxes_separately");
        press(dlg, "save");
        // Zones come into use with the simple tax off.
        toggle(dlg, "simple_tax");
        auto* zones = child<QTreeWidget>(dlg, "zones");
        EXPECT_TRUE(zones->isEnabled());
        EXPECT_EQ(zones->topLevelItem(0)->text(1), "8.875");
        chooseRow(zones, 0);  // "Save changes first?" Yes: the simple tax off
        EXPECT_EQ(child<QLineEdit>(dlg, "zone_name")->text(), "City");
        retype(dlg, "zone_tax2", "0.5");
        press(dlg, "save");
        press(dlg, "new");
        retype(dlg, "zone_name", "Harbor");
        retype(dlg, "zone_tax1", "7.125");
        press(dlg, "save");
        auto* zone = child<QComboBox>(dlg, "default_zone");
        zone->setFocus();
        QTest::keyClick(zone, Qt::Key_End);  // the last zone, Harbor
        press(dlg, "done");
    });
    EXPECT_TRUE(CTaxTableDlg::Run(nullptr, local, header));
    h = storedHeader();
    EXPECT_EQ((std::tuple{h.simpleTax1, h.simpleTax2, h.showTaxesSeparately, h.simpleTax}),
              (std::tuple{8.875f, 1.0f / 3.0f, 1u, 0u}));
    TaxTableRecord city, harbor;
    ASSERT_TRUE(FindTaxZone(local, "City", city) && FindTaxZone(local, "Harbor", harbor));
    EXPECT_EQ((std::tuple{city.tax1, city.tax2, harbor.tax1}), (std::tuple{8.875f, 0.5f, 7.125f}));
    EXPECT_EQ(GetDefaultZone(local), "Harbor");
}

TEST_F(StoreWindow, SaleDatesShowTodayThenStoreWholeDaysAndTheCompanyKeepsItsAddressLines)
{
    ClockDouble clock(2027, 3, 10);
    whenModal<CSaleDatesDlg>([this](CSaleDatesDlg* dlg) {
        EXPECT_EQ(child<QDateEdit>(dlg, "first_day")->date(), QDate(2027, 3, 10));
        child<QDateEdit>(dlg, "first_day")->setDate(QDate(2027, 3, 1));
        child<QDateEdit>(dlg, "last_day")->setDate(QDate(2027, 3, 31));
        toggle(dlg, "sale_on");
        press(dlg, "ok");
    });
    EXPECT_TRUE(CSaleDatesDlg::Run(nullptr, local, header));
    const SalesFileHeader h = storedHeader();
    EXPECT_EQ(h.saleDatesOn, 1u);
    EXPECT_EQ((std::pair{h.saleFirstDay, h.saleLastDay}),
              (std::pair{OleDate::fromCalendar(2027, 3, 1, 0, 0, 0), OleDate::fromCalendar(2027, 3, 31, 23, 59, 59)}));

    // The company details, the address over two lines.
    whenModal<CCompanyDlg>([this](CCompanyDlg* dlg) {
        retype(dlg, "name", "Corner Shop");
        retypeAndEnter(dlg, "address", "12 Main St");
        QTest::keyClicks(child<QPlainTextEdit>(dlg, "address"), "Springfield");
        retype(dlg, "phone", "555-0100");
        retype(dlg, "email", "shop@example.com");
        press(dlg, "ok");
    });
    EXPECT_TRUE(CCompanyDlg::Run(nullptr, local, header));
    const SalesFileHeader company = storedHeader();
    EXPECT_EQ((std::vector{company.companyName, company.companyAddress, company.phone, company.email}),
              (std::vector<std::string>{"Corner Shop", "12 Main St\r\nSpringfield\r\n", "555-0100",
                                        "shop@example.com"}));
}

TEST_F(StoreWindow, ReceiptMessagesAndLogo)
{
    files.setNextFileName("/logos/" + std::string(200, 'x') + ".BMP");
    files.setNextFileName("/logos/store.BMP");
    whenModal<CReceiptMessagesDlg>([this](CReceiptMessagesDlg* dlg) {
        EXPECT_EQ(child<QPlainTextEdit>(dlg, "receipt_header")->toPlainText(),
                  "Thank You for Shopping at ACME\nWe are Open 24 Hours a Day!\n");
        expectMessage(boxes, kLogoPathTooLong, [&] { press(dlg, "find_logo"); });
        press(dlg, "find_logo");
        EXPECT_EQ(storedHeader().logoPath, "/logos/store.BMP");  // stored at once
        local.securityOn = 1;
        expectMessage(boxes, kSecurityRefusal, [&] { press(dlg, "find_logo"); });  // no dialog is asked for
        EXPECT_EQ(files.requests().size(), 2u);
        EXPECT_EQ(files.requests()[0].defaultExtension, ".BMP");
        retypeAndEnter(dlg, "terms_message", "No returns");
        QTest::keyClicks(child<QPlainTextEdit>(dlg, "terms_message"), QString(500, 'y'));
        press(dlg, "ok");
    });
    CReceiptMessagesDlg::Run(nullptr, local, header);
    const SalesFileHeader h = storedHeader();
    EXPECT_EQ(h.termsMessage, "No returns\r\n" + std::string(387, 'y'));
    EXPECT_EQ(h.receiptHeader, SalesFileHeader().receiptHeader);
}

// The sale on screen uses what the Settings menu's windows store.
using SaleScreenSettings = SaleScreenFixture;

TEST_F(SaleScreenSettings, NewZonesDiscountLevelsAndPaymentTypesApplyAtOnce)
{
    addProducts({saleProduct("A100", 10.0f)});
    open();
    typeInto(SaleIds::kItem, "A100");
    ASSERT_EQ(text(SaleIds::kTotal), "10.00");

    boxes.answer(MessageBox::Answer::Yes);  // set this invoice to the default tax rate
    whenModal<CTaxTableDlg>([](CTaxTableDlg* dlg) {
        BackOfficeWindow::toggle(dlg, "simple_tax");
        retype(dlg, "zone_name", "Metro");
        retype(dlg, "zone_tax1", "8.875");
        press(dlg, "save");  // the simple tax off, and the new zone
        auto* zone = child<QComboBox>(dlg, "default_zone");
        zone->setFocus();
        QTest::keyClick(zone, Qt::Key_Home);
        press(dlg, "done");
    });
    dlg->findChild<QAction*>("action_taxes")->trigger();
    EXPECT_TRUE(boxes.saw("Would you like to set this invoice to the default tax rate?"));
    EXPECT_EQ(text(SaleIds::kTax1), "0.89");  // 8.875 % of 10.00
    EXPECT_EQ(text(SaleIds::kTotal), "10.89");

    // 10 % on a sale of 5.00 or more and less than 1000.00. Each box is stored
    // as it is left; a subtotal below the one before it is raised to it.
    whenModal<CDiscountLevelsDlg>([this](CDiscountLevelsDlg* dlg) {
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg));
        for (const auto& [box, typed] : {std::pair{"level_percent_1", "10"}, {"level_subtotal_1", "5"},
                                         {"level_subtotal_2", "1000"}, {"level_subtotal_3", "50"}, {"level_name_2", "Dealer"}}) {
            retype(dlg, box, typed);
            QTest::keyClick(child<QWidget>(dlg, box), Qt::Key_Tab);
        }
        EXPECT_EQ(child<QLineEdit>(dlg, "level_subtotal_3")->text(), "1000.00");
        EXPECT_EQ(storedHeader().levelNames[1], "Dealer");
        BackOfficeWindow::toggle(dlg, "sales_discount_on");
        press(dlg, "ok");
    });
    dlg->findChild<QAction*>("action_discount_levels")->trigger();
    EXPECT_EQ(storedHeader().discountSubtotal[2], 1000.0f);
    EXPECT_EQ(storedHeader().salesDiscountOn, 1u);
    EXPECT_EQ(text(SaleIds::kDiscount), "10.00");
    EXPECT_EQ(text(SaleIds::kTotal), "9.80");  // 9.00 and 8.875 % of it

    whenModal<CTextListDlg>([](CTextListDlg* dlg) {
        auto* list = child<QPlainTextEdit>(dlg, "list");
        list->moveCursor(QTextCursor::End);
        QTest::keyClicks(list, "Gift Card");
        press(dlg, "ok");
    });
    dlg->findChild<QAction*>("action_payment_types")->trigger();
    auto* payTypes = qobject_cast<QComboBox*>(dlg->control(SaleIds::kPayType));
    payTypes->showPopup();  // F8's list
    EXPECT_GE(payTypes->findText("Gift Card"), 0);
    payTypes->hidePopup();
}

}  // namespace
