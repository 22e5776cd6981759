#include "CProductsDlg.h"

#include "CImportCheckDlg.h"
#include "CLocalFile.h"
#include "ModalDriver.h"
#include "PlatformDoubles.h"
#include "ProductChangeAll.h"
#include "ProductFile.h"
#include "ProductFiles.h"
#include "ProductListWidget.h"
#include "ProductTextFile.h"
#include "PromptBridge.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class ProductsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUserPrompt(&bridge);
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
        ASSERT_EQ(EnsureProductFile(local), 0);
    }
    void TearDown() override { setUserPrompt(nullptr); }
    std::string path() const { return local.GetPath("Products"); }

    static QLineEdit* box(QWidget& dlg, const char* name) { return dlg.findChild<QLineEdit*>(name); }
    static void type(QWidget& dlg, const char* name, const QString& text)
    {
        QLineEdit* b = box(dlg, name);
        b->clear();
        QTest::keyClicks(b, text);
    }
    static void press(QWidget& dlg, const char* name) { dlg.findChild<QPushButton*>(name)->click(); }
    static void clickRow(CProductsDlg& dlg, int row)
    {
        ProductListWidget* list = dlg.list();
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    static std::vector<std::string> listed(CProductsDlg& dlg) { return dlg.list()->list().table().itemNumbers(); }

    TempDir dir;
    MessageBoxDouble boxes;
    FileDialogDouble files;
    PromptBridge bridge;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
};
}  // namespace

TEST_F(ProductsWindow, AddsShowsAndUpdatesWithoutUndoingSalesElsewhere)
{
    CProductsDlg dlg(local, header);
    dlg.show();
    type(dlg, "product_id", "A100");
    type(dlg, "description", "Apples");
    type(dlg, "price_1", "3.99");
    type(dlg, "stock", "10");
    press(dlg, "save");
    ASSERT_EQ(readProducts(path()).size(), 1u);
    EXPECT_EQ(listed(dlg), std::vector<std::string>{"A100"});
    EXPECT_EQ(readProducts(path())[0].taxStatus, 0);  // the built-in remembered tax

    // Saving it again without a selected row is refused, whatever the case.
    press(dlg, "clear");
    type(dlg, "product_id", "a100");
    boxes.answer(MessageBox::Answer::Ok);
    press(dlg, "save");
    EXPECT_TRUE(boxes.saw("Duplicate Item#"));
    EXPECT_EQ(readProducts(path()).size(), 1u);

    press(dlg, "list_all");
    clickRow(dlg, 0);
    EXPECT_TRUE(dlg.updateMode());
    EXPECT_EQ(dlg.findChild<QPushButton*>("save")->text(), "Update");
    EXPECT_EQ(box(dlg, "stock")->text(), "10.00");
    // Another register sells 4 while the product is shown; the price is changed here.
    ASSERT_EQ(UpdateProductByItem(local, "A100", [](ProductRecord& r) { r.stock -= 4; }), ChangeResult::Done);
    type(dlg, "price_1", "4.50");
    press(dlg, "save");
    const ProductRecord back = readProducts(path())[0];
    EXPECT_FLOAT_EQ(back.price[0], 4.5f);
    EXPECT_FLOAT_EQ(back.stock, 6);
    EXPECT_FALSE(dlg.updateMode());
    EXPECT_EQ(dlg.list()->list().table().cell(0, ProductColumn::kPrice), "4.50");
}

TEST_F(ProductsWindow, DeleteRemovesTheClickedProductEvenAfterItMoved)
{
    writeProductFile(path(), {makeProduct("A"), makeProduct("B"), makeProduct("C")});
    CProductsDlg dlg(local, header);
    dlg.show();
    press(dlg, "list_all");
    clickRow(dlg, 1);
    // Another register deletes A: C takes its place, B stays at 1.
    ASSERT_EQ(RemoveProductAt(local, 0), FileCause::None);
    boxes.answer(MessageBox::Answer::Yes);
    press(dlg, "delete");
    EXPECT_EQ(boxes.texts().back(), "Do want to delete this Product?");
    EXPECT_EQ(storedItems(path()), std::vector<std::string>{"C"});
    EXPECT_EQ(listed(dlg), (std::vector<std::string>{"A", "C"}));
    EXPECT_FALSE(dlg.findChild<QPushButton*>("delete")->isEnabled());

    // A listed product gone meanwhile says so, and Delete stays off.
    boxes.answer(MessageBox::Answer::Ok);
    clickRow(dlg, 0);
    EXPECT_EQ(boxes.texts().back(), "Didn't find Record.");
    EXPECT_FALSE(dlg.findChild<QPushButton*>("delete")->isEnabled());
}

TEST_F(ProductsWindow, SearchesOnEnteredFieldsAndLowQuantity)
{
    writeProductFile(path(), {makeProduct("P1", 2.9f), makeProduct("P2", 3), makeProduct("Q3", 1)});
    CProductsDlg dlg(local, header);
    dlg.show();
    struct Case {
        const char* item;
        const char* low;
        std::vector<std::string> listed;
    } cases[] = {
        {"", " 3 ", {"P1", "Q3"}},
        {"p", "3", {"P1"}},
        {"p", "", {"P1", "P2"}},
        {"", "", {"P1", "P2", "Q3"}},
    };
    for (const auto& c : cases) {
        type(dlg, "product_id", c.item);
        type(dlg, "low_qty", c.low);
        press(dlg, "search");
        EXPECT_EQ(listed(dlg), c.listed) << c.item << "|" << c.low;
    }
}

TEST_F(ProductsWindow, ChangeMenuEditsListedRowsAndRefusesPricesWithoutAColumn)
{
    ProductRecord a = makeProduct("A"), b = makeProduct("B"), h = makeProduct("H");
    a.cost = 10;
    b.cost = 20;
    h.cost = 5;
    writeProductFile(path(), {a, b, h});
    CProductsDlg dlg(local, header);
    dlg.show();
    press(dlg, "list_all");
    clickRow(dlg, 2);
    dlg.OnHideRow();
    type(dlg, "change_all", "10");
    auto trigger = [&](ChangeAll::Op op) {
        dlg.findChild<QAction*>(QString("change_%1").arg(op))->trigger();
    };
    boxes.answer(MessageBox::Answer::Ok);
    trigger(ChangeAll::MultiplyCost);
    EXPECT_EQ(boxes.texts().back(), "Multiply all listed Cost by Change All.\n\n");
    const auto back = readProducts(path());
    EXPECT_FLOAT_EQ(back[0].cost, 11);
    EXPECT_FLOAT_EQ(back[1].cost, 22);
    EXPECT_FLOAT_EQ(back[2].cost, 5);  // hidden
    EXPECT_EQ(dlg.list()->list().table().cell(1, ProductColumn::kCost), "22.00");

    boxes.answer(MessageBox::Answer::Ok);
    const auto before = readBytes(path());
    trigger(ChangeAll::FillPrice);
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_EQ(readBytes(path()), before);

    // Cancel changes nothing.
    boxes.answer(MessageBox::Answer::Cancel);
    trigger(ChangeAll::FillStock);
    EXPECT_EQ(readBytes(path()), before);

    // From the keyboard: the current cell moved to "Price2" chooses that level.
    dlg.list()->setCurrentIndex(dlg.list()->model()->index(0, ProductColumn::kPrice + 1));
    boxes.answer(MessageBox::Answer::Ok);
    trigger(ChangeAll::FillPrice);
    EXPECT_FLOAT_EQ(readProducts(path())[0].price[1], 10);
    EXPECT_FLOAT_EQ(readProducts(path())[0].price[0], 0);
}

TEST_F(ProductsWindow, ImportsAfterTheCheckAndExportsWhatItImported)
{
    const std::string in = dir.file("in.txt");
    const std::string text = std::string(ProductText::kHeading) +
                             "1\t5\t2.50\t3.99\t0\t0\t0\t0\t0\t0\t12\tFruit\tA100\tApples\tAcme\tAC-1\tProduce\t4711\t1\t5\t0\r\n"
                             "\n7\t1\n"
                             "0\t2\t1\t1\t1\t1\t1\t1\t1\t0\t0\tC\tLAST\tD\tV\tVN\tDp\tB\t0\t0\t1";
    writeBytes(in, std::vector<std::uint8_t>(text.begin(), text.end()));
    CProductsDlg dlg(local, header);
    dlg.show();

    // Cancelled in the check window: nothing.
    boxes.answer(MessageBox::Answer::Ok);
    files.setNextFileName(in);
    whenModal<CImportCheckDlg>([](CImportCheckDlg* check) { check->reject(); });
    press(dlg, "import");
    EXPECT_TRUE(readProducts(path()).empty());

    boxes.answer(MessageBox::Answer::Ok);
    files.setNextFileName(in);
    whenModal<CImportCheckDlg>([](CImportCheckDlg* check) {
        for (int i = 0; i < 4; ++i)
            check->OnNext();
        EXPECT_EQ(check->current(), 2);  // stops at the last product
        EXPECT_EQ(check->findChild<QLineEdit*>("check_0")->text(), "LAST");
        check->accept();
    });
    press(dlg, "import");
    const auto records = readProducts(path());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].taxStatus, 0);
    EXPECT_EQ(records[2].mode, ProductRecord::kRent);
    EXPECT_EQ(listed(dlg).size(), 3u);

    const std::string out = dir.file("out.txt");
    files.setNextFileName(out);
    press(dlg, "export");
    ASSERT_EQ(files.requests().back().initialName, "Products.txt");
    const auto exported = readBytes(out);
    EXPECT_EQ(ProductText::Parse(std::string(exported.begin(), exported.end())).size(), 3u);
    EXPECT_NE(std::string(exported.begin(), exported.end()).find("\tA100\tApples\t"), std::string::npos);
}

TEST_F(ProductsWindow, FitsIn1024x768)
{
    writeProductFile(path(), {makeProduct("A1", 3), makeProduct("B2", 4)});
    CProductsDlg dlg(local, header);
    dlg.resize(1024, 740);
    dlg.show();
    press(dlg, "list_all");
    QApplication::processEvents();
    dlg.grab().save(QString(TEST_ARTIFACTS) + "/products-1024x768.png");
    for (QWidget* w : dlg.findChildren<QLineEdit*>())
        EXPECT_GE(w->width(), w->minimumSizeHint().width() - 1) << w->objectName().toStdString();
    EXPECT_LE(dlg.minimumSizeHint().width(), 1024);
    EXPECT_LE(dlg.minimumSizeHint().height(), 740);
}

TEST_F(ProductsWindow, RemembersChoicesAndWidthsForTheNextOpening)
{
    {
        CProductsDlg dlg(local, header);
        dlg.show();
        auto* tax = dlg.findChild<QComboBox*>("tax");
        tax->setCurrentIndex(2);
        emit tax->activated(2);
        dlg.findChild<QWidget*>("mode_1")->setProperty("checked", true);
        type(dlg, "product_id", "R1");
        press(dlg, "save");
        dlg.list()->setColumnWidth(1, 222);
        boxes.answer(MessageBox::Answer::Ok);  // "Are you finished with ..."
        type(dlg, "product_id", "R1");
        press(dlg, "done");
        EXPECT_TRUE(boxes.saw("Are you finished with\nItem# R1  "));
    }
    CProductsDlg again(local, header);
    EXPECT_EQ(again.findChild<QComboBox*>("tax")->currentIndex(), 2);
    EXPECT_TRUE(again.findChild<QWidget*>("mode_1")->property("checked").toBool());
    EXPECT_EQ(again.list()->columnWidth(1), 222);
    EXPECT_EQ(readProducts(path())[0].mode, ProductRecord::kRent);
}

TEST_F(ProductsWindow, ColumnPopUpFillsThePriceLevelOfTheRightClickedColumn)
{
    ProductRecord a = makeProduct("A");
    a.price = {1, 2, 3, 4, 5, 6};
    writeProductFile(path(), {a});
    CProductsDlg dlg(local, header);
    dlg.show();
    press(dlg, "list_all");
    type(dlg, "change_all", "9.5");
    auto* head = dlg.list()->horizontalHeader();
    const int price3 = ProductColumn::kPrice + 2;
    const QPoint at(head->sectionViewportPosition(price3) + head->sectionSize(price3) / 2, head->height() / 2);
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            offered << action->text();
        for (QAction* action : menu->actions())
            if (action->text() == "Fill Price with Change All")
                action->trigger();
        menu->close();
    });
    boxes.answer(MessageBox::Answer::Ok);
    emit head->customContextMenuRequested(at);
    EXPECT_EQ(offered, (QStringList{"Fill Price with Change All", "Add to Price from Change All",
                                    "Multiply Price by % from Change All"}));
    EXPECT_EQ(boxes.texts().back(), "\nFill all listed Prices with the field Change All.\n\n");
    const ProductRecord back = readProducts(path())[0];
    EXPECT_FLOAT_EQ(back.price[2], 9.5f);
    EXPECT_FLOAT_EQ(back.price[3], 4);
    EXPECT_EQ(dlg.list()->list().table().cell(0, price3), "9.50");
}

// The editor's Settings menu reaches the store's list windows; a category
// added there is offered by the editor at once and kept in the header.
TEST_F(ProductsWindow, SettingsMenuAddsACategoryTheEditorOffersAtOnce)
{
    CProductsDlg dlg(local, header);
    dlg.show();
    auto* categories = dlg.findChild<QAction*>("action_categories");
    ASSERT_NE(categories, nullptr);
    whenModal<QDialog>([](QDialog* list) {
        auto* text = list->findChild<QPlainTextEdit*>("list");
        ASSERT_NE(text, nullptr);
        text->setPlainText(text->toPlainText().trimmed() + "\nGarden");
        list->accept();
    });
    categories->trigger();
    auto* box = dlg.findChild<QComboBox*>("category");
    ASSERT_NE(box, nullptr);
    EXPECT_GE(box->findText("Garden"), 0);
    SalesFileHeader stored;
    ASSERT_EQ(ReadHeader(local, stored), 0);
    EXPECT_NE(stored.categories.find("Garden\r\n"), std::string::npos);
}
