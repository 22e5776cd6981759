#include "ByteCodec.h"
#include "CLocalFile.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(SalesFileHeader, DefaultsSitAtTheirOffsets)
{
    SalesFileHeader h;
    std::uint8_t buf[SalesFileHeader::kSize];
    h.encode(buf);
    EXPECT_EQ(codec::getF32(buf, 0), 4.6f);
    EXPECT_EQ(buf[4], 0);
    EXPECT_EQ(buf[5], 24);
    EXPECT_EQ(codec::getU16(buf, 6), 0);
    // flags from offset 8, in table order
    const std::uint32_t flags[] = {0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0, 1, 0};
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(codec::getU32(buf, 8 + 4 * i), flags[i]) << "flag at " << 8 + 4 * i;
    for (std::size_t off = 88; off < 148; off += 4)
        EXPECT_EQ(codec::getF32(buf, off), 0.0f) << off;
    EXPECT_EQ(codec::getI32(buf, 156), 1);  // sale first day not set
    EXPECT_EQ(codec::getI32(buf, 168), 1);  // sale last day not set
    EXPECT_EQ(codec::getText(buf, 172, 40), "Retail");
    EXPECT_EQ(codec::getText(buf, 212, 40), "Wholesale");
    EXPECT_EQ(codec::getText(buf, 372, 40), "Category 6");
    EXPECT_EQ(codec::getText(buf, 412, 14), "");
    EXPECT_EQ(codec::getText(buf, 440, 400), "Remember to Thank All Customers for shopping at ACME!\r\n");
    EXPECT_EQ(codec::getText(buf, 840, 400), "Thank You for Shopping at ACME\r\nWe are Open 24 Hours a Day!\r\n");
    EXPECT_EQ(codec::getText(buf, 1240, 400), "No returns after 30 days");
    EXPECT_EQ(codec::getText(buf, 1640, 400), "Optional Message\r\nGoes here.\r\n");
    EXPECT_EQ(codec::getText(buf, 2040, 800), "Books\r\nExtreme\r\nDimensional\r\nSafety\r\n");
    EXPECT_EQ(codec::getText(buf, 2840, 800), "Auto\r\nJewelery\r\n");
    EXPECT_EQ(GetLine(codec::getText(buf, 3640, 800), 10), "Terms");
    for (std::size_t off : {4440u, 4480u, 4504u, 4528u, 4552u, 4576u, 4616u, 4656u})
        EXPECT_EQ(buf[off], 0) << off;
}

TEST(SalesFileHeader, EveryFieldRoundTripsThroughItsSlot)
{
    SalesFileHeader h;
    h.taxFormula = 1;
    h.rollFontSize = 9;
    h.mustEnterAddress = 1;
    h.salesDiscountOn = 1;
    h.simpleTax1 = 7.25f;
    h.simpleTax2 = 1.5f;
    h.lowMarginPercent = 12;
    for (std::size_t i = 0; i < 6; ++i) {
        h.discountPercent[i] = static_cast<float>(i) + 0.5f;
        h.discountSubtotal[i] = 100.0f * static_cast<float>(i + 1);
        h.levelNames[i] = "Level " + std::to_string(i) + std::string(50, 'x');
    }
    h.saleFirstDay = OleDate::fromCalendar(2026, 11, 27);
    h.saleLastDay = OleDate::fromCalendar(2026, 11, 30);
    h.securityPassword = "abcdefghijklmnop";
    h.companyName = "Corner Hardware";
    h.phone = "555-0100";
    h.phone2 = "555-0101";
    h.fax = "555-0102";
    h.cell = "555-0103";
    h.contact = "Ann";
    h.email = "ann@example.com";
    h.logoPath = "/srv/logo.bmp";
    h.paymentTypes = std::string(900, 'p');

    std::uint8_t buf[SalesFileHeader::kSize];
    h.encode(buf);
    EXPECT_EQ(codec::getF32(buf, 88), 7.25f);
    EXPECT_EQ(codec::getF32(buf, 104), 1.5f);   // discountPercent[1]
    EXPECT_EQ(codec::getF32(buf, 144), 600.0f);  // discountSubtotal[5]
    EXPECT_EQ(codec::getText(buf, 412, 14), "abcdefghijklm");
    EXPECT_EQ(codec::getText(buf, 4440, 40), "Corner Hardware");
    EXPECT_EQ(codec::getText(buf, 4528, 24), "555-0102");
    EXPECT_EQ(codec::getText(buf, 4616, 40), "ann@example.com");
    EXPECT_EQ(codec::getText(buf, 4656, 180), "/srv/logo.bmp");
    EXPECT_EQ(codec::getText(buf, 3640, 800).size(), 799u);

    SalesFileHeader back;
    back.decode(buf);
    EXPECT_EQ(back.taxFormula, 1);
    EXPECT_EQ(back.rollFontSize, 9);
    EXPECT_EQ(back.mustEnterAddress, 1u);
    EXPECT_EQ(back.salesDiscountOn, 1u);
    EXPECT_EQ(back.discountPercent, h.discountPercent);
    EXPECT_EQ(back.discountSubtotal, h.discountSubtotal);
    EXPECT_EQ(back.levelNames[3], ("Level 3" + std::string(50, 'x')).substr(0, 39));
    EXPECT_EQ(back.saleFirstDay, h.saleFirstDay);
    EXPECT_EQ(back.saleLastDay, h.saleLastDay);
    EXPECT_EQ(back.securityPassword, "abcdefghijklm");
    EXPECT_EQ(back.cell, "555-0103");
    EXPECT_EQ(back.contact, "Ann");
    EXPECT_EQ(back.phone2, "555-0101");
    EXPECT_EQ(back.paymentTypes, std::string(799, 'p'));
}

TEST(SalesFileHeader, FileOperationsCreateReadAndWriteTheBlock)
{
    TempDir dir;
    CLocalFile local(dir.path());
    SalesFileHeader h;
    ASSERT_EQ(OpenOrCreateHeader(local, h), 0);
    const auto created = readBytes(dir.file("Retail.pos"));
    ASSERT_EQ(created.size(), 4916u);
    EXPECT_EQ(codec::getF32(created.data(), 0), 4.6f);
    for (std::size_t i = 4836; i < 4916; ++i)
        EXPECT_EQ(created[i], 0) << i;

    // Another register adds a payment type; the next read shows it here.
    SalesFileHeader other;
    ASSERT_EQ(ReadHeader(local, other), 0);
    other.paymentTypes += "Gift Card\r\n";
    ASSERT_EQ(WriteHeader(local, other), 0);
    ASSERT_EQ(ReadHeader(local, h), 0);
    EXPECT_EQ(CountLines(h.paymentTypes), 12);
    EXPECT_EQ(GetLine(h.paymentTypes, 11), "Gift Card");

    // WriteHeader leaves the reserved bytes as they are.
    auto bytes = readBytes(dir.file("Retail.pos"));
    bytes[4900] = 0x5A;
    writeBytes(dir.file("Retail.pos"), bytes);
    ASSERT_EQ(WriteHeader(local, h), 0);
    EXPECT_EQ(readBytes(dir.file("Retail.pos"))[4900], 0x5A);

    // A short header file is reported and left alone; the in-memory copy stays.
    bytes.resize(1000);
    writeBytes(dir.file("Retail.pos"), bytes);
    h.companyName = "Kept";
    EXPECT_NE(ReadHeader(local, h), 0);
    EXPECT_NE(OpenOrCreateHeader(local, h), 0);
    EXPECT_EQ(h.companyName, "Kept");
    EXPECT_EQ(fileSize(dir.file("Retail.pos")), 1000);

    // WriteHeader never creates a missing file; ReadHeader does, from memory.
    std::remove(dir.file("Retail.pos").c_str());
    EXPECT_EQ(WriteHeader(local, h), FileCause::NotFound);
    EXPECT_FALSE(fileExists(dir.file("Retail.pos")));
    EXPECT_EQ(ReadHeader(local, h), 0);
    SalesFileHeader reread;
    ASSERT_EQ(ReadHeader(local, reread), 0);
    EXPECT_EQ(reread.companyName, "Kept");
}

TEST(TextLists, LinesCountsAndStepping)
{
    const std::string pay = SalesFileHeader{}.paymentTypes;
    EXPECT_EQ(CountLines(pay), 11);
    EXPECT_EQ(GetLine(pay, 0), "Cash");
    EXPECT_EQ(GetLine(pay, 8), "Split");
    EXPECT_EQ(GetLine(pay, 11), "");
    EXPECT_EQ(NextInList(pay, "terms"), "Cash");
    EXPECT_EQ(NextInList(pay, "visa"), "MC");
    EXPECT_EQ(NextInList(pay, ""), "Cash");
    EXPECT_EQ(NextInList(pay, "Bitcoin"), "Bitcoin");
    EXPECT_EQ(NextInList("", "Cash"), "Cash");
    EXPECT_EQ(NextInList("", ""), "");

    const std::vector<std::string> payEntries = ComboEntries(pay);
    ASSERT_EQ(payEntries.size(), 11u);
    EXPECT_EQ(payEntries[7], "Certified Check");

    // A last line without CR LF is not counted nor listed, but GetLine returns it.
    const std::string unended = "Books\r\nToys";
    EXPECT_EQ(CountLines(unended), 1);
    EXPECT_EQ(ComboEntries(unended), std::vector<std::string>{"Books"});
    EXPECT_EQ(GetLine(unended, 1), "Toys");

    // A line ended by LF alone loses its last character; CRs vanish wherever they stand.
    EXPECT_EQ(ComboEntries("Books\nToys\r\n"), (std::vector<std::string>{"Book", "Toys"}));
    EXPECT_EQ(GetLine("Bo\rok\r\n", 0), "Book");
    EXPECT_TRUE(ComboEntries("\nBooks\r\n").empty());
    EXPECT_EQ(ComboEntries("A\r\n\r\nB\r\n"), (std::vector<std::string>{"A", "", "B"}));
}
