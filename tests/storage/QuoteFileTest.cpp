#include "ByteCodec.h"
#include "CLocalFile.h"
#include "InvoiceTestSupport.h"
#include "QuoteFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
const CalendarTime kNow = at(2006, 4, 1, 12, 0, 0);

InvoiceRecord quoteFor(const std::string& customer)
{
    InvoiceRecord r = ClearedInvoice();
    r.address[InvoiceRecord::kName] = customer;
    r.recordNumber = 77;  // the sale screen's own number
    return r;
}

std::int32_t numberAt(const std::vector<std::uint8_t>& bytes, std::size_t pos)
{
    return codec::getI32(bytes.data(), 8 + 4728 * pos + 8);
}
}  // namespace

TEST(QuoteFile, NumbersOnlyGrowAndDeletingMovesTheLastQuote)
{
    TempDir dir;
    CLocalFile local(dir.path());
    RecordingPrompt prompt;
    const std::string path = local.GetPath("Quotes");

    InvoiceRecord q = quoteFor("Ann");
    EXPECT_EQ(SaveQuote(local, q, kNow), 0);
    EXPECT_EQ(q.recordNumber, 77);
    EXPECT_EQ(q.year, 2006);  // the quote is dated like a sale
    InvoiceRecord b = quoteFor("Bob");
    EXPECT_EQ(SaveQuote(local, b, at(2006, 5, 2, 9)), 1);
    InvoiceRecord c = quoteFor("Cid");
    EXPECT_EQ(SaveQuote(local, c, at(2006, 6, 3, 10)), 2);

    auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 8u + 3 * 4728u);
    EXPECT_EQ(codec::getI32(bytes.data(), 0), 3);
    EXPECT_EQ(codec::getI32(bytes.data(), 4), 3);
    EXPECT_EQ(numberAt(bytes, 2), 2);

    InvoiceRecord read;
    ASSERT_TRUE(ReadQuote(local, 1, read));
    EXPECT_EQ(read.address[0], "Bob");
    EXPECT_EQ(read.recordNumber, 1);
    EXPECT_EQ(FirstQuoteDate(local, kNow), OleDate::fromCalendar(2006, 4, 1));
    EXPECT_EQ(LastQuoteDate(local, kNow), OleDate::fromCalendar(2006, 6, 3));

    // Deleting quote 1 moves quote 2 into its place; the file keeps its size.
    EXPECT_TRUE(DeleteQuote(local, 1));
    bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 8u + 3 * 4728u);
    EXPECT_EQ(codec::getI32(bytes.data(), 0), 2);
    EXPECT_EQ(codec::getI32(bytes.data(), 4), 3);
    EXPECT_EQ(numberAt(bytes, 1), 2);
    EXPECT_FALSE(ReadQuote(local, 1, read));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Read Invoice error: Quote Not Found."});
    ASSERT_TRUE(ReadQuote(local, 2, read));
    EXPECT_EQ(read.address[0], "Cid");
    EXPECT_EQ(LastQuoteDate(local, kNow), OleDate::fromCalendar(2006, 6, 3));

    // The next quote gets a number above any used before, at position 2.
    InvoiceRecord d = quoteFor("Dee");
    EXPECT_EQ(SaveQuote(local, d, kNow), 3);
    bytes = readBytes(path);
    EXPECT_EQ(numberAt(bytes, 2), 3);

    // Deleting the last quote just lowers the count.
    EXPECT_TRUE(DeleteQuote(local, 3));
    bytes = readBytes(path);
    EXPECT_EQ(codec::getI32(bytes.data(), 0), 2);
    EXPECT_EQ(codec::getI32(bytes.data(), 4), 4);
    EXPECT_EQ(numberAt(bytes, 0), 0);
    EXPECT_EQ(numberAt(bytes, 1), 2);

    // An unknown number changes nothing.
    EXPECT_FALSE(DeleteQuote(local, 3));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Read Quote error: can't open in delete"});
    EXPECT_EQ(readBytes(path), bytes);

    EXPECT_TRUE(DeleteQuote(local, 0));
    EXPECT_TRUE(DeleteQuote(local, 2));
    EXPECT_EQ(FirstQuoteDate(local, at(2007, 2, 3, 4, 5, 6)), OleDate::fromCalendar(2007, 2, 3));
    EXPECT_EQ(LastQuoteDate(local, at(2007, 2, 3, 4, 5, 6)), OleDate::fromCalendar(2007, 2, 3));
    EXPECT_EQ(SaveQuote(local, d, kNow), 4);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(QuoteFile, MissingAndDamagedFiles)
{
    TempDir dir;
    CLocalFile local(dir.path());
    RecordingPrompt prompt;
    const std::string path = local.GetPath("Quotes");
    InvoiceRecord read;
    EXPECT_FALSE(ReadQuote(local, 0, read));
    EXPECT_FALSE(DeleteQuote(local, 0));
    EXPECT_EQ(prompt.take(), (std::vector<std::string>{"Read Invoice error: Quote Not Found.",
                                                       "Read Quote error: can't open in delete"}));
    EXPECT_EQ(FirstQuoteDate(local, kNow), OleDate::fromCalendar(2006, 4, 1));

    // Two quotes numbered 5 and 9, under a count past the end and a next number
    // that went backwards: the count reads as 2 and the next quote gets 10.
    InvoiceRecord five = quoteFor("five"), nine = quoteFor("nine");
    five.recordNumber = 5;
    nine.recordNumber = 9;
    std::vector<std::uint8_t> bytes(8 + 2 * 4728);
    codec::putI32(bytes.data(), 0, 40);
    codec::putI32(bytes.data(), 4, 3);
    five.encode(bytes.data() + 8);
    nine.encode(bytes.data() + 8 + 4728);
    bytes.resize(bytes.size() + 100, 0x55);  // a torn third quote
    writeBytes(path, bytes);
    EXPECT_EQ(LastQuoteDate(local, kNow), OleDate{});
    InvoiceRecord q = quoteFor("new");
    EXPECT_EQ(SaveQuote(local, q, kNow), 10);
    bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 8u + 3 * 4728u);
    EXPECT_EQ(codec::getI32(bytes.data(), 0), 3);
    EXPECT_EQ(codec::getI32(bytes.data(), 4), 11);
    ASSERT_TRUE(ReadQuote(local, 9, read));
    EXPECT_EQ(read.address[0], "nine");

}
