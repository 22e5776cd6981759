// Voiding a stored sale and returning it to stock for editing.
#include "CLocalFile.h"
#include "InvoiceFile.h"
#include "ProductFile.h"
#include "ProductFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Undo : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};

    void SetUp() override
    {
        writeProductFile(local.GetPath("Products"), {makeProduct("A", 5), makeProduct("B", 2), makeProduct("A", 50)});
        InvoiceRecord other;
        other.itemNumber[0] = "B";
        other.qty[0] = 9;
        store(other);
        InvoiceRecord sale;
        sale.itemNumber[0] = "A";
        sale.qty[0] = 2;
        sale.description[0] = "Apples";
        sale.itemNumber[1] = "b";  // item numbers match ignoring case
        sale.qty[1] = 1;
        sale.description[1] = std::string(35, 'x');
        sale.itemNumber[2] = "GONE";  // no such product
        sale.qty[2] = 3;
        sale.description[3] = "a note without an item";
        for (std::size_t i = 0; i < 3; ++i)
            sale.extended[i] = 1.5f;
        sale.total = 12;
        sale.taxableSubtotal = 10;
        sale.tax1 = 2;
        sale.totalCost = 4;
        sale.cashPaid = 20;
        sale.change = 8;
        sale.taxRate1 = 6;
        sale.payType = "terms";
        store(sale);
    }
    void store(InvoiceRecord r)
    {
        int count = 0;
        ASSERT_EQ(ReadInvoiceCount(local, count), 0);
        ASSERT_GE(AppendInvoice(local, r, count, CalendarTime{2026, 12, 1, 10}), 0);
    }
    InvoiceRecord read(int n)
    {
        InvoiceRecord r;
        EXPECT_TRUE(ReadInvoice(local, n, r));
        return r;
    }
    float stock(long long index)
    {
        ProductRecord p;
        EXPECT_EQ(ReadProductAt(local, index, p), 0);
        return p.stock;
    }
};

}  // namespace

TEST_F(Undo, VoidReturnsStockOnceAndEmptiesTheSaleInPlace)
{
    const InvoiceRecord before = read(1);
    ASSERT_EQ(before.paid, 0);  // on account with nothing paid
    ASSERT_EQ(VoidInvoice(local, 1), 0);
    EXPECT_EQ(stock(0), 7.0f);   // the first "A" only
    EXPECT_EQ(stock(1), 3.0f);
    EXPECT_EQ(stock(2), 50.0f);
    const InvoiceRecord v = read(1);
    EXPECT_EQ(v.paid, 1);
    EXPECT_EQ(v.description[0], "VOIDED - Apples");
    EXPECT_EQ(v.description[1], "VOIDED - " + std::string(30, 'x'));  // cut to 39
    EXPECT_EQ(v.description[2], "VOIDED - ");
    EXPECT_EQ(v.description[3], "a note without an item");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(v.qty[i], 0.0f);
        EXPECT_EQ(v.extended[i], 0.0f);
    }
    EXPECT_EQ(v.itemNumber[0], "A");
    for (float t : {v.discountPercent, v.taxableSubtotal, v.exemptSubtotal, v.tax1, v.tax2, v.handling, v.total,
                    v.totalCost})
        EXPECT_EQ(t, 0.0f);
    EXPECT_EQ(v.cashPaid, 20.0f);
    EXPECT_EQ(v.change, 8.0f);
    EXPECT_EQ(v.taxRate1, 6.0f);
    EXPECT_EQ(v.saleTime, before.saleTime);
    EXPECT_EQ(read(0).qty[0], 9.0f);  // the other sale is untouched

    // Twice: the prefix again, the stock not again.
    ASSERT_EQ(VoidInvoice(local, 1), 0);
    EXPECT_EQ(read(1).description[0], "VOIDED - VOIDED - Apples");
    EXPECT_EQ(stock(0), 7.0f);
    EXPECT_EQ(stock(1), 3.0f);
}

TEST_F(Undo, ReturnToStockKeepsPaidAndDescriptionsAndGivesTheSaleAsItWas)
{
    const InvoiceRecord before = read(1);
    InvoiceRecord unchanged;
    ASSERT_EQ(ReturnInvoiceToStock(local, 1, &unchanged), 0);
    EXPECT_EQ(unchanged.qty, before.qty);
    EXPECT_EQ(unchanged.total, before.total);
    EXPECT_EQ(stock(0), 7.0f);
    EXPECT_EQ(stock(1), 3.0f);
    const InvoiceRecord r = read(1);
    EXPECT_EQ(r.paid, before.paid);
    EXPECT_EQ(r.description, before.description);
    EXPECT_EQ(r.qty[0], 0.0f);
    EXPECT_EQ(r.total, 0.0f);
}

TEST_F(Undo, NothingChangesForAMissingFileOrANumberOutOfRange)
{
    const auto invoices = readBytes(local.GetPath("Invoices"));
    const auto products = readBytes(local.GetPath("Products"));
    for (int n : {-1, 2, 1000})
        EXPECT_NE(VoidInvoice(local, n), 0) << n;
    EXPECT_NE(ReturnInvoiceToStock(local, 2), 0);
    // A count past the end: the missing record is not a stored sale.
    auto grown = invoices;
    codec::putI32(grown.data(), 0, 5);
    writeBytes(local.GetPath("Invoices"), grown);
    EXPECT_NE(VoidInvoice(local, 3), 0);
    writeBytes(local.GetPath("Invoices"), invoices);
    EXPECT_EQ(readBytes(local.GetPath("Products")), products);

    std::remove(local.GetPath("Products").c_str());
    EXPECT_NE(VoidInvoice(local, 1), 0);
    EXPECT_EQ(readBytes(local.GetPath("Invoices")), invoices);
}

// A void stopped at every file operation in turn (the process ends there, as
// at a power cut) leaves the sale either whole with its stock, or voided; and
// stock is never returned for a sale that still counts.
