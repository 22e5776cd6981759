#include "CGetProductDlg.h"
#include "CProductsDlg.h"
#include "CQuickAddDlg.h"

#include "CLocalFile.h"
#include "ListFiles.h"
#include "ModalDriver.h"
#include "PlatformDoubles.h"
#include "ProductFile.h"
#include "ProductFiles.h"
#include "ProductListWidget.h"
#include "PromptBridge.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class ProductLookup : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUserPrompt(&bridge);
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
        ProductRecord level = makeProduct("LVL", 3);
        level.price = {1, 4.5f, 0, 0, 0, 0};
        writeProductFile(path(), {makeProduct("A1"), level, makeProduct("B2")});
    }
    void TearDown() override { setUserPrompt(nullptr); }
    std::string path() const { return local.GetPath("Products"); }
    static void type(QWidget& dlg, const char* name, const QString& text)
    {
        auto* box = dlg.findChild<QLineEdit*>(name);
        box->clear();
        QTest::keyClicks(box, text);
    }

    TempDir dir;
    MessageBoxDouble boxes;
    PromptBridge bridge;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
};
}  // namespace

TEST_F(ProductLookup, EnterAndClickTakeTheSameStoredProduct)
{
    for (bool byClick : {false, true}) {
        CGetProductDlg dlg(local, header);
        dlg.show();
        type(dlg, "item", "lv");
        QTest::keyClick(&dlg, Qt::Key_F6);
        ASSERT_EQ(dlg.list()->model()->rowCount(), 1);
        QTest::keyClick(&dlg, Qt::Key_F4);
        EXPECT_EQ(dlg.focusWidget(), dlg.list());
        // The product's price changes after it was listed: the stored one is taken.
        ASSERT_EQ(UpdateProductByItem(local, "LVL", [](ProductRecord& r) { r.price[1] = 5; }), ChangeResult::Done);
        if (byClick) {
            const QRect r = dlg.list()->visualRect(dlg.list()->model()->index(0, 0));
            QTest::mouseClick(dlg.list()->viewport(), Qt::LeftButton, {}, r.center());
        } else {
            QTest::keyClick(dlg.list(), Qt::Key_Return);
        }
        EXPECT_EQ(dlg.QDialog::result(), QDialog::Accepted) << byClick;
        EXPECT_EQ(dlg.picked().itemNumber, "LVL");
        EXPECT_FLOAT_EQ(dlg.picked().price[1], 5);
        EXPECT_FLOAT_EQ(dlg.picked().price[2], 0);  // the sale screen falls back to a lower level
        ASSERT_EQ(UpdateProductByItem(local, "LVL", [](ProductRecord& r) { r.price[1] = 4.5f; }), ChangeResult::Done);
    }
}

TEST_F(ProductLookup, GoneProductOrNoSelectionTakesNothing)
{
    CGetProductDlg dlg(local, header);
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_F5);
    ASSERT_EQ(dlg.list()->model()->rowCount(), 3);
    boxes.answer(MessageBox::Answer::Ok);
    dlg.OnTake();
    EXPECT_EQ(boxes.texts().back(), "Click on the Item# to use product.");
    ASSERT_EQ(RemoveProductByItem(local, "B2"), ChangeResult::Done);
    dlg.list()->selectRow(2);
    boxes.answer(MessageBox::Answer::Ok);
    QTest::keyClick(dlg.list(), Qt::Key_Return);
    EXPECT_EQ(boxes.texts().back(), "Didn't find Record.");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.picked().itemNumber.empty());
    // F7 clears the search boxes.
    type(dlg, "item", "x");
    QTest::keyClick(&dlg, Qt::Key_F7);
    EXPECT_TRUE(dlg.findChild<QLineEdit*>("item")->text().isEmpty());
}

TEST_F(ProductLookup, QuickAddRefusesEmptyAndTakenItemNumbersAndStoresTheDepartment)
{
    header.departments = "Produce\r\nHardware\r\n";
    struct Case {
        const char* item;
        const char* message;
    } cases[] = {{"", "Must have a Item#"}, {"a1", "Must have a unique Item#"}};
    for (const auto& c : cases) {
        CQuickAddDlg dlg(local, header, c.item);
        dlg.show();
        boxes.answer(MessageBox::Answer::Ok);
        QTest::keyClick(&dlg, Qt::Key_F4);
        EXPECT_EQ(boxes.texts().back(), c.message);
        EXPECT_TRUE(dlg.isVisible());
    }
    CQuickAddDlg dlg(local, header, "NEW9");
    dlg.show();
    type(dlg, "description", "Nails");
    type(dlg, "price", "2.25");
    type(dlg, "qty", "40");
    dlg.findChild<QComboBox*>("department")->setCurrentText("Hardware");
    QTest::keyClick(&dlg, Qt::Key_F4);
    EXPECT_EQ(dlg.QDialog::result(), QDialog::Accepted);
    const ProductRecord built = dlg.Built();
    EXPECT_EQ(built.department, "Hardware");
    EXPECT_EQ(built.taxStatus, 0);  // the register's remembered tax (built-in 0)
    EXPECT_FLOAT_EQ(built.price[0], 2.25f);
    EXPECT_FLOAT_EQ(built.stock, 40);
    QTest::keyClick(&dlg, Qt::Key_F6);
    EXPECT_TRUE(dlg.findChild<QLineEdit*>("item")->text().isEmpty());
    EXPECT_EQ(dlg.findChild<QComboBox*>("tax")->currentIndex(), 1);
}

TEST_F(ProductLookup, EditorFromAnyEntryOpensOnlyWhileSecurityIsOff)
{
    local.securityOn = 1;
    {
        ModalGuard guard;
        boxes.answer(MessageBox::Answer::Ok);
        CProductsDlg::Open(local, header, nullptr);
        CFindProductDlg find(local, header);
        boxes.answer(MessageBox::Answer::Ok);
        find.OnNewProduct();
        EXPECT_FALSE(guard.opened());
        EXPECT_EQ(boxes.texts().size(), 2u);
        EXPECT_TRUE(boxes.saw("Security is on."));
    }
    local.securityOn = 0;
    whenModal<CProductsDlg>([](CProductsDlg* editor) { editor->OnDone(); });
    CProductsDlg::Open(local, header, nullptr);
    EXPECT_EQ(boxes.texts().size(), 2u);
}
