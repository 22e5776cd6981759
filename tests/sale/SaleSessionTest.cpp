// The sale screen's state without its window: resetting for a new sale and
// adding a product picked in the finder.
#include "CLocalFile.h"
#include "InvoiceFile.h"
#include "ListFiles.h"
#include "ProductFile.h"
#include "SaleSession.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Session : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    CalendarTime now{2026, 3, 14, 15, 9, 26, 6, 72};
    SaleSession session{local, header, [this] { return now; }};

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

TEST_F(Session, ResetKeepsCashierAndSalespersonAndDatesFromTheClock)
{
    ASSERT_EQ(AppendTaxZone(local, TaxTableRecord{"Home", 6.0f, 1.0f}), 0);
    ASSERT_EQ(SetDefaultZone(local, "Home"), 0);
    header.simpleTax = 0;
    local.loggedInCashier = "Mary";
    session.Open();
    EXPECT_EQ(session.current.cashier, "Mary");
    session.current.salesperson = "Sam";
    session.current.payType = "Cash";
    session.current.itemNumber[4] = "X";
    session.current.qty[4] = 2;
    session.current.address[0] = "Someone";
    session.current.handling = 3;
    session.customer.priceLevel = 2;
    session.ClearThisSale();
    const InvoiceRecord& s = session.current;
    EXPECT_EQ(s.cashier, "Mary");
    EXPECT_EQ(s.salesperson, "Sam");
    EXPECT_EQ(s.payType, "");
    EXPECT_EQ(s.itemNumber[4], "");
    EXPECT_EQ(s.qty[4], 0.0f);
    EXPECT_EQ(s.lineMode[4], InvoiceRecord::kClearedLineMode);
    EXPECT_EQ(s.address[0], "");
    EXPECT_EQ(s.handling, 0.0f);
    EXPECT_EQ(session.customer.priceLevel, 0);
    EXPECT_EQ(session.taxTableName(), "Home");
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

TEST_F(Session, PickedProductsFillTheFirstFreeSlotOrAddToTheirLine)
{
    session.Open();
    EXPECT_EQ(session.AddPickedProduct(picked("A1", 2.0f)), 0);
    EXPECT_EQ(session.current.department[0], "Dept");
    EXPECT_EQ(session.lineStock[0], 3.0f);
    EXPECT_EQ(session.AddPickedProduct(picked("a1", 2.0f)), 0);  // the same item, any case
    EXPECT_FLOAT_EQ(session.current.qty[0], 2.0f);
    // A slot with only a description is not free.
    session.current.description[1] = "note";
    EXPECT_EQ(session.AddPickedProduct(picked("B1", 1.0f)), 2);
    for (int i = 3; i < 20; ++i)
        ASSERT_EQ(session.AddPickedProduct(picked("C" + std::to_string(i), 1.0f)), i);
    // Slot 19 is shown in the last row.
    EXPECT_EQ(session.scrollOffset, 8);
    // Every slot taken: a product not yet on the sale is not added.
    EXPECT_EQ(session.AddPickedProduct(picked("NEW", 1.0f)), -1);
    EXPECT_FLOAT_EQ(session.current.qty[2], 1.0f);
    EXPECT_EQ(session.AddPickedProduct(picked("B1", 1.0f)), 2);
    EXPECT_FLOAT_EQ(session.current.qty[2], 2.0f);
}

TEST_F(Session, StoredSalesAreNotChangedByEdits)
{
    int count = 0;
    ASSERT_EQ(ReadInvoiceCount(local, count), 0);
    InvoiceRecord stored;
    stored.itemNumber[0] = "S";
    stored.qty[0] = 1;
    ASSERT_EQ(AppendInvoice(local, stored, count, now), 0);
    session.Open();
    session.GoPrev();
    ASSERT_FALSE(session.showingNew());
    EXPECT_TRUE(session.readOnly());
    session.SetLineNumber(0, SaleSession::LineField::Qty, 9);
    EXPECT_EQ(session.ItemNumberExit(0, "", {}), -1);
    EXPECT_EQ(session.AddPickedProduct(picked("A1", 1.0f)), -1);
    EXPECT_FLOAT_EQ(session.current.qty[0], 1.0f);
    EXPECT_EQ(session.current.itemNumber[0], "S");
    // A list choice on a stored sale goes to the held new sale.
    session.ChoosePayType("Check");
    EXPECT_EQ(session.current.payType, "");
    session.GoCurrent();
    EXPECT_EQ(session.current.payType, "Check");
}
