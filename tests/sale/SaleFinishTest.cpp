// Finishing without a window: refusals change nothing, the sale, its stock,
// customer and rentals go together, and a sale whose payments were cancelled
// is finished again over the same record.
#include "rentals/RentalBook.h"
#include "sale/SaleEditing.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/RentalFile.h"
#include "storage/io/DataFile.h"
#include "support/SaleDesk.h"
#include "support/StoredRecords.h"

namespace {

struct SaleFinishTest : StockedSaleDesk {
    FinishEntries entries{"Ann", "Bob", "Check"};

    std::vector<RentalRecord> rentals()
    {
        std::vector<RentalRecord> out;
        const int cause = ReadRentalFile(local.GetPath("Rentals"), out);
        EXPECT_TRUE(cause == FileCause::None || cause == FileCause::NotFound) << cause;
        return out;
    }
};

TEST_F(SaleFinishTest, MissingEntriesAreListedInOneMessageInOrder)
{
    const struct {
        bool all;
        FinishEntries entries;
        float paid;
        const char* message;
    } cases[] = {
        {true, {"Log Cashier", "", ""}, 0,
         "A cashier must be selected.\nA Salesperson must be selected.\nA payment type must be selected.\n"
         "Pelease ask for a mailing address.\n"},
        {false, {"Ann", "", "Cash"}, 0, "Please enter the amount of cash paid.\n"},
        {false, {"Ann", "", "Cash"}, 20, ""},  // paid to the cent
        {false, {"Ann", "", "Check"}, 0, ""},
        {false, {"Ann", "", "cash"}, 0, ""},  // not Cash
    };
    line(0, "A", 2);
    for (const auto& c : cases) {
        header.mustSelectSalesperson = header.mustEnterAddress = c.all;
        state.SetPaid(c.paid);
        EXPECT_EQ(MissingEntries(header, state.current, c.entries), c.message) << c.entries.payType << c.paid;
    }
}

TEST_F(SaleFinishTest, RefusalsShowTheirMessageAndChangeNothing)
{
    const struct {
        std::function<void(SaleFinishTest&)> setUp;
        const char* starts;
    } cases[] = {
        {[](SaleFinishTest& t) { t.entries.payType = "terms"; }, "No Customer specified!"},
        {[](SaleFinishTest& t) { t.entries.payType = "terms", t.state.customer.customerNumber = 4; },
         "This Customer has not been given Terms."},
        {[](SaleFinishTest& t) { t.state.customer.orderLimitOn = 1, t.state.customer.orderLimit = 19.5f; },
         "Order Limit Exceeded!\n\nOrder Limit 19.50\n\nThis customer has exceeded his order limit of 19.50."},
        {[](SaleFinishTest& t) { t.line(1, "B", 1, 5, 1, 1); }, "Sales with a Rental must have a Customer."},
        // Price 10, cost 8, mark-down 10 %: a margin of 12.5 %, under the 15 % watched; answered No.
        {[](SaleFinishTest& t) {
             t.header.marginWatchOn = 1, t.header.lowMarginPercent = 15, t.prompt.answer = false;
             t.line(0, "A", 1, 10, 8);
             t.state.current.markdownPercent[0] = 10;
         },
         ""},
    };
    for (const auto& c : cases) {
        state.Open();
        entries = {"Ann", "Bob", "Check"};
        prompt.told.clear();
        line(0, "A", 2);
        c.setUp(*this);
        EXPECT_EQ(finish.FinishSale(entries), SaleFinish::Result::Refused) << c.starts;
        ASSERT_EQ(prompt.told.size() + prompt.asked.size(), 1u) << c.starts;
        if (!prompt.told.empty()) {
            EXPECT_EQ(prompt.told[0].rfind(c.starts, 0), 0u) << prompt.told[0];
        }
        EXPECT_EQ(storedSales(local), 0) << c.starts;
        EXPECT_EQ(storedStock(local, "A"), 10) << c.starts;
    }
    // A rentals file with an impossible count cannot take the sale's rentals:
    // the finish fails before its commit, with the sale's new customer too.
    writeBytes(local.GetPath("Rentals"), {0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0});
    state.Open();
    prompt.told.clear();
    state.SetAddressLine(InvoiceRecord::kName, "Someone New");
    line(0, "A", 2);
    line(1, "B", 1, 5, 1, 1);
    const InvoiceRecord before = state.current;
    EXPECT_EQ(finish.FinishSale(entries), SaleFinish::Result::Failed);
    ASSERT_EQ(prompt.told.size(), 1u);
    EXPECT_EQ(prompt.told[0].rfind("The sale could not be saved: the rentals file could not be read", 0), 0u);
    CustomerRecord someone;
    EXPECT_FALSE(FindCustomerByName(local, "Someone New", someone));
    EXPECT_EQ((std::tuple{storedSales(local), storedStock(local, "A"), state.current}), (std::tuple{0, 10.0f, before}));
    std::remove(local.GetPath("Rentals").c_str());

    // The marked-down sale's margin of 12.5 % over a limit of 12 % asks nothing.
    state.Open();
    line(0, "A", 1, 10, 8);
    state.current.markdownPercent[0] = 10;
    header.lowMarginPercent = 12;
    prompt.asked.clear();
    EXPECT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(SaleFinishTest, CancelledPaymentsAreFinishedAgainOverTheSameRecord)
{
    entries.payType = "Deposit";
    state.ChoosePayType("Deposit");
    state.SetAddressLine(InvoiceRecord::kName, "Renter");
    line(0, "A", 2);
    line(1, "B", 1, 5, 1, 1);
    ASSERT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
    ASSERT_TRUE(finish.needsDeposit());
    EXPECT_EQ(finish.stored().paid, 0);
    ASSERT_TRUE(finish.PaymentsCancelled());
    EXPECT_EQ(storedStock(local, "A"), 8) << "the stored sale stays whole until finished again";
    EXPECT_EQ(state.current.itemNumber[0], "A");

    ASSERT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
    EXPECT_EQ(finish.recordNumber(), 0);
    EXPECT_EQ(storedSales(local), 1);
    EXPECT_EQ(std::pair(storedStock(local, "A"), storedStock(local, "B")), std::pair(8.0f, 9.0f));
    EXPECT_EQ(rentals().size(), 1u) << "the rental is recorded once";
}

// An edit of a rental sale leaves out what the sale now rents less what came
// back already: a lowered quantity returns the difference in the same step.
TEST_F(SaleFinishTest, AnEditedRentalSaleLeavesOutWhatItNowRents)
{
    const struct {
        float returnedBefore, editedTo, out;
    } cases[] = {
        {0, 1, 1}, {0, 3, 3}, {0, 5, 5}, {0, 0, 0}, {1, 2, 1}, {2, 1, 0}, {2, 2, 0},
    };
    const auto outFor = [this](int sale) {
        float out = 0;
        for (const RentalRow& row : ListOutstandingRentals(rentals(), ""))
            out += row.saleNumber == sale ? row.quantity : 0;
        return out;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.returnedBefore << " back, edited to " << c.editedTo);
        state.SetAddressLine(InvoiceRecord::kName, "Renter");
        line(0, "A", 1);
        line(1, "B", 3, 5, 1, 1);
        ASSERT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
        const int n = finish.recordNumber();
        if (c.returnedBefore > 0) {
            std::vector<RentalRow> rows = ListOutstandingRentals(rentals(), "");
            ASSERT_EQ(BookRentalReturn(local, rows.back(), c.returnedBefore, OleDate{}).kind,
                      ReturnOutcome::Kind::Booked);
        }
        finish.StartNextSale();
        state.GoToRecord(n);
        ASSERT_EQ(SaleEditing(state).BeginEdit(), SaleEditing::Result::Done);
        if (c.editedTo > 0)
            line(1, "b", c.editedTo, 5, 1, 1);
        else
            line(1, "", 0);
        ASSERT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
        EXPECT_EQ(outFor(n), c.out);
        finish.StartNextSale();
    }
}
}  // namespace
