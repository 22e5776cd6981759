// Editing stored sales and the quote list without a window: finishing an edit
// moves stock by the difference over the same record, a sale changed meanwhile
// at another register is never written over, and the customer comes with it.
#include "products/SaleStock.h"
#include "sale/QuoteList.h"
#include "sale/QuoteLoading.h"
#include "sale/SaleDisplay.h"
#include "sale/SaleEditing.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/QuoteFile.h"
#include "support/SaleDesk.h"
#include "support/StoredRecords.h"
#include "support/TempDir.h"
#include "storage/records/ByteCodec.h"

namespace {

using SaleEditingTest = StockedSaleDesk;

TEST_F(SaleEditingTest, FinishingAnEditMovesStockByTheDifferenceUnlessTheSaleChangedMeanwhile)
{
    for (const bool voidMeanwhile : {false, true}) {
        SCOPED_TRACE(voidMeanwhile ? "voided at another register" : "A swapped for one B");
        line(0, "A", 2);
        ASSERT_EQ(finish.FinishSale({"Ann", "", "Deposit"}), SaleFinish::Result::Stored);
        const int n = finish.recordNumber();
        finish.StartNextSale();
        state.GoToRecord(n);
        const InvoiceRecord before = stored(n);
        ASSERT_EQ(SaleEditing(state).BeginEdit(), SaleEditing::Result::Done);
        EXPECT_EQ(stored(n), before) << "the edit writes nothing";
        if (voidMeanwhile) {
            ASSERT_EQ(VoidInvoice(local, n), 0);
        }
        const InvoiceRecord meanwhile = stored(n);
        const float a = storedStock(local, "A"), b = storedStock(local, "B");
        line(0, "", 0);
        line(1, "B", 1);
        state.ChoosePayType("Check");
        prompt.told.clear();
        const auto result = finish.FinishSale({"Ann", "", "Check"});
        EXPECT_EQ(storedSales(local), n + 1);
        EXPECT_EQ(storedStock(local, "A"), a + (voidMeanwhile ? 0 : 2));
        EXPECT_EQ(storedStock(local, "B"), b - (voidMeanwhile ? 0 : 1));
        if (voidMeanwhile) {
            EXPECT_EQ(result, SaleFinish::Result::Failed);
            EXPECT_EQ(prompt.told, std::vector<std::string>{SaleEditing::kChangedMeanwhile});
            EXPECT_EQ(stored(n), meanwhile);
            EXPECT_EQ(SaleEditing(state).Clear(), SaleEditing::Result::Done);
            continue;
        }
        ASSERT_EQ(result, SaleFinish::Result::Stored);
        EXPECT_EQ(stored(n).itemNumber[1], "B");
        EXPECT_EQ(stored(n).paid, 1) << "paid again by its new type";
        EXPECT_EQ(stored(n).saleTime, before.saleTime);
        finish.StartNextSale();
    }
}

TEST_F(SaleEditingTest, TheCustomerComesWithAnEditedSaleOrAQuote)
{
    storeCustomer(local, "Ann", "Springfield", 2, "North");
    storeCustomer(local, "Bob", "Shelbyville", 1, "South");
    CustomerRecord ann;
    ASSERT_TRUE(FindCustomerByName(local, "Ann", ann));
    const struct {
        std::uint16_t number;
        const char* firstLine;
        const char* customer;
        const char* shownName;
    } cases[] = {{ann.customerNumber, "Renamed", "Ann", "Renamed"}, {999, "bob", "Bob", "bob"},
                 {0, "Retail", "", ""}, {0, "Carol", "", "Carol"}};
    for (const auto& c : cases) {
        InvoiceRecord sale = ClearedInvoice();
        std::tie(sale.customerNumber, sale.address[0]) = std::tuple{c.number, c.firstLine};
        int count = 0;
        ASSERT_EQ(ReadInvoiceCount(local, count), 0);
        const int n = AppendInvoice(local, sale, count, now);
        const int quote = SaveQuote(local, sale, now);
        state.GoToRecord(n);
        ASSERT_EQ(SaleEditing(state).BeginEdit(), SaleEditing::Result::Done);
        EXPECT_EQ(state.customer.name(), c.customer) << c.firstLine;
        EXPECT_EQ(state.current.address[0], c.shownName) << c.firstLine;
        EXPECT_EQ(QuoteLoading(state).Load(quote), QuoteLoading::Result::Refused);
        ASSERT_EQ(SaleEditing(state).Clear(), SaleEditing::Result::Done);
        ASSERT_EQ(QuoteLoading(state).Load(quote), QuoteLoading::Result::Done);
        EXPECT_EQ(state.current.recordNumber, n + 1);
        EXPECT_EQ(state.customer.name(), c.customer) << c.firstLine;
    }
    // The walk-in sale finished again stays one.
    state.GoToRecord(2);
    ASSERT_EQ(SaleEditing(state).BeginEdit(), SaleEditing::Result::Done);
    ASSERT_EQ(finish.FinishSale({"Ann", "", "Check"}), SaleFinish::Result::Stored);
    EXPECT_EQ(stored(2).address[0], "Retail");
    CustomerRecord none;
    EXPECT_FALSE(FindCustomerByName(local, "Retail", none));
}

TEST_F(SaleEditingTest, TheQuoteListTakesTheWholeEndDayFromTheFile)
{
    SalesFileHeader header;
    const auto writeQuotes = [&](const std::vector<InvoiceRecord>& quotes) {
        std::vector<std::uint8_t> bytes(QuoteOffset(static_cast<long long>(quotes.size())), 0);
        codec::putI32(bytes.data(), 0, static_cast<std::int32_t>(quotes.size()));
        for (std::size_t i = 0; i < quotes.size(); ++i)
            quotes[i].encode(bytes.data() + QuoteOffset(static_cast<long long>(i)));
        writeBytes(local.GetPath("Quotes"), bytes);
    };
    std::vector<InvoiceRecord> quotes;
    for (int day : {1, 2, 3}) {
        InvoiceRecord q = ClearedInvoice();
        std::tie(q.recordNumber, q.priceLevel) = std::tuple{day * 10, day * 4};
        q.saleTime = OleDate::fromCalendar(2026, 5, day, day == 2 ? 23 : 0, 30);
        q.address = {"Sam", "Acme", "1 Road", "Town", "ST", "12345", "", "", ""};
        quotes.push_back(q);
    }
    writeQuotes(quotes);
    const struct {
        int from, to;
        std::vector<int> numbers;
    } ranges[] = {{1, 1, {10}}, {1, 2, {10, 20}}, {2, 3, {20, 30}}, {3, 1, {}}};
    QuoteRows rows;
    for (const auto& r : ranges) {
        ASSERT_TRUE(rows.list(local, OleDate::fromCalendar(2026, 5, r.from, 15), OleDate::fromCalendar(2026, 5, r.to)));
        std::vector<int> got;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            got.push_back(rows.number(row));
            EXPECT_EQ(rows.cell(row, 6, header), "Sam Acme 1 Road, Town, ST 12345");
        }
        EXPECT_EQ(got, r.numbers) << r.from << ".." << r.to;
    }
    ASSERT_TRUE(rows.list(local, quotes[2].saleTime, quotes[2].saleTime));
    EXPECT_EQ(rows.cell(0, 5, header), "Category 6");
    quotes[0].address = {};  // a walk-in quote
    writeQuotes(quotes);
    ASSERT_TRUE(rows.list(local, quotes[0].saleTime, quotes[0].saleTime));
    EXPECT_EQ(rows.cell(0, 6, header), "");
}

TEST_F(SaleEditingTest, MarginsAreBlankWithoutACostToDivideBy)
{
    InvoiceRecord sale = ClearedInvoice();
    const struct {
        const char* item;
        float qty, cost, extended;
        const char* margin;
    } lines[] = {{"A", 2, 4, 10, "25.00"}, {"V", 0, 4, 0, ""}, {"Z", 3, 0, 9, ""}, {"", 1, 2, 5, ""}};
    for (std::size_t i = 0; i < std::size(lines); ++i)
        std::tie(sale.itemNumber[i], sale.qty[i], sale.cost[i], sale.extended[i]) =
            std::tuple{lines[i].item, lines[i].qty, lines[i].cost, lines[i].extended};
    sale.priceLevel = 200;
    for (bool showMargins : {true, false}) {
        const SaleDisplay d = BuildSaleDisplay(local, header, sale, showMargins);
        EXPECT_EQ(d.level, "Category 6");
        for (std::size_t i = 0; i < std::size(lines); ++i)
            EXPECT_EQ(d.lines[i].margin, showMargins ? lines[i].margin : "") << i;
    }
}
}  // namespace
