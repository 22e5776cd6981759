// The sale screen's state without its window: resetting for a new sale and
// adding a product picked in the finder.
#include "CLocalFile.h"
#include "InvoiceFile.h"
#include "ListFiles.h"
#include "ProductFile.h"
#include "SaleState.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

struct SaleStateTest : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    CalendarTime now{2026, 3, 14, 15, 9, 26, 6, 72};
    SaleState state{local, header, [this] { return now; }};

    ProductRecord picked(const std::string& item, float price)
    {
        ProductRecord p;
        p.itemNumber = item;
        p.description = "Picked " + item;
        p.department = "Dept";
        p.price[0] = price;
        p.stock = 3;
        return p;
    }
};

}  // namespace

TEST_F(SaleStateTest, ResetKeepsCashierAndSalespersonAndDatesFromTheClock)
{
    ASSERT_EQ(AppendTaxZone(local, TaxTableRecord{"Home", 6.0f, 1.0f}), 0);
    ASSERT_EQ(SetDefaultZone(local, "Home"), 0);
    header.simpleTax = 0;
    local.loggedInCashier = "Mary";
    state.Open();
    EXPECT_EQ(state.current.cashier, "Mary");
    state.current.salesperson = "Sam";
    state.current.payType = "Cash";
    state.current.itemNumber[4] = "X";
    state.current.qty[4] = 2;
    state.current.address[0] = "Someone";
    state.current.handling = 3;
    state.customer.priceLevel = 2;
    state.ClearThisSale();
    const InvoiceRecord& s = state.current;
    EXPECT_EQ(s.cashier, "Mary");
    EXPECT_EQ(s.salesperson, "Sam");
    EXPECT_EQ(s.payType, "");
    EXPECT_EQ(s.itemNumber[4], "");
    EXPECT_EQ(s.qty[4], 0.0f);
    EXPECT_EQ(s.lineMode[4], InvoiceRecord::kClearedLineMode);
    EXPECT_EQ(s.address[0], "");
    EXPECT_EQ(s.handling, 0.0f);
    EXPECT_EQ(state.customer.priceLevel, 0);
    EXPECT_EQ(state.taxTableName(), "Home");
    EXPECT_FLOAT_EQ(s.taxRate1, 6.0f);
    EXPECT_FLOAT_EQ(s.taxRate2, 1.0f);
    EXPECT_EQ(s.recordNumber, 0);
    EXPECT_EQ(s.year, 2026);
    EXPECT_EQ(s.month, 3);
    EXPECT_EQ(s.period, 3);
    EXPECT_EQ(s.day, 14);
    EXPECT_EQ(s.week, 10);  // 14 March 2026, a Saturday: "%U" week 10
    EXPECT_EQ(s.saleTime, OleDate::fromCalendar(2026, 3, 14, 15, 9, 26));
}

TEST_F(SaleStateTest, PickedProductsFillTheFirstFreeSlotOrAddToTheirLine)
{
    state.Open();
    EXPECT_EQ(state.AddPickedProduct(picked("A1", 2.0f)), 0);
    EXPECT_EQ(state.current.department[0], "Dept");
    EXPECT_EQ(state.lineStock[0], 3.0f);
    EXPECT_EQ(state.AddPickedProduct(picked("a1", 2.0f)), 0);  // the same item, any case
    EXPECT_FLOAT_EQ(state.current.qty[0], 2.0f);
    // A slot with only a description is not free.
    state.current.description[1] = "note";
    EXPECT_EQ(state.AddPickedProduct(picked("B1", 1.0f)), 2);
    for (int i = 3; i < 20; ++i)
        ASSERT_EQ(state.AddPickedProduct(picked("C" + std::to_string(i), 1.0f)), i);
    // Slot 19 is shown in the last row.
    EXPECT_EQ(state.scrollOffset, 8);
    // Every slot taken: a product not yet on the sale is not added.
    EXPECT_EQ(state.AddPickedProduct(picked("NEW", 1.0f)), -1);
    EXPECT_FLOAT_EQ(state.current.qty[2], 1.0f);
    EXPECT_EQ(state.AddPickedProduct(picked("B1", 1.0f)), 2);
    EXPECT_FLOAT_EQ(state.current.qty[2], 2.0f);
}

TEST_F(SaleStateTest, StoredSalesAreNotChangedByEdits)
{
    int count = 0;
    ASSERT_EQ(ReadInvoiceCount(local, count), 0);
    InvoiceRecord stored;
    stored.itemNumber[0] = "S";
    stored.qty[0] = 1;
    ASSERT_EQ(AppendInvoice(local, stored, count, now), 0);
    state.Open();
    state.GoPrev();
    ASSERT_FALSE(state.showingNew());
    EXPECT_TRUE(state.readOnly());
    state.SetLineNumber(0, SaleState::LineField::Qty, 9);
    EXPECT_EQ(state.ItemNumberExit(0, "", {}), -1);
    EXPECT_EQ(state.AddPickedProduct(picked("A1", 1.0f)), -1);
    EXPECT_FLOAT_EQ(state.current.qty[0], 1.0f);
    EXPECT_EQ(state.current.itemNumber[0], "S");
    // A list choice on a stored sale goes to the held new sale.
    state.ChoosePayType("Check");
    EXPECT_EQ(state.current.payType, "");
    state.GoCurrent();
    EXPECT_EQ(state.current.payType, "Check");
}
