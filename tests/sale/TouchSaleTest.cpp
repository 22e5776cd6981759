// The touch-screen sale without its window: product pages, lines and keypad,
// the refusals, and a finish that stores the sale as F9 does.
#include "sale/SaleEditing.h"
#include "sale/TouchSale.h"
#include "storage/records/ByteCodec.h"
#include "support/ProductFiles.h"
#include "support/SaleDesk.h"
#include "support/StoredRecords.h"

namespace {

ProductRecord touchProduct(const std::string& item, const std::string& category, std::uint8_t mode = 0)
{
    ProductRecord p = makeProduct(item, 10);
    std::tie(p.category, p.showOnTouch, p.mode) = std::tuple{category, 1, mode};
    p.price = {2.5f, 9, 9, 9, 9, 9};
    return p;
}

struct TouchSaleTest : SaleDesk {
    TouchSale touch{state, [this] { return now; }};

    void SetUp() override
    {
        std::vector<ProductRecord> products = {touchProduct("A", "books"), touchProduct("B", "Books"),
                                               touchProduct("R", "Books", ProductRecord::kRent)};
        for (int i = 0; i < 20; ++i)
            products.push_back(touchProduct("X" + std::to_string(i), "Extreme"));
        products.push_back(makeProduct("HIDDEN", 1));
        products.back().category = "Extreme";
        writeProductFile(local.GetPath("Products"), products);
        state.Open();
        touch.Open();
    }
    int filledButtons() const
    {
        int n = 0;
        for (const auto& slot : touch.productSlots())
            n += !slot.itemNumber.empty();
        return n;
    }
};

TEST_F(TouchSaleTest, CategoryPagesLinesAndKeypad)
{
    EXPECT_EQ(touch.currentCategory(), "Books");
    EXPECT_EQ(filledButtons(), 3);  // letter case of the category is ignored
    std::vector<int> shown;
    for (int press = 0; press < 3; ++press) {
        touch.PressCategory(1);
        shown.push_back(filledButtons());
    }
    EXPECT_EQ(shown, (std::vector<int>{18, 2, 18}));
    EXPECT_EQ(touch.productSlots()[0].itemNumber, "X0");

    // A hand-typed line is a line in use, not a free slot.
    state.current.description[0] = "Gift wrap";
    state.current.price[0] = 1;
    touch.PressCategory(0);
    for (int k : {0, 1, 0, 0})  // A, B, A, A
        touch.PressProduct(k);
    const InvoiceRecord& sale = state.current;
    EXPECT_EQ((std::vector<std::string>{sale.description[0], sale.itemNumber[1], sale.itemNumber[2], sale.itemNumber[3]}),
              (std::vector<std::string>{"Gift wrap", "A", "B", "A"}));
    EXPECT_EQ(sale.qty[3], 2);
    EXPECT_EQ(touch.selected(), 3);

    for (int d : {1, 2, 5})
        touch.Digit(d);
    EXPECT_EQ(touch.EntryText(), "1.25");
    touch.PriceChange();
    EXPECT_EQ(sale.price[3], 1.25f);
    EXPECT_EQ(touch.EntryText(), "");
    touch.Digit(7);
    EXPECT_EQ(touch.EntryText(), ".07");

    touch.Up();
    touch.ClearItem();
    const std::vector<TouchSale::Row> rows = touch.Rows();
    ASSERT_EQ(rows.size(), 3u + 4u);  // three lines, sub-total, tax, total, payment
    EXPECT_EQ(rows[2].number, "04");
    EXPECT_EQ(rows[2].price, "2.50");  // two at 1.25
}

TEST_F(TouchSaleTest, RefusalsChangeNothing)
{
    header.mustSelectCashier = header.mustSelectSalesperson = 1;
    header.mustSelectPayType = header.mustEnterCashPaid = 0;
    storeSale(local, SaleSpec().item("A").total(5));
    state.Open();
    const struct {
        std::string cashier, payType;
        bool storedShown;
        std::string told;
    } cases[] = {
        {"", "Cash", false, "A cashier must be selected.\nA salesperson must be selected.\n"},
        {"Ann", "Split", false, "Split sales are finished on the main sale screen."},
        {"Ann", "TERMS", false, "Terms sales are finished on the main sale screen."},
        {"Ann", "Cash", true, "This Sale has allready been processed."},
    };
    EXPECT_EQ(touch.AddProductToSale(touchProduct("R", "Books", ProductRecord::kRent)), TouchSale::Added::Rent);
    touch.PressProduct(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        std::tie(state.current.cashier, state.current.salesperson, state.current.payType) =
            std::tuple{c.cashier, "", c.payType};
        if (c.storedShown)
            state.GoPrev();
        const InvoiceRecord before = state.current;
        prompt.told.clear();
        EXPECT_EQ(touch.Finish(prompt), TouchSale::Finished::Refused);
        ASSERT_EQ(prompt.told.size(), 1u);
        EXPECT_EQ(prompt.told[0].rfind(c.told, 0), 0u) << prompt.told[0];
        EXPECT_EQ(storedSales(local), 1);
        EXPECT_EQ(state.current.itemNumber, before.itemNumber);
    }
    EXPECT_EQ(storedStock(local, "A"), 10);

    // A rental rung up on the main screen is refused at the finish too.
    state.GoCurrent();
    state.current.lineMode[0] = ProductRecord::kRent;
    prompt.told.clear();
    EXPECT_EQ(touch.Finish(prompt), TouchSale::Finished::Refused);
    EXPECT_EQ(prompt.told.at(0).rfind("Rental sales are finished on the main sale screen.", 0), 0u);
}

TEST_F(TouchSaleTest, FinishWritesAnEditedSaleBackAndAFailureKeepsTheSale)
{
    header.mustSelectCashier = 0;
    storeSale(local, SaleSpec().item("A").total(5).qty(2));
    storeSale(local, SaleSpec().item("B").total(5));
    ASSERT_TRUE(state.GoToRecord(0));
    ASSERT_EQ(SaleEditing(state).BeginEdit(), SaleEditing::Result::Done);
    touch.Open();
    touch.PressProduct(1);  // one B besides the edited sale's two A
    state.current.payType = "Check";
    ASSERT_EQ(touch.Finish(prompt), TouchSale::Finished::Stored);
    touch.StartNextSale();
    EXPECT_EQ(storedSales(local), 2);
    EXPECT_EQ(stored(0).itemNumber[1], "B");
    EXPECT_EQ(stored(0).payType, "Check");
    EXPECT_EQ(storedStock(local, "A"), 10);  // the edit gave back the two it takes again
    EXPECT_EQ(storedStock(local, "B"), 9);
    EXPECT_FALSE(state.editingStored());
    EXPECT_EQ(state.current.recordNumber, 2);

    // A sales file that refuses the append: nothing changes, the sale stays.
    std::vector<std::uint8_t> bytes = readBytes(local.GetPath("Invoices"));
    codec::putI32(bytes.data(), 0, -1);
    writeBytes(local.GetPath("Invoices"), bytes);
    touch.PressProduct(0);
    state.current.payType = "Check";
    const InvoiceRecord before = state.current;
    EXPECT_EQ(touch.Finish(prompt), TouchSale::Finished::Failed);
    EXPECT_EQ(storedSales(local), 2);
    EXPECT_EQ(state.current, before);
    EXPECT_EQ(storedStock(local, "A"), 10);
}

}  // namespace
