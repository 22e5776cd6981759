// The sale screen's state and its actions without a window: resetting for a
// new sale, products picked or scanned, editing, voiding and loading quotes.
#include "products/SaleStock.h"
#include "sale/PaymentHistory.h"
#include "sale/QuoteList.h"
#include "sale/QuoteLoading.h"
#include "sale/SaleDisplay.h"
#include "sale/SaleEditing.h"
#include "sale/SaleFinishing.h"
#include "sale/ScanDetector.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/QuoteFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"
#include "support/ProductFiles.h"
#include "support/SaleDesk.h"
#include "support/StoredRecords.h"
#include "support/TempDir.h"

namespace {

ProductRecord picked(const std::string& item, float price = 2)
{
    ProductRecord p = makeProduct(item, 3);
    std::tie(p.description, p.department, p.price[0]) = std::tuple{"Picked " + item, "Dept", price};
    return p;
}

using SaleStateTest = SaleDesk;

TEST_F(SaleStateTest, ResetKeepsCashierAndSalespersonAndDatesFromTheClock)
{
    now = {2026, 3, 14, 15, 9, 26, 6, 72};
    ASSERT_EQ(AppendTaxZone(local, TaxTableRecord{"Home", 6.0f, 1.0f}), 0);
    ASSERT_EQ(SetDefaultZone(local, "Home"), 0);
    header.simpleTax = 0;
    local.loggedInCashier = "Mary";
    state.Open();
    EXPECT_EQ(state.current.cashier, "Mary");
    InvoiceRecord& s = state.current;
    s.salesperson = "Sam", s.payType = "Cash", s.itemNumber[4] = "X", s.qty[4] = 2, s.address[0] = "Someone";
    s.handling = 3, s.taxStatus[4] = 0;  // an untaxed product stood in the slot
    state.customer.priceLevel = 2;
    state.ClearThisSale();
    EXPECT_EQ((std::array<std::string, 5>{s.cashier, s.salesperson, s.payType, s.itemNumber[4], s.address[0]}),
              (std::array<std::string, 5>{"Mary", "Sam", "", "", ""}));
    EXPECT_EQ((std::array<float, 5>{s.qty[4], s.handling, s.taxRate1, s.taxRate2, float(state.customer.priceLevel)}),
              (std::array<float, 5>{0, 0, 6, 1, 0}));
    EXPECT_EQ(s.lineMode[4], InvoiceRecord::kClearedLineMode);
    EXPECT_EQ(s.taxStatus[4], ProductRecord{}.taxStatus);  // a line typed there is taxed by the default
    EXPECT_EQ(state.taxTableName(), "Home");
    EXPECT_EQ(s.recordNumber, 0);
    // 14 March 2026, a Saturday: "%U" week 10.
    EXPECT_EQ((std::array<int, 5>{s.year, s.month, s.period, s.day, s.week}), (std::array<int, 5>{2026, 3, 3, 14, 10}));
    EXPECT_EQ(s.saleTime, OleDate::fromCalendar(2026, 3, 14, 15, 9, 26));
}

TEST_F(SaleStateTest, PickedProductsFillTheFirstFreeSlotOrAddToTheirLine)
{
    state.Open();
    EXPECT_EQ(state.AddPickedProduct(picked("A1")), 0);
    EXPECT_EQ(state.current.department[0], "Dept");
    EXPECT_EQ(state.lineStock[0], 3.0f);
    EXPECT_EQ(state.AddPickedProduct(picked("a1")), 0);  // the same item, any case
    EXPECT_FLOAT_EQ(state.current.qty[0], 2.0f);
    state.current.description[1] = "note";  // a slot with only a description is not free
    EXPECT_EQ(state.AddPickedProduct(picked("B1", 1)), 2);
    for (int i = 3; i < 20; ++i)
        ASSERT_EQ(state.AddPickedProduct(picked("C" + std::to_string(i), 1)), i);
    EXPECT_EQ(state.scrollOffset, 8);  // slot 19 shown in the last row
    // Every slot taken: a product not yet on the sale is not added.
    EXPECT_EQ(state.AddPickedProduct(picked("NEW", 1)), -1);
    EXPECT_EQ(state.AddPickedProduct(picked("B1", 1)), 2);
    EXPECT_FLOAT_EQ(state.current.qty[2], 2.0f);
}

// A scan takes the first slot empty both in the sale and on the screen,
// scrolling to it; with every slot in use it is refused.
TEST_F(SaleStateTest, ScansTakeTheFirstRowEmptyInTheSaleAndOnTheScreen)
{
    writeProductFile(local.GetPath("Products"), {picked("A1"), picked("B1")});
    state.Open();
    SaleState::ShownRows shown{};
    shown[0] = true;  // row 0 shows a code still being typed
    EXPECT_EQ(state.ScanCode("B1", shown, {}).slot, 1);
    EXPECT_TRUE(state.ScanCode("NOPE", shown, {}).unknown);
    EXPECT_EQ(state.FirstEmptySlot(shown), 2);  // nothing was charged
    shown.fill(true);
    EXPECT_EQ(state.FirstEmptySlot(shown), 12);
    EXPECT_EQ(state.ScrollToSlot(12), 11);
    EXPECT_EQ(state.scrollOffset, 1);
    for (int i = 12; i < 20; ++i)
        state.current.description[i] = "note";
    EXPECT_EQ(state.FirstEmptySlot(shown), 0);  // slot 0 scrolled out of view, empty
    state.current.description[0] = "note";
    EXPECT_EQ(state.FirstEmptySlot(shown), -1);
    EXPECT_TRUE(state.ScanCode("A1", shown, {}).full);
    EXPECT_EQ(state.ScrollToSlot(0), 0);
    EXPECT_EQ(state.scrollOffset, 0);
}

// Editing and voiding act on a stored sale only; a quote loads as the new
// sale, never over a stored sale being edited.
TEST_F(SaleStateTest, EditsVoidsAndQuotesActOnlyWhereTheyMay)
{
    // Product A1 (stock 3), two stored sales of it (2, then 1), the new sale shown.
    writeProductFile(local.GetPath("Products"), {picked("A1")});
    storeSale(local, SaleSpec().item("A1").total(4).qty(2));
    storeSale(local, SaleSpec().item("A1").total(2).qty(1));
    state.Open();
    SaleEditing editing(state);
    EXPECT_EQ(editing.BeginEdit(), SaleEditing::Result::NewSaleShown);
    EXPECT_EQ(editing.Void(), SaleEditing::Result::NewSaleShown);
    InvoiceRecord quote;
    std::tie(quote.itemNumber[0], quote.qty[0], quote.price[0]) = std::tuple{"Q1", 4.0f, 1.5f};
    std::tie(quote.itemNumber[1], quote.qty[1]) = std::tuple{"a1", 1.0f};
    ASSERT_EQ(SaveQuote(local, quote, now), 0);
    EXPECT_EQ(QuoteLoading(state).Load(7), QuoteLoading::Result::NotFound);

    state.GoPrev();
    ASSERT_EQ(editing.Void(), SaleEditing::Result::Done);
    EXPECT_EQ(state.current.description[0], "VOIDED - ");
    EXPECT_FLOAT_EQ(state.current.total, 0.0f);
    state.GoPrev();
    EXPECT_FALSE(SaleFinishing(state).CanFinish());
    // A stored sale not being edited takes no change: its two A stay.
    state.SetLineNumber(0, SaleState::LineField::Qty, 9);
    EXPECT_EQ(state.ItemNumberExit(0, "", {}).slot, -1);
    EXPECT_EQ(state.AddPickedProduct(picked("A1", 1)), -1);
    EXPECT_EQ(std::pair(state.current.itemNumber[0], state.current.qty[0]), std::pair(std::string("A1"), 2.0f));
    ASSERT_EQ(editing.BeginEdit(), SaleEditing::Result::Done);
    EXPECT_TRUE(state.showingNew() && state.editingStored());
    EXPECT_EQ(std::pair(state.current.itemNumber[0], state.current.qty[0]), std::pair(std::string("A1"), 2.0f));
    EXPECT_EQ(storedStock(local, "A1"), 4.0f);  // the void gave back one; the edit moves nothing yet
    EXPECT_TRUE(SaleFinishing(state).CanFinish());
    EXPECT_EQ(std::pair(SaleFinishing(state).target().append, SaleFinishing(state).target().recordNumber),
              std::pair(false, 0));
    // Paging away and back keeps it; no quote replaces it until it is cleared.
    state.GoPrev();
    state.GoCurrent();
    EXPECT_EQ(state.current.recordNumber, 0);
    EXPECT_EQ(QuoteLoading(state).Load(0), QuoteLoading::Result::Refused);
    EXPECT_EQ(state.current.itemNumber[0], "A1");
    EXPECT_EQ(editing.Clear(), SaleEditing::Result::Done);
    ASSERT_EQ(QuoteLoading(state).Load(0), QuoteLoading::Result::Done);
    EXPECT_EQ(std::pair(state.current.itemNumber[0], state.current.recordNumber), std::pair(std::string("Q1"), 2));
    EXPECT_FLOAT_EQ(state.current.total, 6.0f);
    // Its lines show their products' stock as stored now; a line without a product none.
    EXPECT_EQ(std::pair(state.lineStock[0], state.lineStock[1]), std::pair(0.0f, 4.0f));
}

// A void shows the sale it voided, the first one of the file too.
TEST_F(SaleStateTest, VoidShowsTheVoidedSaleWhereItLies)
{
    writeProductFile(local.GetPath("Products"), {picked("A1")});
    storeSale(local, SaleSpec().item("A1").total(4).qty(2));
    storeSale(local, SaleSpec().item("B2").total(2).qty(1));
    state.Open();
    for (const int shown : {1, 0}) {
        state.GoToRecord(shown);
        ASSERT_EQ(SaleEditing(state).Void(), SaleEditing::Result::Done);
        EXPECT_EQ(std::pair(static_cast<int>(local.currentRecord), state.current.description[0]),
                  std::pair(shown, std::string("VOIDED - ")));
    }
    EXPECT_EQ(storedStock(local, "A1"), 5.0f);
}

TEST(ScanDetector, OnlyAFastRunEndedByEnterIsAScan)
{
    const struct {
        const char* name;
        std::vector<std::uint64_t> keys;  // times of the characters, then of Enter
        bool scan;
    } cases[] = {
        {"burst", {1000, 1005, 1010, 1015, 1020}, true},
        {"at the gap", {1000, 1100, 1200, 1300, 1400}, true},
        {"a busy PC", {1000, 1005, 1095, 1100, 1105, 1110}, true},
        {"typed", {1000, 1150, 1290, 1400, 1600}, false},
        {"typed briskly", {1000, 1101, 1202, 1303, 1404}, false},
        {"too short", {1000, 1005, 1010, 1015}, false},
        {"slow Enter", {1000, 1005, 1010, 1015, 1300}, false},
        {"a pause inside", {1000, 1005, 1300, 1305, 1310}, false},
        {"one gap too long", {1000, 1005, 1010, 1111, 1116}, false},
        {"no times", {0, 0, 0, 0, 0}, false},
        {"clock back", {1000, 1005, 900, 905, 910}, false},
    };
    for (const auto& c : cases) {
        ScanDetector d;
        for (std::size_t i = 0; i + 1 < c.keys.size(); ++i)
            d.Character(c.keys[i], std::string(1, char('0' + i)));
        EXPECT_EQ(d.Enter(c.keys.back()).empty(), !c.scan) << c.name;
    }
    // A run starts again after a pause, and the scan is only its characters.
    ScanDetector d(10, 3);
    EXPECT_TRUE(d.Character(100, "x"));
    EXPECT_TRUE(d.Character(500, "1"));
    EXPECT_FALSE(d.Character(505, "2"));
    d.Character(510, "3");
    EXPECT_EQ(d.Enter(515), "123");
    d.Character(600, "4");
    d.Character(601, "5");
    d.Reset();
    d.Character(602, "6");
    EXPECT_EQ(d.Enter(603), "");
}

// A sale with more payments than the screen lists shows its last ones and
// counts the earlier; the sum and balance take every payment of the sale. The
// text is read again only when the sale or the payments change.
TEST_F(SaleStateTest, PaymentHistoryListsTheLastPaymentsSumsThemAllAndFollowsChanges)
{
    const int many = static_cast<int>(kPaymentHistoryLines) + 3;
    PaymentFileHeader header;
    header.count = header.nextId = 2 * many;
    std::vector<std::uint8_t> file(PaymentFileHeader::kSize + PaymentRecord::kSize * 2 * many);
    header.encode(file.data());
    for (int i = 0; i < 2 * many; ++i) {  // sale 7's payments between another sale's
        PaymentRecord p;
        std::tie(p.invoiceNumber, p.amount, p.payType) = std::tuple{7 + i % 2, 1.0f + i / 2, i / 2 < 3 ? "Early" : "Cash"};
        p.encode(file.data() + PaymentOffset(i));
    }
    writeBytes(local.GetPath("Payments"), file);
    InvoiceRecord sale;
    std::tie(sale.recordNumber, sale.total) = std::tuple{7, 6000.0f};
    PaymentHistoryCache cache;
    const std::string text = cache.Text(local, sale);
    cache.Text(local, sale);
    EXPECT_EQ(cache.reads(), 1);
    const long long paid = many * (many + 1) / 2;
    EXPECT_EQ(text.find("Early"), std::string::npos);
    EXPECT_NE(text.find("\r\n(3 earlier payments)\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(kPaymentHistoryLines) + 4);
    EXPECT_NE(text.find(strprintf("Paid: %lld.00\r\nBalance Due: %lld.00", paid, 6000 - paid)), std::string::npos);

    PaymentRecord p;
    std::tie(p.invoiceNumber, p.amount, p.payType) = std::tuple{7, 20.0f, "Cash"};
    ASSERT_EQ(AppendPayment(local, p), 2 * many);
    EXPECT_NE(cache.Text(local, sale).find(strprintf("Balance Due: %lld.00", 6000 - paid - 20)), std::string::npos);
    EXPECT_EQ(cache.reads(), 2);
    sale.recordNumber = 9;
    EXPECT_EQ(cache.Text(local, sale).find("Cash"), std::string::npos);
    EXPECT_EQ(cache.reads(), 3);
}
// Editing stored sales and the quote list without a window: finishing an edit
// moves stock by the difference over the same record, a sale changed meanwhile
// at another register is never written over, and the customer comes with it.
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
