// Products reached from the sale screen: Quick Add for a code no product has,
// and Get Product by F4.
#include "CGetProductDlg.h"
#include "CLocalFile.h"
#include "CQuickAddDlg.h"
#include "CSaleDlg.h"
#include "ModalDriver.h"
#include "PlatformDoubles.h"
#include "ProductFile.h"
#include "ProductFiles.h"
#include "ProductListWidget.h"
#include "PromptBridge.h"
#include "SaleKeys.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace SaleIds;

namespace {
struct SaleProducts : ::testing::Test {
    void SetUp() override
    {
        setUserPrompt(&bridge);
        dlg = std::make_unique<CSaleDlg>(local, header);
        ASSERT_TRUE(dlg->Initialize());
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    void TearDown() override
    {
        dlg.reset();
        setUserPrompt(nullptr);
    }
    QString text(int id) { return qobject_cast<QLineEdit*>(dlg->control(id))->text(); }

    TempDir dir;
    MessageBoxDouble boxes;
    ClockDouble clock{2026, 12, 6, 10, 30};
    PromptBridge bridge;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    std::unique_ptr<CSaleDlg> dlg;
};
}  // namespace

TEST_F(SaleProducts, UnknownCodeIsQuickAddedStoredAndRungUp)
{
    whenModal<CQuickAddDlg>([](CQuickAddDlg* add) {
        EXPECT_EQ(add->findChild<QLineEdit*>("item")->text(), "NEW1");
        QTest::keyClicks(add->findChild<QLineEdit*>("description"), "Widget");
        QTest::keyClicks(add->findChild<QLineEdit*>("price"), "2.50");
        QTest::keyClick(add, Qt::Key_F4);
    });
    QWidget* item = dlg->control(kItem);
    item->setFocus();
    QTest::keyClicks(item, "NEW1");
    QTest::keyClick(item, Qt::Key_Return);
    EXPECT_EQ(text(kItem), "NEW1");
    EXPECT_EQ(text(kDescription), "Widget");
    EXPECT_EQ(text(kPrice), "2.50");
    EXPECT_EQ(storedItems(local.GetPath("Products")), std::vector<std::string>{"NEW1"});
}

TEST_F(SaleProducts, F4GetsTheProductChosenWithEnter)
{
    ProductRecord p = makeProduct("GP1", 5);
    p.price[0] = 7.25f;
    ASSERT_EQ(AppendProduct(local, p), 0);
    whenModal<CGetProductDlg>([](CGetProductDlg* get) {
        QTest::keyClick(get, Qt::Key_F5);
        QTest::keyClick(get, Qt::Key_F4);
        QTest::keyClick(get->list(), Qt::Key_Return);
    });
    dlg->control(kItem)->setFocus();
    QTest::keyClick(dlg->control(kItem), Qt::Key_F4);
    EXPECT_EQ(text(kItem), "GP1");
    EXPECT_EQ(text(kPrice), "7.25");
    EXPECT_EQ(dlg->focusWidget(), dlg->control(kQty));
}
