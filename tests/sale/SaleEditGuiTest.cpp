// Editing a stored sale, and the quotes, from the sale screen's menu and keys.
#include "../print/PrintDialogDouble.h"
#include "sale/CQuoteDlg.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/QuoteFile.h"
#include "support/ModalDriver.h"
#include "support/ProductFiles.h"
#include "support/SaleScreenFixture.h"
#include "support/StoredRecords.h"
#include "support/WindowKeys.h"

#include <QDateEdit>
#include <QDir>
#include <QAbstractItemView>

#include <filesystem>

using namespace SaleIds;

namespace {

const char* const kEditQuestion =
    "\nEdit sale has returned all items back to inventory\n\nAfter making changes, process this sale normaly.\n\n";

// Sale 0: two A by check, its stock taken; the new sale shown.
struct EditScreen : SaleScreenFixture {
    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        clock.set(2026, 12, 7, 10, 30);
        ProductRecord a = makeProduct("A", 8);
        a.price[0] = 10;
        writeProductFile(local.GetPath("Products"), {a, makeProduct("B", 10)});
        storeSale(local, SaleSpec().item("A").qty(2).total(20).payType("Check"));
        open();
    }
    // Edit This Sale on sale 0, answered Cancel first (nothing changes), then OK.
    void editSaleZero()
    {
        box(kItem)->setFocus(Qt::OtherFocusReason);
        key(Qt::Key_PageUp);
        boxes.clear();
        boxes.answer(MessageBox::Answer::Cancel);
        menu("action_edit_sale");
        EXPECT_FALSE(dlg->state().editingStored());
        EXPECT_TRUE(box(kQty)->isReadOnly());
        boxes.answer(MessageBox::Answer::Ok);
        menu("action_edit_sale");
        EXPECT_EQ(boxes.texts(), (std::vector<std::string>{kEditQuestion, kEditQuestion}));
        ASSERT_TRUE(dlg->state().editingStored());
        EXPECT_FALSE(box(kQty)->isReadOnly());
    }
};

TEST_F(EditScreen, AnAbandonedEditLeavesTheStoredSaleAndStockAsTheyWere)
{
    const auto invoices = readBytes(local.GetPath("Invoices"));
    const struct {
        const char* name;
        std::function<void(EditScreen&)> abandon;
    } ways[] = {
        {"Clear This Sale", [](EditScreen& t) { t.menu("action_clear_sale"); }},
        {"paged away, back, and the program left",
         [](EditScreen& t) {
             t.key(Qt::Key_PageUp);
             t.key(Qt::Key_Home);
             EXPECT_EQ(t.text(kQty), "5.0");
             t.menu("action_exit");
         }},
        {"a quote loaded meanwhile is refused", [](EditScreen& t) {
             InvoiceRecord quote = ClearedInvoice();
             ASSERT_GE(SaveQuote(t.local, quote, t.clock.now()), 0);
             whenModal<CQuoteDlg>([&t](CQuoteDlg* quotes) {
                 auto* list = quotes->findChild<QAbstractItemView*>("quote_list");
                 ASSERT_GT(list->model()->rowCount(), 0);
                 t.boxes.allowUnscriptedOk();
                 QTest::keyClick(list, Qt::Key_Return);
                 EXPECT_TRUE(t.boxes.saw("A stored sale is being edited."));
                 EXPECT_TRUE(quotes->isVisible());
                 quotes->findChild<QPushButton*>("quote_ok")->click();
             });
             t.menu("action_quote_find");
             EXPECT_EQ(t.text(kQty), "5.0");
             EXPECT_TRUE(t.dlg->state().editingStored());
             t.dlg.reset();
         }},
    };
    for (const auto& way : ways) {
        editSaleZero();
        typeInto(kQty, "5");
        way.abandon(*this);
        EXPECT_EQ(readBytes(local.GetPath("Invoices")), invoices) << way.name;
        EXPECT_EQ(storedStock(local, "A"), 8) << way.name;
        open();
        EXPECT_FALSE(dlg->state().editingStored()) << way.name;
        EXPECT_EQ(text(kItem), "") << way.name;
    }
}

TEST_F(EditScreen, QuotesAreSavedFoundLoadedAsTheNewSaleDeletedAndPrinted)
{
    typeInto(kItem, "A");
    typeInto(kQty, "2");
    const QString total = QString::asprintf("%.2f", dlg->state().current.total);
    menu("action_quote_save");
    menu("action_quote_save");
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(text(kQty), "2.0") << "the screen keeps its sale";
    menu("action_clear_sale");
    typeInto(kItem, "B");

    whenModal<CQuoteDlg>([&total](CQuoteDlg* quotes) {
        auto* list = quotes->findChild<QAbstractItemView*>("quote_list");
        EXPECT_EQ(quotes->findChild<QDateEdit*>("quote_end")->date(), QDate(2026, 12, 7));
        ASSERT_EQ(list->model()->rowCount(), 2);
        EXPECT_EQ(cellText(list, 1, 1), total);
        chooseRow(list, 0);
        QTest::keyClick(list, Qt::Key_Delete);  // quote 0; quote 1 stays
        ASSERT_EQ(list->model()->rowCount(), 1);
        EXPECT_EQ(cellText(list, 0, 0), "1");
        whenPopup("Edit");
        QTest::keyClick(list, Qt::Key_Menu);
    });
    menu("action_quote_find");
    EXPECT_EQ(text(kItem), "A");
    EXPECT_EQ(text(kItem + 1), "") << "the quote replaces the half-entered sale";
    EXPECT_EQ(text(kRecordNumber), "1");
    EXPECT_EQ(dlg->state().current.recordNumber, 1);
    InvoiceRecord gone;
    boxes.allowUnscriptedOk();
    EXPECT_FALSE(ReadQuote(local, 0, gone));

    PrintDialogDouble printing;
    printing.intoPdf(dir.file("quote.pdf"));
    menu("action_quote_print");
    const auto pdf = readBytes(dir.file("quote.pdf"));
    EXPECT_EQ(std::string(pdf.begin(), pdf.end()).rfind("%PDF", 0), 0u);

    // A quote file that cannot be written says so.
    boxes.clear();
    ASSERT_TRUE(std::filesystem::remove(local.GetPath("Quotes")));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(local.GetPath("Quotes"))));
    menu("action_quote_save");
    EXPECT_TRUE(boxes.saw("The quote could not be saved")) << boxes.texts().size();
}
}  // namespace
