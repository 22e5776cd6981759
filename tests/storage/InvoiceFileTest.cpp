#include "FileSetTest.h"
#include "InvoiceTestSupport.h"
#include "products/SaleStock.h"
#include "receivables/PaidRule.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ProductFile.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "support/ProductFiles.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const CalendarTime kNow = at(2006, 4, 1, 12, 0, 0);

InvoiceRecord saleOf(const std::string& payType, float total)
{
    InvoiceRecord r = ClearedInvoice();
    std::tie(r.payType, r.total) = std::tuple{payType, total};
    return r;
}

struct InvoiceFile : FileSetTest {
    const std::string path = local.GetPath("Invoices");
    int count = 0;
    int store(InvoiceRecord r, const CalendarTime& when = kNow)
    {
        EXPECT_EQ(ReadInvoiceCount(local, count), FileCause::None);
        return AppendInvoice(local, r, count, when);
    }
    InvoiceRecord read(int n)
    {
        InvoiceRecord r;
        EXPECT_TRUE(ReadInvoice(local, n, r)) << n;
        return r;
    }
    float stock(long long index)
    {
        ProductRecord p;
        EXPECT_EQ(ReadProductAt(local, index, p), FileCause::None);
        return p.stock;
    }
    // Products A, B and a second A; sale 0 sells B, sale 1 on terms sells A, b
    // (case is ignored), an unknown item and a note.
    void storeSalesToUndo()
    {
        writeProductFile(local.GetPath("Products"), {makeProduct("A", 5), makeProduct("B", 2), makeProduct("A", 50)});
        InvoiceRecord other, sale;
        std::tie(other.itemNumber[0], other.qty[0]) = std::tuple{"B", 9};
        store(other);
        std::tie(sale.itemNumber[0], sale.itemNumber[1], sale.itemNumber[2]) = std::tuple{"A", "b", "GONE"};
        std::tie(sale.qty[0], sale.qty[1], sale.qty[2]) = std::tuple{2, 1, 3};
        sale.extended = {1.5f, 1.5f, 1.5f};
        std::tie(sale.description[0], sale.description[1], sale.description[3]) =
            std::tuple{"Apples", std::string(35, 'x'), "a note without an item"};
        std::tie(sale.payType, sale.total) = std::tuple{"terms", 12};
        std::tie(sale.taxableSubtotal, sale.tax1, sale.totalCost, sale.cashPaid, sale.change, sale.taxRate1) =
            std::tuple{10, 2, 4, 20, 8, 6};
        store(sale);
    }
};
}  // namespace

TEST_F(InvoiceFile, EmptyFileThenFirstSales)
{
    count = 12;  // a missing file is created holding no sales
    EXPECT_EQ(ReadInvoiceCount(local, count), FileCause::None);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    InvoiceRecord r;
    EXPECT_FALSE(ReadInvoice(local, 0, r));
    EXPECT_FALSE(ReadInvoice(local, -1, r));
    EXPECT_EQ(prompt.take(), (std::vector<std::string>{"Read by reocord number error: out of range",
                                                       "Reocord number error: negative number"}));
    EXPECT_EQ((std::pair{FirstSaleDate(local, kNow), LastSaleDate(local, kNow)}), (std::pair{OleDate::fromCalendar(kNow), OleDate::fromCalendar(kNow)}));

    InvoiceRecord sale = saleOf("Cash", 5.0f);
    sale.recordNumber = 99;
    EXPECT_EQ(AppendInvoice(local, sale, count, kNow), 0);
    EXPECT_EQ((std::vector<int>{count, sale.recordNumber, sale.year, sale.period}), (std::vector<int>{1, 0, 2006, 1}));
    EXPECT_EQ(sale.saleTime, (OleDate{38808.5, 0}));
    const CalendarTime later = at(2006, 12, 24, 18, 0, 0);
    InvoiceRecord second = saleOf("Check", 7.0f);
    EXPECT_EQ(AppendInvoice(local, second, count, later), 1);
    EXPECT_EQ((std::pair{count, fileSize(path)}), (std::pair{2, 4 + 2 * 4728LL}));
    EXPECT_EQ(read(1), second);
    EXPECT_FALSE(ReadInvoice(local, 2, r));
    EXPECT_EQ((std::pair{FirstSaleDate(local, later), LastSaleDate(local, kNow)}), (std::pair{OleDate{38808.5, 0}, OleDate::fromCalendar(later)}));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Read by reocord number error: out of range"});

    // Another folder without an invoice file: nothing to open.
    TempDir other;
    const CLocalFile elsewhere(other.path());
    EXPECT_FALSE(ReadInvoice(elsewhere, 0, r));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Read Invoice error: can't open"});
    EXPECT_EQ(AppendInvoice(elsewhere, sale, count, kNow), -1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(FirstSaleDate(elsewhere, kNow), OleDate::fromCalendar(kNow));

    // A file too short even for its count holds no sales; the next append makes it whole.
    writeBytes(path, {1, 0});
    EXPECT_EQ(ReadInvoiceCount(local, count), FileCause::None);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(store(patternSale(2, 0)), 0);
    EXPECT_EQ(fileSize(path), 4 + 4728);
}

TEST_F(InvoiceFile, PaidRuleAtAppendAndUpdateAndTheAddressBlock)
{
    // Only a sale on account (terms, deposit, split) with something owed is left unpaid.
    InvoiceRecord terms;
    for (const auto& [payType, total, paid] : {std::tuple{"Cash", 50.0f, 1}, {"terms", 0.0f, 1}, {"Deposit", -4.0f, 1},
                                               {"Split", 30.0f, 0}, {"TERMS", 100.0f, 0}}) {
        terms = saleOf(payType, total);
        ReadInvoiceCount(local, count);
        AppendInvoice(local, terms, count, kNow);
        EXPECT_EQ(terms.paid, paid) << payType;
    }
    ASSERT_EQ(terms.recordNumber, 4);
    // An update writes over the sale of its number only.
    terms.handling = 1;
    EXPECT_EQ(UpdateInvoice(local, terms), 4);
    EXPECT_EQ(read(4).handling, 1.0f);
    for (int n : {5, -1}) {
        terms.recordNumber = n;
        EXPECT_EQ(UpdateInvoice(local, terms), -1);
    }
    EXPECT_EQ(fileSize(path), 4 + 5 * 4728);

    for (const auto& [payType, onAccount] :
         {std::pair{"deposit", true}, {"Split", true}, {"Terms ", false}, {"TERMS", true}, {"Cash", false}, {"", false}}) {
        EXPECT_EQ(IsOnAccount(saleOf(payType, 1)), onAccount) << payType;
        EXPECT_EQ(IsDeferredPayType(payType), onAccount) << payType;
    }
    OleDate due;  // an undated sale has no due date; the arithmetic is checked through the unpaid lists
    EXPECT_FALSE(IsOverdue(ClearedInvoice(), 0, at(2006, 5, 1), due));
    EXPECT_FALSE(due.isValid());

    terms.address = {"Ann Smith", "ACME", "1 Main St", "Springfield", "IL", "62701", "555", "556", "a@b.c"};
    EXPECT_EQ(AddressBlock(terms), "Ann Smith\r\nACME\r\n1 Main St\r\nSpringfield, IL 62701 ");
    EXPECT_EQ(AddressBlock(ClearedInvoice()), "\r\n\r\n\r\n,   ");
}

TEST_F(InvoiceFile, SoldQuantityCountsMatchingLinesInTheDateRange)
{
    auto sell = [&](const CalendarTime& when, std::vector<std::pair<std::string, float>> lines) {
        InvoiceRecord r = saleOf("Cash", 1);
        for (std::size_t i = 0; i < lines.size(); ++i)
            std::tie(r.itemNumber[i + 3], r.qty[i + 3]) = lines[i];
        store(r, when);
    };
    sell(at(2006, 3, 31, 23, 59, 59), {{"AB-1", 100}});               // the day before
    sell(at(2006, 4, 1), {{"ab-1", 2}, {"AB-10", 50}, {"Ab-1", 3}});   // first day: 5
    sell(at(2006, 4, 15), {{"XY", 7}, {"ab-1", 0.5f}});                // 0.5
    sell(at(2006, 4, 30, 23, 59, 59), {{"AB-1", -1}});                 // last day, a return: -1
    sell(at(2006, 5, 1), {{"AB-1", 1000}});                            // the day after
    // An item number longer than its slot was stored cut to 23 characters and matches by those.
    sell(at(2006, 6, 1), {{std::string(30, 'q'), 4}});
    const std::tuple<std::string, CalendarTime, CalendarTime, float> cases[] = {
        {"aB-1", at(2006, 4, 1, 18), at(2006, 4, 30), 4.5f},    {"AB-1", at(2006, 5, 1), at(2006, 5, 1), 1000.0f},
        {"AB-1", at(2006, 5, 2), at(2006, 4, 1), 0.0f},         {"AB", at(2000, 1, 1), at(2010, 1, 1), 0.0f},
        {std::string(23, 'Q'), at(2006, 6, 1), at(2006, 6, 1), 4.0f}, {std::string(24, 'q'), at(2006, 6, 1), at(2006, 6, 1), 0.0f}};
    for (const auto& [item, from, to, sold] : cases)
        EXPECT_EQ(SoldQuantityInRange(local, item, from, to), sold) << item;
    TempDir other;
    EXPECT_EQ(SoldQuantityInRange(CLocalFile(other.path()), "AB-1", at(2000, 1, 1), at(2010, 1, 1)), 0.0f);

    // Many records over several blocks with random lines: the block scan gives
    // the very float sum of reading record by record.
    std::mt19937 rng(7);
    const char* items[] = {"a1", "A1", "b2", "", "a1 ", "B2"};
    for (int n = 0; n < 157; ++n) {
        InvoiceRecord r = saleOf("Cash", 1);
        for (std::size_t i = 0; i < 20; ++i) {
            r.itemNumber[i] = items[rng() % 6];
            r.qty[i] = static_cast<float>(rng() % 1000) / 7.0f;
        }
        store(r, at(2006, 1 + static_cast<int>(rng() % 12), 1 + static_cast<int>(rng() % 28)));
    }
    for (const std::string item : {"a1", "B2", "a1 "}) {
        float expected = 0;
        for (int n = 0; n < count; ++n) {
            const InvoiceRecord r = read(n);
            if (DateKey(r) >= DateKey(2006, 3, 10) && DateKey(r) <= DateKey(2006, 9, 20))
                for (std::size_t i = 0; i < 20; ++i)
                    expected += EqualsIgnoreCase(r.itemNumber[i], item) ? r.qty[i] : 0.0f;
        }
        EXPECT_NE(expected, 0.0f);
        EXPECT_EQ(SoldQuantityInRange(local, item, at(2006, 3, 10), at(2006, 9, 20)), expected) << item;
    }
}

TEST_F(InvoiceFile, VoidReturnsStockOnceAndEmptiesTheSaleInPlace)
{
    storeSalesToUndo();
    const InvoiceRecord before = read(1);
    ASSERT_EQ(before.paid, 0);  // on account with nothing paid
    ASSERT_EQ(VoidInvoice(local, 1), FileCause::None);
    EXPECT_EQ((std::vector<float>{stock(0), stock(1), stock(2)}), (std::vector<float>{7, 3, 50}));  // the first A only
    const InvoiceRecord v = read(1);
    EXPECT_EQ(v.paid, 1);
    EXPECT_EQ((std::vector<std::string>(v.description.begin(), v.description.begin() + 4)),
              (std::vector<std::string>{"VOIDED - Apples", "VOIDED - " + std::string(30, 'x') /* cut to 39 */, "VOIDED - ",
                                        "a note without an item"}));
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(v.qty[i] + v.extended[i], 0.0f);
    EXPECT_EQ(v.itemNumber[0], "A");
    for (float t : {v.discountPercent, v.taxableSubtotal, v.exemptSubtotal, v.tax1, v.tax2, v.handling, v.total, v.totalCost})
        EXPECT_EQ(t, 0.0f);
    EXPECT_EQ((std::vector<float>{v.cashPaid, v.change, v.taxRate1}), (std::vector<float>{20, 8, 6}));
    EXPECT_EQ(v.saleTime, before.saleTime);
    EXPECT_EQ(read(0).qty[0], 9.0f);  // the other sale is untouched

    // Twice: the prefix again, the stock not again.
    ASSERT_EQ(VoidInvoice(local, 1), FileCause::None);
    EXPECT_EQ(read(1).description[0], "VOIDED - VOIDED - Apples");
    EXPECT_EQ((std::vector<float>{stock(0), stock(1)}), (std::vector<float>{7, 3}));
}

TEST_F(InvoiceFile, ReturnToStockOrNothingChanged)
{
    storeSalesToUndo();
    const InvoiceRecord before = read(1);
    const auto invoices = readBytes(path);
    const auto products = readBytes(local.GetPath("Products"));
    for (int n : {-1, 2, 1000})
        EXPECT_NE(VoidInvoice(local, n), FileCause::None) << n;
    EXPECT_NE(ReturnInvoiceToStock(local, 2), FileCause::None);
    auto grown = invoices;
    codec::putI32(grown.data(), 0, 5);
    writeBytes(path, grown);
    EXPECT_NE(VoidInvoice(local, 3), FileCause::None);
    writeBytes(path, invoices);
    EXPECT_EQ(readBytes(local.GetPath("Products")), products);

    InvoiceRecord unchanged;
    ASSERT_EQ(ReturnInvoiceToStock(local, 1, &unchanged), FileCause::None);
    EXPECT_EQ(unchanged, before);
    EXPECT_EQ((std::vector<float>{stock(0), stock(1)}), (std::vector<float>{7, 3}));
    const InvoiceRecord r = read(1);
    EXPECT_EQ((std::tuple{r.paid, r.description}), (std::tuple{before.paid, before.description}));
    EXPECT_EQ(r.qty[0] + r.total, 0.0f);

    std::remove(local.GetPath("Products").c_str());
    const auto returned = readBytes(path);
    EXPECT_NE(VoidInvoice(local, 1), FileCause::None);
    EXPECT_EQ(readBytes(path), returned);
}
