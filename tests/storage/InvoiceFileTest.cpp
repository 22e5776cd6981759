#include "ByteCodec.h"
#include "CLocalFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"
#include "InvoiceTestSupport.h"
#include "PaymentRecord.h"
#include "TempDir.h"
#include "Transaction.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const CalendarTime kNow = at(2006, 4, 1, 12, 0, 0);

// An invoice file written directly: the count, then the records.
void writeInvoiceFile(const std::string& path, std::int32_t count, const std::vector<InvoiceRecord>& records)
{
    std::vector<std::uint8_t> bytes(4 + InvoiceRecord::kSize * records.size());
    codec::putI32(bytes.data(), 0, count);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].encode(bytes.data() + 4 + InvoiceRecord::kSize * i);
    writeBytes(path, bytes);
}

InvoiceRecord saleOf(const std::string& payType, float total)
{
    InvoiceRecord r = ClearedInvoice();
    r.payType = payType;
    r.total = total;
    return r;
}
}  // namespace

TEST(InvoiceFile, EmptyFileThenFirstSales)
{
    TempDir dir;
    CLocalFile local(dir.path());
    RecordingPrompt prompt;
    const std::string path = local.GetPath("Invoices");

    int count = 12;  // a missing file is created holding no sales
    EXPECT_EQ(ReadInvoiceCount(local, count), FileCause::None);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{0, 0, 0, 0}));

    InvoiceRecord r;
    EXPECT_FALSE(ReadInvoice(local, 0, r));
    EXPECT_FALSE(ReadInvoice(local, -1, r));
    EXPECT_EQ(prompt.take(), (std::vector<std::string>{"Read by reocord number error: out of range",
                                                       "Reocord number error: negative number"}));
    EXPECT_EQ(FirstSaleDate(local, kNow), OleDate::fromCalendar(kNow));
    EXPECT_EQ(LastSaleDate(local, kNow), OleDate::fromCalendar(kNow));

    InvoiceRecord sale = saleOf("Cash", 5.0f);
    sale.recordNumber = 99;
    EXPECT_EQ(AppendInvoice(local, sale, count, kNow), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(sale.recordNumber, 0);
    EXPECT_EQ(sale.year, 2006);
    EXPECT_EQ(sale.period, 1);
    EXPECT_EQ(sale.saleTime, (OleDate{38808.5, 0}));

    const CalendarTime later = at(2006, 12, 24, 18, 0, 0);
    InvoiceRecord second = saleOf("Check", 7.0f);
    EXPECT_EQ(AppendInvoice(local, second, count, later), 1);
    EXPECT_EQ(count, 2);

    const auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 4u + 2 * 4728u);
    EXPECT_EQ(codec::getI32(bytes.data(), 0), 2);
    EXPECT_EQ(codec::getI32(bytes.data(), 4 + 4728 + 8), 1);
    EXPECT_EQ(codec::getI16(bytes.data(), 4 + 4728 + 4696), 3);  // December

    ASSERT_TRUE(ReadInvoice(local, 1, r));
    EXPECT_EQ(r, second);
    EXPECT_FALSE(ReadInvoice(local, 2, r));
    EXPECT_EQ(FirstSaleDate(local, later), (OleDate{38808.5, 0}));
    EXPECT_EQ(LastSaleDate(local, kNow), OleDate::fromCalendar(later));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Read by reocord number error: out of range"});

    // Another folder without an invoice file: nothing to open.
    TempDir other;
    CLocalFile elsewhere(other.path());
    EXPECT_FALSE(ReadInvoice(elsewhere, 0, r));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Read Invoice error: can't open"});
    EXPECT_EQ(AppendInvoice(elsewhere, sale, count, kNow), -1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(FirstSaleDate(elsewhere, kNow), OleDate::fromCalendar(kNow));
}

TEST(InvoiceFile, PaidRuleAtAppendAndUpdate)
{
    TempDir dir;
    CLocalFile local(dir.path());
    int count = 0;
    ReadInvoiceCount(local, count);

    InvoiceRecord cash = saleOf("Cash", 50.0f);  // nothing tendered: still paid
    AppendInvoice(local, cash, count, kNow);
    EXPECT_EQ(cash.paid, 1);
    InvoiceRecord zeroTerms = saleOf("terms", 0.0f);
    AppendInvoice(local, zeroTerms, count, kNow);
    EXPECT_EQ(zeroTerms.paid, 1);
    InvoiceRecord refund = saleOf("Deposit", -4.0f);
    AppendInvoice(local, refund, count, kNow);
    EXPECT_EQ(refund.paid, 1);
    InvoiceRecord split = saleOf("Split", 30.0f);  // settled at the sale: paid
    AppendInvoice(local, split, count, kNow);
    EXPECT_EQ(split.paid, 1);
    InvoiceRecord terms = saleOf("TERMS", 100.0f);
    ASSERT_EQ(AppendInvoice(local, terms, count, kNow), 4);
    EXPECT_EQ(terms.paid, 0);

    PaymentRecord part;
    part.invoiceNumber = 4;
    part.amount = 60.0f;
    AppendPayment(local, part);
    terms.handling = 1.0f;
    EXPECT_EQ(UpdateInvoice(local, terms), 4);
    InvoiceRecord read;
    ASSERT_TRUE(ReadInvoice(local, 4, read));
    EXPECT_EQ(read.paid, 0);
    EXPECT_EQ(read.handling, 1.0f);
    EXPECT_EQ(read.saleTime, (OleDate{38808.5, 0}));

    part.amount = 40.0f;
    AppendPayment(local, part);
    EXPECT_EQ(PaymentsForInvoice(local, terms), 100.0f);
    // An update does not date the sale again.
    ReadInvoice(local, 4, read);
    read.cashier = "Bob";
    EXPECT_EQ(UpdateInvoice(local, read), 4);
    ReadInvoice(local, 4, read);
    EXPECT_EQ(read.paid, 1);
    EXPECT_EQ(read.cashier, "Bob");
    EXPECT_EQ(read.year, 2006);

    // No sale of that number: nothing written.
    read.recordNumber = 5;
    EXPECT_EQ(UpdateInvoice(local, read), -1);
    read.recordNumber = -1;
    EXPECT_EQ(UpdateInvoice(local, read), -1);
    EXPECT_EQ(fileSize(local.GetPath("Invoices")), 4 + 5 * 4728);

    EXPECT_TRUE(IsOnAccount(saleOf("deposit", 1)));
    EXPECT_FALSE(IsOnAccount(saleOf("Split", 1)));
    EXPECT_FALSE(IsOnAccount(saleOf("Terms ", 1)));
    EXPECT_TRUE(IsDeferredPayType("SPLIT"));
    EXPECT_TRUE(IsDeferredPayType("Terms"));
    EXPECT_FALSE(IsDeferredPayType("Cash"));
    EXPECT_FALSE(IsDeferredPayType(""));
}

TEST(InvoiceFile, DueDatesAndAddressBlock)
{
    InvoiceRecord r = saleOf("Terms", 10);
    DateRecord(r, at(2006, 4, 1, 12, 0, 0));
    OleDate due;
    // 30 net days from 1 April noon: 1 May noon, day 38838.5.
    EXPECT_FALSE(IsOverdue(r, 30, at(2006, 5, 1, 12, 0, 0), due));
    EXPECT_EQ(due, (OleDate{38838.5, 0}));
    EXPECT_TRUE(IsOverdue(r, 30, at(2006, 5, 1, 12, 0, 1), due));
    EXPECT_FALSE(IsOverdue(r, 45, at(2006, 5, 1, 12, 0, 1), due));
    // Across a year end.
    EXPECT_TRUE(IsOverdue(r, 300, at(2007, 1, 26, 12, 0, 1), due));
    EXPECT_EQ(due, OleDate::fromCalendar(2007, 1, 26, 12, 0, 0));

    const InvoiceRecord undated = ClearedInvoice();
    EXPECT_FALSE(IsOverdue(undated, 0, at(2006, 5, 1), due));
    EXPECT_FALSE(due.isValid());

    r.address = {"Ann Smith", "ACME", "1 Main St", "Springfield", "IL", "62701", "555", "556", "a@b.c"};
    EXPECT_EQ(AddressBlock(r), "Ann Smith\r\nACME\r\n1 Main St\r\nSpringfield, IL 62701 ");
    EXPECT_EQ(AddressBlock(ClearedInvoice()), "\r\n\r\n\r\n,   ");
}

TEST(InvoiceFile, SoldQuantityCountsMatchingLinesInTheDateRange)
{
    TempDir dir;
    CLocalFile local(dir.path());
    int count = 0;
    ReadInvoiceCount(local, count);
    auto sell = [&](const CalendarTime& when, std::vector<std::pair<std::string, float>> lines) {
        InvoiceRecord r = saleOf("Cash", 1);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            r.itemNumber[i + 3] = lines[i].first;
            r.qty[i + 3] = lines[i].second;
        }
        AppendInvoice(local, r, count, when);
    };
    sell(at(2006, 3, 31, 23, 59, 59), {{"AB-1", 100}});               // the day before
    sell(at(2006, 4, 1), {{"ab-1", 2}, {"AB-10", 50}, {"Ab-1", 3}});   // first day: 5
    sell(at(2006, 4, 15), {{"XY", 7}, {"ab-1", 0.5f}});                // 0.5
    sell(at(2006, 4, 30, 23, 59, 59), {{"AB-1", -1}});                 // last day, a return: -1
    sell(at(2006, 5, 1), {{"AB-1", 1000}});                            // the day after
    EXPECT_EQ(SoldQuantityInRange(local, "aB-1", at(2006, 4, 1, 18), at(2006, 4, 30)), 4.5f);
    EXPECT_EQ(SoldQuantityInRange(local, "AB-1", at(2006, 5, 1), at(2006, 5, 1)), 1000.0f);
    EXPECT_EQ(SoldQuantityInRange(local, "AB-1", at(2006, 5, 2), at(2006, 4, 1)), 0.0f);
    EXPECT_EQ(SoldQuantityInRange(local, "AB", at(2000, 1, 1), at(2010, 1, 1)), 0.0f);

    // An item number longer than its slot was stored cut to 23 characters and
    // matches by those.
    sell(at(2006, 6, 1), {{std::string(30, 'q'), 4}});
    EXPECT_EQ(SoldQuantityInRange(local, std::string(23, 'Q'), at(2006, 6, 1), at(2006, 6, 1)), 4.0f);
    EXPECT_EQ(SoldQuantityInRange(local, std::string(24, 'q'), at(2006, 6, 1), at(2006, 6, 1)), 0.0f);

    TempDir other;
    EXPECT_EQ(SoldQuantityInRange(CLocalFile(other.path()), "AB-1", at(2000, 1, 1), at(2010, 1, 1)), 0.0f);
}

TEST(InvoiceFile, SoldQuantityScanAgreesWithReadingEveryRecord)
{
    // Many records over several blocks with random lines; the block scan must
    // give the very float sum of the record-by-record reading.
    TempDir dir;
    CLocalFile local(dir.path());
    std::mt19937 rng(7);
    const char* items[] = {"a1", "A1", "b2", "", "a1 ", "B2"};
    std::vector<InvoiceRecord> records;
    for (int n = 0; n < 157; ++n) {
        InvoiceRecord r = saleOf("Cash", 1);
        r.recordNumber = n;
        DateRecord(r, at(2006, 1 + static_cast<int>(rng() % 12), 1 + static_cast<int>(rng() % 28)));
        for (std::size_t i = 0; i < 20; ++i) {
            r.itemNumber[i] = items[rng() % 6];
            r.qty[i] = static_cast<float>(rng() % 1000) / 7.0f;
        }
        records.push_back(r);
    }
    writeInvoiceFile(local.GetPath("Invoices"), 157, records);

    const CalendarTime from = at(2006, 3, 10), to = at(2006, 9, 20);
    for (const std::string item : {"a1", "B2", "a1 "}) {
        float expected = 0;
        for (int n = 0; n < 157; ++n) {
            InvoiceRecord r;
            ASSERT_TRUE(ReadInvoice(local, n, r));
            if (DateKey(r) < DateKey(2006, 3, 10) || DateKey(r) > DateKey(2006, 9, 20))
                continue;
            for (std::size_t i = 0; i < 20; ++i)
                if (EqualsIgnoreCase(r.itemNumber[i], item))
                    expected += r.qty[i];
        }
        EXPECT_NE(expected, 0.0f);
        EXPECT_EQ(SoldQuantityInRange(local, item, from, to), expected) << item;
    }
}

TEST(InvoiceFile, DamagedCountsReadAsTheRecordsPresentAndAppendsRepairThem)
{
    TempDir dir;
    CLocalFile local(dir.path());
    RecordingPrompt prompt;
    const std::string path = local.GetPath("Invoices");
    std::vector<InvoiceRecord> three;
    for (int n = 0; n < 3; ++n)
        three.push_back(storedPattern(1, n, n, at(2006, 1, 1 + n)));

    // A count past the end (a file cut short, the last record half there).
    writeInvoiceFile(path, 5, three);
    auto bytes = readBytes(path);
    bytes.resize(bytes.size() + 1000, 0x77);
    writeBytes(path, bytes);
    int count = 0;
    EXPECT_EQ(ReadInvoiceCount(local, count), FileCause::None);
    EXPECT_EQ(count, 3);
    InvoiceRecord r;
    EXPECT_FALSE(ReadInvoice(local, 3, r));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Read by reocord number error: out of range"});
    EXPECT_EQ(LastSaleDate(local, kNow), OleDate::fromCalendar(2006, 1, 3));
    EXPECT_EQ(SoldQuantityInRange(local, "W1-2-0", at(2006, 1, 1), at(2006, 12, 31)), 2.0f);
    InvoiceRecord sale = patternSale(2, 0);
    EXPECT_EQ(AppendInvoice(local, sale, count, kNow), 3);
    EXPECT_EQ(count, 4);
    bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 4u + 4 * 4728u);
    EXPECT_EQ(codec::getI32(bytes.data(), 0), 4);
    ASSERT_TRUE(ReadInvoice(local, 2, r));
    EXPECT_EQ(r, three[2]);
    ASSERT_TRUE(ReadInvoice(local, 3, r));
    EXPECT_EQ(r, storedPattern(2, 0, 3, kNow));

    // A count below the records there (an append that died before its count):
    // the next sale goes right after the counted ones.
    writeInvoiceFile(path, 1, three);
    sale = patternSale(2, 1);
    EXPECT_EQ(AppendInvoice(local, sale, count, kNow), 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(fileSize(path), 4 + 3 * 4728);
    ASSERT_TRUE(ReadInvoice(local, 1, r));
    EXPECT_EQ(r, storedPattern(2, 1, 1, kNow));

    // A file too short even for its count.
    writeBytes(path, {1, 0});
    EXPECT_EQ(ReadInvoiceCount(local, count), FileCause::None);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(AppendInvoice(local, sale, count, kNow), 0);
    EXPECT_EQ(fileSize(path), 4 + 4728);
}

TEST(InvoiceFile, RecordAtAPositionInAnOpenFile)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Invoices");
    writeInvoiceFile(path, 2, {storedPattern(1, 0, 0, kNow), storedPattern(1, 1, 1, kNow)});
    Transaction tx;
    tx.add(path);
    ASSERT_EQ(tx.begin(), FileCause::None);
    DataFile& file = tx.file(path);
    EXPECT_EQ(InvoiceRecordsPresent(file), 2);
    InvoiceRecord r, back;
    ASSERT_TRUE(ReadInvoiceAt(file, 1, r));
    EXPECT_EQ(r, storedPattern(1, 1, 1, kNow));
    EXPECT_FALSE(ReadInvoiceAt(file, 2, r));
    r.description[0] = "VOIDED - x";
    StageInvoiceAt(tx, file, 1, r);
    ASSERT_TRUE(ReadInvoiceAt(file, 1, back));
    EXPECT_NE(back, r);  // staged, not written
    ASSERT_EQ(tx.commit(), FileCause::None);
    tx.release();
    ASSERT_TRUE(ReadInvoice(local, 1, back));
    EXPECT_EQ(back, r);
}
