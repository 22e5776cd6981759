// Editing stored sales and loading quotes without a window: an edit writes
// nothing until it is finished, finishing moves stock by the difference in one
// step over the same record, a sale changed meanwhile at another register is
// never written over, and the customer comes with the sale.

#include "CLocalFile.h"
#include "CustomerFile.h"
#include "InvoiceFile.h"
#include "ProductFiles.h"
#include "QuoteFile.h"
#include "QuoteList.h"
#include "QuoteLoading.h"
#include "SaleEditing.h"
#include "SaleDisplay.h"
#include "SaleFinish.h"
#include "SaleState.h"
#include "SalesFileHeader.h"
#include "StoredRecords.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
const CalendarTime kNow{2026, 12, 7, 9, 30, 0, 1, 340};

class Prompt : public FinishPrompt {
public:
    std::vector<std::string> told;
    void tell(const std::string& text) override { told.push_back(text); }
    bool askYesNo(const std::string&) override { return true; }
};

struct SaleEditingTest : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    SaleState state{local, header, [] { return kNow; }};
    Prompt prompt;
    SaleFinish finish{state, prompt, [] { return kNow; }};

    void SetUp() override
    {
        writeProductFile(local.GetPath("Products"), {makeProduct("A", 10), makeProduct("B", 10)});
        state.Open();
    }
    void line(int slot, const std::string& item, float qty, float price = 10)
    {
        state.current.itemNumber[slot] = item;
        state.current.qty[slot] = qty;
        state.current.price[slot] = price;
        state.Recalculate();
    }
    // Finishes a sale of two A on the new sale; its record number.
    int sellTwoA()
    {
        line(0, "A", 2);
        EXPECT_EQ(finish.FinishSale({"Ann", "", "Check"}), SaleFinish::Result::Stored);
        const int n = finish.recordNumber();
        finish.StartNextSale();
        return n;
    }
    InvoiceRecord stored(int n)
    {
        InvoiceRecord r;
        EXPECT_TRUE(ReadInvoice(local, n, r));
        return r;
    }
};

TEST_F(SaleEditingTest, FinishingAnEditMovesStockByTheDifferenceOverTheSameRecord)
{
    const struct Case {
        const char* name;
        std::function<void(SaleEditingTest&, int)> change;
        const char* payType;
        float stockA, stockB;  // moved by the finish
        bool stores;
        std::uint8_t paid;
    } cases[] = {
        {"one more A, on deposit", [](SaleEditingTest& t, int) { t.line(0, "A", 3); }, "Deposit", -1, 0, true, 0},
        {"A swapped for one B, by check",
         [](SaleEditingTest& t, int) {
             t.line(0, "", 0);
             t.line(1, "B", 1);
         },
         "Check", 2, -1, true, 1},
        {"voided at another register meanwhile",
         [](SaleEditingTest& t, int n) { ASSERT_EQ(VoidInvoice(t.local, n), 0); }, "Check", 0, 0, false, 1},
        {"edited and finished at another register meanwhile",
         [](SaleEditingTest& t, int n) {
             InvoiceRecord other = t.stored(n);
             other.payType = "Visa";
             ASSERT_EQ(UpdateInvoice(t.local, other), n);
         },
         "Check", 0, 0, false, 1},
    };
    for (const Case& c : cases) {
        const int n = sellTwoA();
        const int count = storedSales(local);
        state.GoToRecord(n);
        const InvoiceRecord before = stored(n);
        const float a = storedStock(local, "A"), b = storedStock(local, "B");
        ASSERT_EQ(SaleEditing(state).BeginEdit(), SaleEditing::Result::Done) << c.name;
        EXPECT_EQ(stored(n), before) << c.name << ": the edit writes nothing";
        EXPECT_EQ(storedStock(local, "A"), a) << c.name;
        c.change(*this, n);
        const InvoiceRecord meanwhile = stored(n);
        const float a2 = storedStock(local, "A");
        state.ChoosePayType(c.payType);
        prompt.told.clear();
        const auto result = finish.FinishSale({"Ann", "", c.payType});
        EXPECT_EQ(storedSales(local), count) << c.name;
        if (!c.stores) {
            EXPECT_EQ(result, SaleFinish::Result::Failed) << c.name;
            EXPECT_EQ(prompt.told, std::vector<std::string>{SaleEditing::kChangedMeanwhile}) << c.name;
            EXPECT_EQ(stored(n), meanwhile) << c.name;
            EXPECT_EQ(storedStock(local, "A"), a2) << c.name;
            EXPECT_TRUE(state.editingStored()) << c.name;
            EXPECT_EQ(SaleEditing(state).Clear(), SaleEditing::Result::Done);  // leaves it as stored now
            EXPECT_EQ(stored(n), meanwhile) << c.name;
            continue;
        }
        ASSERT_EQ(result, SaleFinish::Result::Stored) << c.name;
        const InvoiceRecord after = stored(n);
        EXPECT_EQ(after.recordNumber, n) << c.name;
        EXPECT_EQ(after.payType, c.payType) << c.name;
        EXPECT_EQ(after.paid, c.paid) << c.name;
        EXPECT_EQ(after.saleTime, before.saleTime) << c.name;
        EXPECT_EQ(storedStock(local, "A"), a + c.stockA) << c.name;
        EXPECT_EQ(storedStock(local, "B"), b + c.stockB) << c.name;
        finish.StartNextSale();
    }
}

TEST_F(SaleEditingTest, TheCustomerComesWithAnEditedSaleOrAQuoteWithoutRepricing)
{
    storeCustomer(local, "Ann", "Springfield", 2, "North");
    storeCustomer(local, "Bob", "Shelbyville", 1, "South");
    CustomerRecord ann, bob;
    ASSERT_TRUE(FindCustomerByName(local, "Ann", ann));
    ASSERT_TRUE(FindCustomerByName(local, "Bob", bob));
    const struct Case {
        const char* name;
        std::uint16_t number;
        const char* firstLine;
        const char* customer;  // found, "" for none
        const char* shownName;
    } cases[] = {
        {"by number, whatever the name", ann.customerNumber, "Renamed", "Ann", "Renamed"},
        {"by name when the number is unknown", 999, "bob", "Bob", "bob"},
        {"by name without a number", 0, "Bob", "Bob", "Bob"},
        {"walk-in sale", 0, "Retail", "", ""},
        {"name nobody has", 0, "Carol", "", "Carol"},
    };
    for (const Case& c : cases) {
        InvoiceRecord sale = ClearedInvoice();
        sale.itemNumber[0] = "A";
        sale.qty[0] = 1;
        sale.price[0] = 3.25f;  // the product's price is 0 at every level
        sale.customerNumber = c.number;
        sale.address[0] = c.firstLine;
        int count = 0;
        ASSERT_EQ(ReadInvoiceCount(local, count), 0);
        const int n = AppendInvoice(local, sale, count, kNow);
        const int quoteNumber = SaveQuote(local, sale, kNow);
        ASSERT_GE(quoteNumber, 0);
        state.GoToRecord(n);
        ASSERT_EQ(SaleEditing(state).BeginEdit(), SaleEditing::Result::Done);
        EXPECT_EQ(state.customer.name(), c.customer) << c.name;
        EXPECT_EQ(state.current.address[0], c.shownName) << c.name;
        EXPECT_EQ(state.current.price[0], 3.25f) << c.name;
        EXPECT_EQ(state.current.recordNumber, n) << c.name;
        // No quote replaces a sale being edited; clearing it leaves the file as it is.
        EXPECT_EQ(QuoteLoading(state).Load(quoteNumber), QuoteLoading::Result::Refused) << c.name;
        EXPECT_EQ(SaleEditing(state).Clear(), SaleEditing::Result::Done);
        EXPECT_EQ(QuoteLoading(state).Load(quoteNumber), QuoteLoading::Result::Done) << c.name;
        EXPECT_FALSE(state.editingStored());
        EXPECT_EQ(state.current.recordNumber, storedSales(local)) << c.name;
        EXPECT_EQ(state.customer.name(), c.customer) << c.name;
        EXPECT_EQ(state.current.price[0], 3.25f) << c.name;
    }
    // The walk-in sale finished again stays a walk-in sale.
    state.GoToRecord(3);
    ASSERT_EQ(SaleEditing(state).BeginEdit(), SaleEditing::Result::Done);
    ASSERT_EQ(finish.FinishSale({"Ann", "", "Check"}), SaleFinish::Result::Stored);
    EXPECT_EQ(stored(3).address[0], "Retail");
    EXPECT_EQ(stored(3).customerNumber, 0);
    CustomerRecord none;
    EXPECT_FALSE(FindCustomerByName(local, "Retail", none));
}

TEST(QuoteList, TheRangeTakesTheWholeEndDayAndRowsReadAsStored)
{
    SalesFileHeader header;
    auto quote = [](int number, int day, int hour, std::uint8_t level) {
        InvoiceRecord q = ClearedInvoice();
        q.recordNumber = number;
        q.saleTime = OleDate::fromCalendar(2026, 5, day, hour, 30);
        q.year = 2026, q.month = 5, q.day = static_cast<std::int16_t>(day);
        q.total = 12.5f;
        q.priceLevel = level;
        q.cashier = "Ann";
        q.payType = "Cash";
        q.address = {"Sam", "Acme", "1 Road", "Town", "ST", "12345", "", "", ""};
        return q;
    };
    const std::vector<InvoiceRecord> quotes{quote(4, 1, 0, 0), quote(7, 2, 23, 1), quote(9, 3, 8, 9)};
    const struct {
        int from, to;
        std::vector<int> numbers;
    } ranges[] = {{1, 1, {4}}, {1, 2, {4, 7}}, {2, 3, {7, 9}}, {3, 1, {}}, {4, 9, {}}};
    for (const auto& r : ranges) {
        std::vector<int> got;
        for (const QuoteRow& row : ListQuoteRows(quotes, header, OleDate::fromCalendar(2026, 5, r.from, 15),
                                                 OleDate::fromCalendar(2026, 5, r.to)))
            got.push_back(row.number);
        EXPECT_EQ(got, r.numbers) << r.from << ".." << r.to;
    }
    const auto rows = ListQuoteRows(quotes, header, OleDate::fromCalendar(2026, 5, 1), OleDate::fromCalendar(2026, 5, 3));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].cells, (std::array<std::string, 7>{"7", "12.50", QuoteDateText(quotes[1]), "Ann", "Cash",
                                                         "Wholesale", "Sam Acme 1 Road, Town, ST 12345"}));
    EXPECT_EQ(rows[2].cells[5], "Category 6");  // a level past the six names reads as the last
}

TEST(SaleDisplay, MarginsAreBlankWithoutACostOrItemAndTheLevelNameIsClamped)
{
    TempDir dir;
    CLocalFile local(dir.path());
    SalesFileHeader header;
    InvoiceRecord sale = ClearedInvoice();
    const struct {
        const char* item;
        float qty, cost, extended;
        const char* margin;
    } lines[] = {
        {"A", 2, 4, 10, "25.00"},   // (10 - 8) / 8
        {"B", 1, 5, 4, "-20.00"},
        {"V", 0, 4, 0, ""},         // voided: quantity 0
        {"Z", 3, 0, 9, ""},         // no cost
        {"", 1, 2, 5, ""},          // typed by hand
    };
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        sale.itemNumber[i] = lines[i].item;
        sale.qty[i] = lines[i].qty;
        sale.cost[i] = lines[i].cost;
        sale.extended[i] = lines[i].extended;
        sale.taxStatus[i] = 1;
    }
    sale.priceLevel = 200;
    for (bool showMargins : {true, false}) {
        const SaleDisplay d = BuildSaleDisplay(local, header, sale, showMargins);
        ASSERT_EQ(d.lines.size(), InvoiceRecord::kLines);
        EXPECT_EQ(d.level, "Category 6");
        for (std::size_t i = 0; i < std::size(lines); ++i)
            EXPECT_EQ(d.lines[i].margin, showMargins ? lines[i].margin : "") << i;
        EXPECT_EQ(d.lines[0].qty, "2.00");
    }
}
}  // namespace
