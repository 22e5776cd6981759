#include "FileSetTest.h"
#include "InvoiceTestSupport.h"
#include "storage/files/QuoteFile.h"
#include "storage/records/ByteCodec.h"

#include <gtest/gtest.h>

namespace {
const CalendarTime kNow = at(2006, 4, 1, 12, 0, 0);

// 77 stands for the sale screen's own number; the stored copy gets the quote's.
InvoiceRecord quoteFor(const std::string& customer, std::int32_t number = 77)
{
    InvoiceRecord r = ClearedInvoice();
    std::tie(r.address[InvoiceRecord::kName], r.recordNumber) = std::tuple{customer, number};
    return r;
}

struct QuoteFile : FileSetTest {
    const std::string path = local.GetPath("Quotes");
    // The count, the next number and the number of each counted quote, as stored.
    std::vector<std::int32_t> stored() const
    {
        const auto bytes = readBytes(path);
        std::vector<std::int32_t> out{codec::getI32(bytes.data(), 0), codec::getI32(bytes.data(), 4)};
        for (std::int32_t i = 0; i < out[0]; ++i)
            out.push_back(codec::getI32(bytes.data(), 8 + 4728 * static_cast<std::size_t>(i) + 8));
        return out;
    }
    using Numbers = std::vector<std::int32_t>;
};
}  // namespace

TEST_F(QuoteFile, NumbersOnlyGrowAndDeletingMovesTheLastQuote)
{
    InvoiceRecord q = quoteFor("Ann"), b = quoteFor("Bob"), c = quoteFor("Cid"), d = quoteFor("Dee");
    EXPECT_EQ(SaveQuote(local, q, kNow), 0);
    EXPECT_EQ(q.recordNumber, 77);
    EXPECT_EQ(q.year, 2006);  // the quote is dated like a sale
    EXPECT_EQ(SaveQuote(local, b, at(2006, 5, 2, 9)), 1);
    EXPECT_EQ(SaveQuote(local, c, at(2006, 6, 3, 10)), 2);
    EXPECT_EQ(stored(), (Numbers{3, 3, 0, 1, 2}));
    InvoiceRecord read;
    ASSERT_TRUE(ReadQuote(local, 1, read));
    EXPECT_EQ((std::pair{read.address[0], read.recordNumber}), (std::pair{std::string("Bob"), 1}));
    EXPECT_EQ(FirstQuoteDate(local, kNow), OleDate::fromCalendar(2006, 4, 1));
    EXPECT_EQ(LastQuoteDate(local, kNow), OleDate::fromCalendar(2006, 6, 3));

    // Deleting quote 1 moves quote 2 into its place; the file keeps its size.
    EXPECT_TRUE(DeleteQuote(local, 1));
    EXPECT_EQ(stored(), (Numbers{2, 3, 0, 2}));
    EXPECT_EQ(fileSize(path), 8 + 3 * 4728);
    EXPECT_FALSE(ReadQuote(local, 1, read));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Read Invoice error: Quote Not Found."});
    ASSERT_TRUE(ReadQuote(local, 2, read));
    EXPECT_EQ(read.address[0], "Cid");
    EXPECT_EQ(LastQuoteDate(local, kNow), OleDate::fromCalendar(2006, 6, 3));

    // The next quote gets a number above any used before; deleting the last
    // quote just lowers the count; an unknown number changes nothing.
    EXPECT_EQ(SaveQuote(local, d, kNow), 3);
    EXPECT_EQ(stored(), (Numbers{3, 4, 0, 2, 3}));
    EXPECT_TRUE(DeleteQuote(local, 3));
    EXPECT_EQ(stored(), (Numbers{2, 4, 0, 2}));
    const auto bytes = readBytes(path);
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

TEST_F(QuoteFile, MissingAndDamagedFiles)
{
    InvoiceRecord read;
    EXPECT_FALSE(ReadQuote(local, 0, read));
    EXPECT_FALSE(DeleteQuote(local, 0));
    EXPECT_EQ(prompt.take(), (std::vector<std::string>{"Read Invoice error: Quote Not Found.",
                                                       "Read Quote error: can't open in delete"}));
    EXPECT_EQ(FirstQuoteDate(local, kNow), OleDate::fromCalendar(2006, 4, 1));

    // Two quotes numbered 5 and 9 and a torn third, under a count past the end
    // and a next number that went backwards: the next quote gets 10.
    const InvoiceRecord five = quoteFor("five", 5), nine = quoteFor("nine", 9);
    std::vector<std::uint8_t> bytes(8 + 2 * 4728);
    codec::putI32(bytes.data(), 0, 40);
    codec::putI32(bytes.data(), 4, 3);
    five.encode(bytes.data() + 8);
    nine.encode(bytes.data() + 8 + 4728);
    bytes.resize(bytes.size() + 100, 0x55);
    writeBytes(path, bytes);
    EXPECT_EQ(LastQuoteDate(local, kNow), OleDate{});
    InvoiceRecord q = quoteFor("new");
    EXPECT_EQ(SaveQuote(local, q, kNow), 10);
    EXPECT_EQ(stored(), (Numbers{3, 11, 5, 9, 10}));
    EXPECT_EQ(fileSize(path), 8 + 3 * 4728);
    ASSERT_TRUE(ReadQuote(local, 9, read));
    EXPECT_EQ(read.address[0], "nine");
}
