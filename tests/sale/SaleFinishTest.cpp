// Finishing the sale on the screen without a window: the refusals change
// nothing, the stored sale, its stock, customer and rentals go together, and a
// sale whose payments were cancelled is finished again over the same record.

#include "CLocalFile.h"
#include "CustomerFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"
#include "PaymentRecord.h"
#include "ProductFile.h"
#include "ProductFiles.h"
#include "RentalFile.h"
#include "SaleFinish.h"
#include "SaleState.h"
#include "SalesFileHeader.h"
#include "StoredRecords.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
const CalendarTime kNow{2026, 12, 7, 9, 30, 0, 1, 340};

class ScriptedPrompt : public FinishPrompt {
public:
    std::vector<std::string> told, asked;
    bool answer = true;
    void tell(const std::string& text) override { told.push_back(text); }
    bool askYesNo(const std::string& text) override { return asked.push_back(text), answer; }
};

struct SaleFinishTest : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    SaleState state{local, header, [] { return kNow; }};
    ScriptedPrompt prompt;
    SaleFinish finish{state, prompt, [] { return kNow; }};
    FinishEntries entries{"Ann", "Bob", "Check"};

    void SetUp() override
    {
        writeProductFile(local.GetPath("Products"), {makeProduct("A", 10), makeProduct("B", 10)});
        state.Open();
    }
    void line(int slot, const std::string& item, float qty, float price = 10, float cost = 5, std::uint8_t mode = 0)
    {
        InvoiceRecord& s = state.current;
        s.itemNumber[slot] = item;
        s.qty[slot] = qty;
        s.price[slot] = price;
        s.cost[slot] = cost;
        s.lineMode[slot] = mode;
        state.Recalculate();
    }
    float stock(const std::string& item) { return storedStock(local, item); }
    int sales() { return storedSales(local); }
    std::vector<RentalRecord> rentals()
    {
        DataFile f;
        std::vector<RentalRecord> out;
        if (f.tryOpen(local.GetPath("Rentals"), OpenMode::Read) == FileCause::None) {
            EXPECT_TRUE(ReadRentals(f, out));
        }
        return out;
    }
};

TEST_F(SaleFinishTest, MissingEntriesAreListedInOneMessageInOrder)
{
    struct Case {
        const char* name;
        bool all;
        FinishEntries entries;
        float paid;
        const char* message;
    } cases[] = {
        {"every requirement, only an item", true, {"Log Cashier", "", ""}, 0,
         "A cashier must be selected.\nA Salesperson must be selected.\nA payment type must be selected.\n"
         "Pelease ask for a mailing address.\n"},
        {"Cash with Paid empty", false, {"Ann", "", "Cash"}, 0, "Please enter the amount of cash paid.\n"},
        {"Cash paid to the cent", false, {"Ann", "", "Cash"}, 20, ""},
        {"Check with Paid empty", false, {"Ann", "", "Check"}, 0, ""},
        {"cash in lower case is not Cash", false, {"Ann", "", "cash"}, 0, ""},
    };
    line(0, "A", 2);
    for (const Case& c : cases) {
        header.mustSelectSalesperson = header.mustEnterAddress = c.all;
        state.SetPaid(c.paid);
        EXPECT_EQ(MissingEntries(header, state.current, c.entries), c.message) << c.name;
    }
    state.SetPaid(0);
    header.mustSelectSalesperson = header.mustEnterAddress = 0;
    EXPECT_EQ(finish.FinishSale({"Ann", "", "Cash"}), SaleFinish::Result::Refused);
    EXPECT_EQ(prompt.told, std::vector<std::string>{"Please enter the amount of cash paid.\n"});
    EXPECT_EQ(sales(), 0);
}

TEST_F(SaleFinishTest, RefusalsShowTheirMessageAndChangeNothing)
{
    struct Case {
        const char* name;
        std::function<void(SaleFinishTest&)> setUp;
        const char* starts;
    } cases[] = {
        {"terms without a customer", [](SaleFinishTest& t) { t.entries.payType = "terms"; }, "No Customer specified!"},
        {"terms, customer without terms",
         [](SaleFinishTest& t) {
             t.entries.payType = "terms";
             t.state.customer.customerNumber = 4;
         },
         "This Customer has not been given Terms."},
        {"order limit",
         [](SaleFinishTest& t) {
             t.state.customer.orderLimitOn = 1;
             t.state.customer.orderLimit = 19.5f;
         },
         "Order Limit Exceeded!\n\nOrder Limit 19.50\n\nThis customer has exceeded his order limit of 19.50."},
        {"rental without a customer",
         [](SaleFinishTest& t) { t.line(1, "B", 1, 5, 1, 1); },
         "Sales with a Rental must have a Customer."},
    };
    for (const Case& c : cases) {
        state.Open();
        entries = {"Ann", "Bob", "Check"};
        prompt.told.clear();
        line(0, "A", 2);
        c.setUp(*this);
        EXPECT_EQ(finish.FinishSale(entries), SaleFinish::Result::Refused) << c.name;
        ASSERT_EQ(prompt.told.size(), 1u) << c.name;
        EXPECT_EQ(prompt.told[0].rfind(c.starts, 0), 0u) << c.name << ": " << prompt.told[0];
        EXPECT_EQ(sales(), 0) << c.name;
        EXPECT_EQ(stock("A"), 10) << c.name;
    }
}

TEST_F(SaleFinishTest, MarginWatchAsksBelowTheLimitOnly)
{
    // Price 10, cost 8, mark-down 10 %: a margin of 12.5 %.
    header.marginWatchOn = 1;
    for (const auto& [limit, asks] : {std::pair{15.f, true}, std::pair{12.f, false}}) {
        header.lowMarginPercent = limit;
        prompt.asked.clear();
        prompt.answer = false;
        state.Open();
        line(0, "A", 1, 10, 8);
        state.current.markdownPercent[0] = 10;
        const auto result = finish.FinishSale(entries);
        EXPECT_EQ(prompt.asked.size(), asks ? 1u : 0u) << limit;
        EXPECT_EQ(result, asks ? SaleFinish::Result::Refused : SaleFinish::Result::Stored) << limit;
    }
    EXPECT_EQ(prompt.asked.size(), 0u);
    EXPECT_EQ(sales(), 1);
}

TEST_F(SaleFinishTest, SaleStockCustomerAndRentalsAreStoredTogether)
{
    // A walk-in sale first, so the rental's sale is number 1.
    line(0, "A", 1);
    ASSERT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
    EXPECT_EQ(finish.stored().address[InvoiceRecord::kName], "Retail");
    EXPECT_EQ(finish.stored().customerNumber, 0);
    finish.StartNextSale();
    EXPECT_EQ(state.current.cashier, "");
    EXPECT_TRUE(state.showingNew());
    EXPECT_EQ(state.current.itemNumber[0], "");

    state.SetAddressLine(InvoiceRecord::kName, "New Person");
    line(0, "A", 2);
    line(1, "b", 3, 4, 1, 1);
    ASSERT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
    EXPECT_EQ(finish.recordNumber(), 1);
    EXPECT_EQ(sales(), 2);
    EXPECT_EQ(stock("A"), 7);
    EXPECT_EQ(stock("B"), 7);
    CustomerRecord c;
    ASSERT_TRUE(FindCustomerByName(local, "new person", c));
    EXPECT_EQ(finish.stored().customerNumber, c.customerNumber);
    EXPECT_GT(c.customerNumber, 0);
    const auto r = rentals();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].saleNumber, 1);
    EXPECT_EQ(r[0].customerNumber, c.customerNumber);
    EXPECT_EQ(r[0].itemNumber, "b");
    EXPECT_EQ(r[0].quantity, 3);

    // The same name again finds the customer; nothing of it is rewritten.
    finish.StartNextSale();
    state.SetAddressLine(InvoiceRecord::kName, "NEW PERSON");
    line(0, "A", 1);
    ASSERT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
    EXPECT_EQ(finish.stored().customerNumber, c.customerNumber);
    CustomerRecord again;
    ASSERT_TRUE(FindCustomerByName(local, "New Person", again));
    EXPECT_EQ(again.name(), "New Person");
}

TEST_F(SaleFinishTest, AFailureBeforeTheCommitLeavesEveryFileAndTheScreenAsTheyWere)
{
    // A rental file with an impossible count cannot take the sale's rentals.
    std::ofstream(local.GetPath("Rentals"), std::ios::binary).write("\xff\xff\xff\xff\0\0\0\0", 8);
    state.SetAddressLine(InvoiceRecord::kName, "Someone New");
    line(0, "A", 2);
    line(1, "B", 1, 5, 1, 1);
    const InvoiceRecord before = state.current;
    EXPECT_EQ(finish.FinishSale(entries), SaleFinish::Result::Failed);
    ASSERT_EQ(prompt.told.size(), 1u);
    EXPECT_EQ(prompt.told[0].rfind("The sale could not be saved", 0), 0u);
    EXPECT_EQ(sales(), 0);
    EXPECT_EQ(stock("A"), 10);
    CustomerRecord c;
    EXPECT_FALSE(FindCustomerByName(local, "Someone New", c));
    EXPECT_EQ(state.current, before);
    EXPECT_TRUE(state.showingNew());
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
    EXPECT_EQ(stock("A"), 10);
    EXPECT_TRUE(state.showingNew());
    EXPECT_EQ(state.current.itemNumber[0], "A");

    ASSERT_EQ(finish.FinishSale(entries), SaleFinish::Result::Stored);
    EXPECT_EQ(finish.recordNumber(), 0);
    EXPECT_EQ(sales(), 1);
    EXPECT_EQ(stock("A"), 8);
    EXPECT_EQ(stock("B"), 9);
    EXPECT_EQ(rentals().size(), 1u) << "the rental is recorded once";
}

TEST_F(SaleFinishTest, PaymentsCoverATotalToTheCent)
{
    const float third = 3.42f;
    EXPECT_TRUE(CoversInCents(third + third + 3.44f, 10.28f));
    EXPECT_FALSE(CoversInCents(10.27f, 10.28f));
    // A terms sale of 10.56 paid in three payments of 3.52 is paid.
    InvoiceRecord sale;
    sale.payType = "terms";
    sale.total = 10.56f;
    sale.recordNumber = 5;
    for (int i = 0; i < 3; ++i) {
        PaymentRecord p;
        p.invoiceNumber = 5;
        p.amount = 3.52f;
        ASSERT_GE(AppendPayment(local, p), 0);
        ApplyPaidRule(local, sale);
        EXPECT_EQ(sale.paid, i == 2 ? 1 : 0) << i;
    }
}
}  // namespace
