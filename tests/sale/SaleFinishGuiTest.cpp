// Finish Sale F9 on the real sale screen, from the keyboard.
#include "CSaleDlg.h"
#include "InvoiceFile.h"
#include "ProductFile.h"
#include "ProductFiles.h"
#include "RegisterFixture.h"
#include "SaleKeys.h"
#include "StoredRecords.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace SaleIds;

namespace {

struct FinishScreen : RegisterFixture {
    ClockDouble clock{2026, 12, 7, 10, 30};
    std::unique_ptr<CSaleDlg> dlg;

    void SetUp() override
    {
        RegisterFixture::SetUp();
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
        header.mustSelectCashier = 0;
        ASSERT_EQ(WriteHeader(local, header), 0);
        ProductRecord a = makeProduct("A", 10);
        a.price[0] = 10;
        writeProductFile(local.GetPath("Products"), {a});
        dlg = std::make_unique<CSaleDlg>(local, header);
        ASSERT_TRUE(dlg->Initialize());
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    void TearDown() override
    {
        dlg.reset();
        RegisterFixture::TearDown();
    }
    void typeInto(int id, const QString& keys)
    {
        QWidget* w = dlg->control(id);
        w->setFocus(Qt::OtherFocusReason);
        if (auto* b = qobject_cast<QLineEdit*>(w))
            b->selectAll();
        QTest::keyClicks(w, keys);
        QTest::keyClick(w, Qt::Key_Return);
    }
    void payBy(const QString& type)
    {
        auto* combo = qobject_cast<QComboBox*>(dlg->control(kPayType));
        ASSERT_NE(combo, nullptr);
        if (combo->findText(type) < 0)
            combo->addItem(type);
        combo->setFocus(Qt::OtherFocusReason);
        combo->setCurrentIndex(combo->findText(type));
        emit combo->activated(combo->currentIndex());
    }
    void f9() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9); }
    float stock(const std::string& item) { return storedStock(local, item); }
    int sales() { return storedSales(local); }
};

TEST_F(FinishScreen, F9StoresTheSaleTakesItsStockAndStartsTheNextSale)
{
    typeInto(kItem, "A");
    typeInto(kQty, "2");
    boxes.allowUnscriptedOk();
    f9();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"A payment type must be selected.\n"});
    EXPECT_EQ(sales(), 0);

    payBy("Cash");
    boxes.clear();
    f9();  // Paid left empty
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Please enter the amount of cash paid.\n"});
    EXPECT_EQ(stock("A"), 10);

    typeInto(kPaid, "100");
    boxes.clear();
    f9();
    EXPECT_TRUE(boxes.texts().empty()) << boxes.texts().front();
    EXPECT_EQ(sales(), 1);
    EXPECT_EQ(stock("A"), 8);
    InvoiceRecord stored;
    ASSERT_TRUE(ReadInvoice(local, 0, stored));
    EXPECT_EQ(stored.address[InvoiceRecord::kName], "Retail");
    EXPECT_EQ(stored.qty[0], 2);
    EXPECT_EQ(qobject_cast<QLineEdit*>(dlg->control(kItem))->text(), "");
    EXPECT_EQ(dlg->state().count, 1);
    EXPECT_TRUE(dlg->state().showingNew());

    // F9 on the stored sale.
    dlg->control(kPrev)->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(dlg->control(kPrev), Qt::Key_Space);
    f9();
    EXPECT_TRUE(boxes.saw("This Sale has allready been processed."));
    EXPECT_EQ(sales(), 1);
    EXPECT_EQ(stock("A"), 8);
}
}  // namespace
