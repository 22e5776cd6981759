#include "FileSetTest.h"
#include "LayoutCheck.h"
#include "storage/files/SalesFileHeader.h"

#include <gtest/gtest.h>

namespace {
struct Expected {
    std::uint8_t formula = 0, font = 24;
    std::array<std::uint32_t, 20> flags{0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0, 1, 0};
    std::array<float, 15> floats{};  // two simple taxes, low margin, six discount percents, six subtotals
    OleDate first{0.0, 1}, last{0.0, 1};  // not set
    // Six level names, the password, four notes, three lists, eight contact fields.
    std::array<std::string, 22> texts{"Retail", "Wholesale", "Employee", "Category 4", "Category 5", "Category 6", "",
                                      "Remember to Thank All Customers for shopping at ACME!\r\n",
                                      "Thank You for Shopping at ACME\r\nWe are Open 24 Hours a Day!\r\n",
                                      "No returns after 30 days", "Optional Message\r\nGoes here.\r\n",
                                      "Books\r\nExtreme\r\nDimensional\r\nSafety\r\n", "Auto\r\nJewelery\r\n",
                                      "Cash\r\nCheck\r\nVisa\r\nMC\r\nDiscover\r\nAMEX\r\nMoney Order\r\n"
                                      "Certified Check\r\nSplit\r\nDeposit\r\nTerms\r\n"};
};

void expectHeaderBytes(const std::uint8_t* buf, const Expected& e)
{
    std::vector<Slot> slots{f32(0, 4.6f), u8(4, e.formula), u8(5, e.font), u16(6, 0),
                            f64(148, e.first.value), i32(156, e.first.status), f64(160, e.last.value),
                            i32(168, e.last.status), zeros(426, 14)};
    for (std::size_t i = 0; i < 20; ++i)
        slots.push_back(u32(8 + 4 * i, e.flags[i]));
    for (std::size_t i = 0; i < 15; ++i)
        slots.push_back(f32(88 + 4 * i, e.floats[i]));
    const std::size_t at[22][2] = {{172, 40},  {212, 40},  {252, 40},  {292, 40},  {332, 40},  {372, 40},
                                   {412, 14},  {440, 400}, {840, 400}, {1240, 400}, {1640, 400}, {2040, 800},
                                   {2840, 800}, {3640, 800}, {4440, 40}, {4480, 24}, {4504, 24}, {4528, 24},
                                   {4552, 24}, {4576, 40}, {4616, 40}, {4656, 180}};
    for (std::size_t i = 0; i < 22; ++i)
        slots.push_back(text(at[i][0], at[i][1], e.texts[i]));
    expectLayout(buf, SalesFileHeader::kSize, slots);
}
}  // namespace

struct SalesFileHeaderTest : FileSetTest {};

TEST_F(SalesFileHeaderTest, EveryFieldRoundTripsThroughItsSlot)
{
    SalesFileHeader h;
    Expected e;
    h.taxFormula = e.formula = 1;
    h.rollFontSize = e.font = 9;
    h.mustEnterAddress = e.flags[0] = 1;
    h.mustLogInCashier = e.flags[16] = 1;
    h.salesDiscountOn = e.flags[19] = 1;
    h.simpleTax1 = e.floats[0] = 7.25f;
    h.simpleTax2 = e.floats[1] = 1.5f;
    h.lowMarginPercent = e.floats[2] = 12;
    for (std::size_t i = 0; i < 6; ++i) {
        h.discountPercent[i] = e.floats[3 + i] = static_cast<float>(i) + 0.5f;
        h.discountSubtotal[i] = e.floats[9 + i] = 100.0f * static_cast<float>(i + 1);
        h.levelNames[i] = "Level " + std::to_string(i) + std::string(50, 'x');
        e.texts[i] = h.levelNames[i].substr(0, 39);
    }
    h.saleFirstDay = e.first = OleDate::fromCalendar(2026, 11, 27);
    h.saleLastDay = e.last = OleDate::fromCalendar(2026, 11, 30);
    h.securityPassword = "abcdefghijklmnop";
    e.texts[6] = "abcdefghijklm";
    h.categories = e.texts[11] = "Tools\r\n";
    h.paymentTypes = std::string(900, 'p');
    e.texts[13] = std::string(799, 'p');
    std::string* contact[] = {&h.companyName, &h.phone, &h.phone2, &h.fax, &h.cell, &h.contact, &h.email, &h.logoPath};
    const char* values[] = {"Corner Hardware", "555-0100", "555-0101", "555-0102", "555-0103",
                            "Ann", "ann@example.com", "/srv/logo.bmp"};
    for (std::size_t i = 0; i < 8; ++i)
        *contact[i] = e.texts[14 + i] = values[i];

    std::uint8_t buf[SalesFileHeader::kSize];
    h.encode(buf);
    expectHeaderBytes(buf, e);
    expectRoundTrip(SalesFileHeader{}, buf, SalesFileHeader::kSize);
}

TEST_F(SalesFileHeaderTest, FileOperationsCreateReadAndWriteTheBlock)
{
    const std::string path = dir.file("Retail.pos");
    SalesFileHeader h;
    ASSERT_EQ(OpenOrCreateHeader(local, h), 0);
    auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 4916u);
    expectHeaderBytes(bytes.data(), Expected{});
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 4836, bytes.end()), std::vector<std::uint8_t>(80, 0));

    // Another register saves the company address, kept in the reserved bytes
    // after the block; an update here brings it in and keeps it.
    SalesFileHeader other, reread;
    ASSERT_EQ(ReadHeader(local, other), 0);
    other.companyAddress = "1 Main St\r\nSpringfield\r\n";
    ASSERT_EQ(WriteHeader(local, other), 0);
    ASSERT_EQ(UpdateHeader(local, h, [](SalesFileHeader& s) { s.showCents = 0; }), 0);
    EXPECT_EQ((std::pair{h.companyAddress, h.showCents}), (std::pair{other.companyAddress, 0u}));
    bytes = readBytes(path);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 4836), other.companyAddress);

    // A short header file is reported and left alone; the in-memory copy stays.
    bytes.resize(1000);
    writeBytes(path, bytes);
    h.companyName = "Kept";
    EXPECT_NE(ReadHeader(local, h), 0);
    EXPECT_NE(OpenOrCreateHeader(local, h), 0);
    EXPECT_EQ(UpdateHeader(local, h, [](SalesFileHeader& s) { s.companyName = "Lost"; }), FileCause::EndOfFile);
    EXPECT_EQ((std::pair{h.companyName, fileSize(path)}), (std::pair{std::string("Kept"), 1000LL}));

    // WriteHeader never creates a missing file; ReadHeader does, from memory.
    std::remove(path.c_str());
    EXPECT_EQ(WriteHeader(local, h), FileCause::NotFound);
    EXPECT_FALSE(fileExists(path));
    EXPECT_EQ(ReadHeader(local, h), 0);
    ASSERT_EQ(ReadHeader(local, reread), 0);
    EXPECT_EQ(reread.companyName, "Kept");
}

TEST(TextLists, LinesCountsAndStepping)
{
    const std::string pay = SalesFileHeader{}.paymentTypes;
    EXPECT_EQ(CountLines(pay), 11);
    EXPECT_EQ(GetLine(pay, 0) + GetLine(pay, 8) + GetLine(pay, 11), "CashSplit");
    const std::pair<std::string, std::string> steps[] = {
        {"terms", "Cash"}, {"visa", "MC"}, {"", "Cash"}, {"Bitcoin", "Bitcoin"}};
    for (const auto& [from, to] : steps)
        EXPECT_EQ(NextInList(pay, from), to) << from;
    EXPECT_EQ(NextInList("", "Cash"), "Cash");
    EXPECT_EQ(NextInList("", ""), "");
    EXPECT_EQ(ComboEntries(pay).size(), 11u);
    EXPECT_EQ(ComboEntries(pay).at(7), "Certified Check");

    // A last line without CR LF is not counted nor listed, but GetLine returns it.
    EXPECT_EQ(CountLines("Books\r\nToys"), 1);
    EXPECT_EQ(ComboEntries("Books\r\nToys"), std::vector<std::string>{"Books"});
    EXPECT_EQ(GetLine("Books\r\nToys", 1), "Toys");
    // A line ended by LF alone loses its last character; CRs vanish wherever they stand.
    EXPECT_EQ(ComboEntries("Books\nToys\r\n"), (std::vector<std::string>{"Book", "Toys"}));
    EXPECT_EQ(GetLine("Bo\rok\r\n", 0), "Book");
    EXPECT_TRUE(ComboEntries("\nBooks\r\n").empty());
    EXPECT_EQ(ComboEntries("A\r\n\r\nB\r\n"), (std::vector<std::string>{"A", "", "B"}));
}
