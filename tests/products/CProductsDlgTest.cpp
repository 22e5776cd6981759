#include "products/CGetProductDlg.h"
#include "products/CImportCheckDlg.h"
#include "products/CProductsDlg.h"
#include "products/CQuickAddDlg.h"
#include "products/ProductChangeAll.h"
#include "products/ProductListWidget.h"
#include "products/ProductTextFile.h"

#include "support/BackOfficeWindow.h"
#include "support/ProductFiles.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

namespace {
struct ProductsWindow : BackOfficeWindow {
    void SetUp() override
    {
        BackOfficeWindow::SetUp();
        ASSERT_EQ(EnsureProductFile(local), 0);
    }
    std::string path() const { return local.GetPath("Products"); }

    static void clickRow(ProductListWidget* list, int row)
    {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    static std::vector<std::string> listed(CProductsDlg& dlg) { return dlg.list()->list().table().itemNumbers(); }
};

// Three products, LVL with a level-1 price.
struct ProductLookup : ProductsWindow {
    void SetUp() override
    {
        ProductsWindow::SetUp();
        ProductRecord level = makeProduct("LVL", 3);
        level.price = {1, 4.5f, 0, 0, 0, 0};
        writeProductFile(path(), {makeProduct("A1"), level, makeProduct("B2")});
    }
};
}  // namespace

TEST_F(ProductLookup, EnterAndClickTakeTheSameStoredProductAndAGoneOneNothing)
{
    for (bool byClick : {false, true}) {
        CGetProductDlg dlg(local, header);
        dlg.show();
        retype(&dlg, "item", "lv");
        QTest::keyClick(&dlg, Qt::Key_F6);
        ASSERT_EQ(dlg.list()->model()->rowCount(), 1);
        QTest::keyClick(&dlg, Qt::Key_F4);
        EXPECT_EQ(dlg.focusWidget(), dlg.list());
        // The product's price changes after it was listed: the stored one is taken.
        ASSERT_EQ(UpdateProductByItem(local, "LVL", [](ProductRecord& r) { r.price[1] = 5; }), ChangeResult::Done);
        if (byClick)
            clickRow(dlg.list(), 0);
        else
            QTest::keyClick(dlg.list(), Qt::Key_Return);
        EXPECT_EQ(dlg.QDialog::result(), QDialog::Accepted) << byClick;
        EXPECT_EQ(dlg.picked().itemNumber, "LVL");
        EXPECT_FLOAT_EQ(dlg.picked().price[1], 5);
        EXPECT_FLOAT_EQ(dlg.picked().price[2], 0);  // the sale screen falls back to a lower level
        ASSERT_EQ(UpdateProductByItem(local, "LVL", [](ProductRecord& r) { r.price[1] = 4.5f; }), ChangeResult::Done);
    }

    // A product gone since it was listed, or no row chosen, takes nothing.
    CGetProductDlg dlg(local, header);
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_F5);
    ASSERT_EQ(dlg.list()->model()->rowCount(), 3);
    expectMessage(boxes, "Click on the Item# to use product.", [&] { dlg.OnTake(); });
    ASSERT_EQ(RemoveProductByItem(local, "B2"), ChangeResult::Done);
    dlg.list()->selectRow(2);
    expectMessage(boxes, "Didn't find Record.", [&] { QTest::keyClick(dlg.list(), Qt::Key_Return); });
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.picked().itemNumber.empty());
    // F7 clears the search boxes.
    retype(&dlg, "item", "x");
    QTest::keyClick(&dlg, Qt::Key_F7);
    EXPECT_TRUE(dlg.findChild<QLineEdit*>("item")->text().isEmpty());
}

TEST_F(ProductLookup, QuickAddRefusesEmptyAndTakenItemNumbersAndStoresTheDepartment)
{
    header.departments = "Produce\r\nHardware\r\n";
    for (auto [item, message] : {std::pair{"", "Must have a Item#"}, {"a1", "Must have a unique Item#"}}) {
        CQuickAddDlg dlg(local, header, item);
        dlg.show();
        expectMessage(boxes, message, [&] { QTest::keyClick(&dlg, Qt::Key_F4); });
        EXPECT_TRUE(dlg.isVisible());
    }
    {
        CQuickAddDlg bad(local, header, "NEW8");
        bad.show();
        retype(&bad, "cost", "2.5x");
        expectMessage(boxes, "The box \"Cost\" takes a number.\n\n\"2.5x\" is not one.",
                      [&] { QTest::keyClick(&bad, Qt::Key_F4); });
        EXPECT_TRUE(bad.isVisible());
    }
    CQuickAddDlg dlg(local, header, "NEW9");
    dlg.show();
    retype(&dlg, "description", "Nails");
    retype(&dlg, "price", "2,257");  // a decimal comma, stored to the cent
    retype(&dlg, "qty", "40");
    auto* department = dlg.findChild<QComboBox*>("department");
    department->setFocus();
    department->setCurrentText("Hardware");
    QTest::keyClick(department, Qt::Key_F4);  // "OK (F4)" even where a drop-down list has the focus
    EXPECT_EQ(dlg.QDialog::result(), QDialog::Accepted);
    const ProductRecord built = dlg.Built();
    EXPECT_EQ(built.department, "Hardware");
    EXPECT_EQ(built.taxStatus, 0);  // the register's remembered tax (built-in 0)
    EXPECT_FLOAT_EQ(built.price[0], 2.26f);
    EXPECT_FLOAT_EQ(built.stock, 40);
    QTest::keyClick(&dlg, Qt::Key_F6);
    EXPECT_TRUE(dlg.findChild<QLineEdit*>("item")->text().isEmpty());
    EXPECT_EQ(dlg.findChild<QComboBox*>("tax")->currentIndex(), 1);
}

TEST_F(ProductsWindow, AddsShowsAndUpdatesWithoutUndoingSalesElsewhere)
{
    CProductsDlg dlg(local, header);
    dlg.show();
    retype(&dlg, "product_id", "A100");
    retype(&dlg, "description", "Apples");
    // A decimal comma is read as the point; what is no number is refused.
    retype(&dlg, "price_1", "3,99");
    retype(&dlg, "stock", "10x");
    expectMessage(boxes, "The box \"In Stock\" takes a number.\n\n\"10x\" is not one.", [&] { press(&dlg, "save"); });
    EXPECT_TRUE(readProducts(path()).empty());
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(&dlg, "stock"));
    retype(&dlg, "stock", " 10 ");
    press(&dlg, "save");
    EXPECT_EQ(listed(dlg), std::vector<std::string>{"A100"});
    EXPECT_FLOAT_EQ(readProducts(path())[0].price[0], 3.99f);

    // Saving it again without a selected row is refused, whatever the case.
    press(&dlg, "clear");
    retype(&dlg, "product_id", "a100");
    expectMessage(boxes, "Duplicate Item#\nPlease change item# or\nclick on item# in colum to edit.",
                  [&] { press(&dlg, "save"); });

    press(&dlg, "list_all");
    clickRow(dlg.list(), 0);
    EXPECT_TRUE(dlg.updateMode());
    EXPECT_EQ(dlg.findChild<QPushButton*>("save")->text(), "Update");
    EXPECT_EQ(child<QLineEdit>(&dlg, "stock")->text(), "10.00");
    // Another register sells 4 and sets Price 2 (in fractions of a cent) while the
    // product is shown; here the case of the Item# and the price are changed.
    ASSERT_EQ(UpdateProductByItem(local, "A100",
                                  [](ProductRecord& r) {
                                      r.stock -= 4;
                                      r.price[1] = 4.999f;
                                  }),
              ChangeResult::Done);
    retype(&dlg, "product_id", "a100");
    retype(&dlg, "price_1", "4.50");
    press(&dlg, "save");
    const ProductRecord back = readProducts(path())[0];
    EXPECT_EQ(back.itemNumber, "a100");
    EXPECT_FLOAT_EQ(back.price[0], 4.5f);
    EXPECT_FLOAT_EQ(back.price[1], 4.999f);
    EXPECT_FLOAT_EQ(back.stock, 6);
    EXPECT_FALSE(dlg.updateMode());
    EXPECT_EQ(dlg.list()->list().table().cell(0, ProductColumn::kPrice), "4.50");
}

TEST_F(ProductsWindow, SearchesOnEnteredFieldsAndDeletesTheClickedProductEvenAfterItMoved)
{
    writeProductFile(path(), {makeProduct("P1", 2.9f, "999"), makeProduct("P2", 3), makeProduct("Q3", 1)});
    CProductsDlg dlg(local, header);
    dlg.show();
    const std::tuple<const char*, const char*, std::vector<std::string>> cases[] = {
        {"", " 3 ", {"P1", "Q3"}}, {"p", "3", {"P1"}}, {"p", "", {"P1", "P2"}}, {"", "", {"P1", "P2", "Q3"}}};
    for (const auto& [item, low, want] : cases) {
        retype(&dlg, "product_id", item);
        retype(&dlg, "low_qty", low);
        press(&dlg, "search");
        EXPECT_EQ(listed(dlg), want) << item << "|" << low;
    }
    // A search leaves out commission and mode; the full list shows them.
    const ProductTable& table = dlg.list()->list().table();
    EXPECT_EQ((std::vector{table.cell(0, ProductColumn::kBarCode), table.cell(0, ProductColumn::kMode)}),
              (std::vector<std::string>{"999", ""}));
    press(&dlg, "list_all");
    EXPECT_EQ((std::vector{table.cell(0, ProductColumn::kCommission), table.cell(0, ProductColumn::kMode)}),
              (std::vector<std::string>{"0.0", "Sell"}));
    clickRow(dlg.list(), 1);
    // Another register deletes P1: Q3 takes its place, P2 stays at 1.
    ASSERT_EQ(RemoveProductByItem(local, "P1"), ChangeResult::Done);
    boxes.answer(MessageBox::Answer::Yes);
    press(&dlg, "delete");
    EXPECT_EQ(boxes.texts().back(), "Do want to delete this Product?");
    EXPECT_EQ(storedItems(path()), std::vector<std::string>{"Q3"});
    EXPECT_EQ(listed(dlg), (std::vector<std::string>{"P1", "Q3"}));
    EXPECT_FALSE(dlg.findChild<QPushButton*>("delete")->isEnabled());

    // A listed product gone meanwhile says so, and Delete stays off.
    expectMessage(boxes, "Didn't find Record.", [&] { clickRow(dlg.list(), 0); });
    EXPECT_FALSE(dlg.findChild<QPushButton*>("delete")->isEnabled());
}

TEST_F(ProductsWindow, ChangeMenuAndColumnPopUpEditListedRowsAndRefusePricesWithoutAColumn)
{
    ProductRecord a = makeProduct("A"), h = makeProduct("H");
    a.cost = 10, h.cost = 5;
    a.price = {1, 2, 3, 4, 5, 6};
    writeProductFile(path(), {a, h});
    CProductsDlg dlg(local, header);
    dlg.show();
    press(&dlg, "list_all");
    clickRow(dlg.list(), 1);
    dlg.OnHideRow();
    retype(&dlg, "change_all", "10");
    auto trigger = [&](ChangeAll::Op op) { dlg.findChild<QAction*>(QString("change_%1").arg(op))->trigger(); };
    expectMessage(boxes, "Multiply all listed Cost by Change All.\n\n", [&] { trigger(ChangeAll::MultiplyCost); });
    EXPECT_FLOAT_EQ(readProducts(path())[1].cost, 5);  // hidden
    EXPECT_EQ(dlg.list()->list().table().cell(0, ProductColumn::kCost), "11.00");

    const auto before = readBytes(path());
    expectMessage(boxes, "Choose a price column first: right-click it, or move to it in the list.",
                  [&] { trigger(ChangeAll::FillPrice); });
    EXPECT_EQ(readBytes(path()), before);
    boxes.answer(MessageBox::Answer::Cancel);
    trigger(ChangeAll::FillStock);
    EXPECT_EQ(readBytes(path()), before);

    // From the keyboard: the current cell moved to "Price2" chooses that level.
    dlg.list()->setCurrentIndex(dlg.list()->model()->index(0, ProductColumn::kPrice + 1));
    boxes.answer(MessageBox::Answer::Ok);
    trigger(ChangeAll::FillPrice);
    EXPECT_FLOAT_EQ(readProducts(path())[0].price[1], 10);
    EXPECT_FLOAT_EQ(readProducts(path())[0].price[0], 1);

    // The pop-up of a column's heading fills the level of that column.
    retype(&dlg, "change_all", "9.5");
    auto* head = dlg.list()->horizontalHeader();
    const int price3 = ProductColumn::kPrice + 2;
    const QPoint at(head->sectionViewportPosition(price3) + head->sectionSize(price3) / 2, head->height() / 2);
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            offered << action->text();
        menu->actions().front()->trigger();
        menu->close();
    });
    expectMessage(boxes, "\nFill all listed Prices with the field Change All.\n\n",
                  [&] { emit head->customContextMenuRequested(at); });
    EXPECT_EQ(offered, (QStringList{"Fill Price with Change All", "Add to Price from Change All",
                                    "Multiply Price by % from Change All"}));
    const ProductRecord back = readProducts(path())[0];
    EXPECT_FLOAT_EQ(back.price[2], 9.5f);
    EXPECT_FLOAT_EQ(back.price[3], 4);
    EXPECT_EQ(dlg.list()->list().table().cell(0, price3), "9.50");
}

TEST_F(ProductsWindow, ImportsAfterTheCheckAndExportsWhatItImported)
{
    const std::string in = dir.file("in.txt");
    const std::string text = "\xEF\xBB\xBF" + std::string(ProductText::kHeading) +
                             "1\t5\t2.50\t3.99\t0\t0\t0\t0\t0\t0\t12\tFruit\tA100\tCaf\xC3\xA9\tAcme\tAC-1\tProduce\t4711\t1\t5\t0\r\n"
                             "0\t2\tabc\t1\t1\t1\t1\t1\t1\t0\t0\tC\tBAD\tD\tV\tVN\tDp\tB\t0\t0\t1\r\n"
                             "0\t2\t1\t1\t1\t1\t1\t1\t1\t0\t0\tC\tLAST\tD\tV\tVN\tDp\tB\t0\t0\t1";
    writeBytes(in, std::vector<std::uint8_t>(text.begin(), text.end()));
    CProductsDlg dlg(local, header);
    dlg.show();

    // Cancelled in the check window: nothing.
    files.setNextFileName(in);
    whenModal<CImportCheckDlg>([](CImportCheckDlg* check) { check->reject(); });
    expectMessage(boxes, CImportCheckDlg::kFormatMessage, [&] { press(&dlg, "import"); });
    EXPECT_TRUE(readProducts(path()).empty());

    files.setNextFileName(in);
    whenModal<CImportCheckDlg>([](CImportCheckDlg* check) {
        EXPECT_EQ(check->findChild<QPlainTextEdit*>("notes")->toPlainText(),
                  "Line 3: refused, Cost is not a number: \"abc\"");
        for (int i = 0; i < 3; ++i)
            check->OnNext();
        EXPECT_EQ(check->current(), 1);  // stops at the last product
        EXPECT_EQ(check->findChild<QLineEdit*>("check_0")->text(), "LAST");
        EXPECT_EQ(check->findChild<QLabel*>("line")->text(), "Product 2 of 2, line 4 of the file");
        check->accept();
    });
    boxes.answer(MessageBox::Answer::Ok);
    boxes.answer(MessageBox::Answer::Ok);
    boxes.clear();
    press(&dlg, "import");
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{CImportCheckDlg::kFormatMessage,
                                                      "Import finished.\n\n2 products added.\n1 lines refused."}));
    const auto records = readProducts(path());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].taxStatus, 1);
    EXPECT_EQ(records[0].description, "Caf\xE9");
    EXPECT_EQ(records[1].mode, ProductRecord::kRent);
    EXPECT_EQ(listed(dlg).size(), 2u);

    const std::string out = dir.file("out.txt");
    files.setNextFileName(out);
    press(&dlg, "export");
    ASSERT_EQ(files.requests().back().initialName, "Products.txt");
    const auto exported = readBytes(out);
    EXPECT_EQ(ProductText::Read(std::string(exported.begin(), exported.end())).records.size(), 2u);

    // An empty file says so.
    writeBytes(in, {'\r', '\n'});
    files.setNextFileName(in);
    boxes.answer(MessageBox::Answer::Ok);
    boxes.answer(MessageBox::Answer::Ok);
    boxes.clear();
    press(&dlg, "import");
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{CImportCheckDlg::kFormatMessage,
                                                      "The file is empty: there is nothing to import."}));
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
        retype(&dlg, "product_id", "R1");
        press(&dlg, "save");
        dlg.list()->setColumnWidth(1, 222);
        retype(&dlg, "product_id", "R1");
        expectMessage(boxes, "Are you finished with\nItem# R1  \n\nOK for Done\nCancel for Not Done",
                      [&] { press(&dlg, "done"); });
    }
    // Security is off: the editor opens.
    whenModal<CProductsDlg>([](CProductsDlg* again) {
        EXPECT_EQ(again->findChild<QComboBox*>("tax")->currentIndex(), 2);
        EXPECT_TRUE(again->findChild<QWidget*>("mode_1")->property("checked").toBool());
        EXPECT_EQ(again->list()->columnWidth(1), 222);
        again->OnDone();
    });
    CProductsDlg::Open(local, header, nullptr);
    EXPECT_EQ(readProducts(path())[0].mode, ProductRecord::kRent);
}

TEST_F(ProductsWindow, SettingsMenuAddsACategoryTheEditorOffersAtOnce)
{
    CProductsDlg dlg(local, header);
    dlg.show();
    whenModal<QDialog>([](QDialog* list) {
        auto* text = child<QPlainTextEdit>(list, "list");
        text->setPlainText(text->toPlainText().trimmed() + "\nGarden");
        list->accept();
    });
    child<QAction>(&dlg, "action_categories")->trigger();
    EXPECT_GE(child<QComboBox>(&dlg, "category")->findText("Garden"), 0);
    EXPECT_NE(storedHeader().categories.find("Garden\r\n"), std::string::npos);
}
