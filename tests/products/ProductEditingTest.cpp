#include "products/ProductChangeAll.h"
#include "products/ProductEditor.h"
#include "products/ProductTable.h"
#include "products/ProductTextFile.h"
#include "storage/files/ProductFile.h"
#include "support/DataFolder.h"
#include "support/ProductFiles.h"

#include <array>
#include <map>
#include <tuple>

namespace {
struct ProductEditing : DataFolder {
    std::string path() const { return local.GetPath("Products"); }
    std::vector<std::string> items() const { return storedItems(path()); }
};
}  // namespace

TEST_F(ProductEditing, SaveOutcomes)
{
    writeProductFile(path(), {makeProduct("ABC")});
    struct Case {
        const char* item;
        bool rowSelected;
        SaveOutcome outcome;
        std::vector<std::string> after;
    } cases[] = {
        {"", false, SaveOutcome::Nothing, {"ABC"}},
        {"abc", false, SaveOutcome::Duplicate, {"ABC"}},
        {"NEW", true, SaveOutcome::Saved, {"ABC", "NEW"}},
        {"abcdefghijklmnopqrstuvwxyz0123", false, SaveOutcome::Saved, {"ABC", "NEW", "abcdefghijklmnopqrstuvw"}},
        // Taken once cut to the slot, whatever follows.
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", false, SaveOutcome::Duplicate, {"ABC", "NEW", "abcdefghijklmnopqrstuvw"}},
    };
    for (const auto& c : cases) {
        ProductFields f;
        f.itemNumber = c.item;
        ProductRecord stored;
        EXPECT_EQ(SaveProduct(local, f, c.rowSelected, 2, stored), c.outcome) << c.item;
        EXPECT_EQ(items(), c.after) << c.item;
    }
    // No tax chosen: the remembered one, never an unknown status.
    EXPECT_EQ(readProducts(path())[1].taxStatus, 2);
}

TEST_F(ProductEditing, ChangeAllItems)
{
    using namespace ChangeAll;
    struct Case {
        Op op;
        const char* value;
        int column;
        Outcome outcome;
        float cost0, cost1, price2, stock0;
        std::uint8_t tax;
    } cases[] = {
        {MultiplyCost, "10", 0, Outcome::Done, 11, 22, 3, 5, 1},
        // Computed costs and prices are stored in whole cents.
        {MultiplyPrice, "12.345", ProductColumn::kPrice + 2, Outcome::Done, 10, 20, 3.37f, 5, 1},
        {AddCost, "0.006", 0, Outcome::Done, 10.01f, 20.01f, 3, 5, 1},
        {AddStock, "-5", 0, Outcome::Done, 10, 20, 3, 0, 1},
        {FillPrice, "7", ProductColumn::kPrice + 2, Outcome::Done, 10, 20, 7, 5, 1},
        {AddPrice, "1", ProductColumn::kPrice + 2, Outcome::Done, 10, 20, 4, 5, 1},
        {FillPrice, "7", ProductColumn::kStock, Outcome::NoPriceColumn, 10, 20, 3, 5, 1},
        {MultiplyPrice, "7", 0, Outcome::NoPriceColumn, 10, 20, 3, 5, 1},
        {FillCost, "", 0, Outcome::Done, 0, 0, 3, 5, 1},
        {SetTax3, "", 0, Outcome::Done, 10, 20, 3, 5, 3},
    };
    for (const auto& c : cases) {
        ProductRecord a = makeProduct("A", 5), b = makeProduct("B", 5), hidden = makeProduct("H", 5);
        a.cost = 10, b.cost = 20, hidden.cost = 1;
        for (auto* r : {&a, &b, &hidden})
            r->price[2] = 3;
        writeProductFile(path(), {a, hidden, b});
        std::vector<ProductRecord> changed;
        EXPECT_EQ(run(local, c.op, c.value, c.column, {"A", "B"}, changed), c.outcome) << c.op;
        const auto back = readProducts(path());
        EXPECT_FLOAT_EQ(back[0].cost, c.cost0) << c.op;
        EXPECT_FLOAT_EQ(back[2].cost, c.cost1) << c.op;
        EXPECT_FLOAT_EQ(back[0].price[2], c.price2) << c.op;
        EXPECT_FLOAT_EQ(back[0].stock, c.stock0) << c.op;
        EXPECT_EQ(back[2].taxStatus, c.tax) << c.op;
        EXPECT_FLOAT_EQ(back[1].cost, 1) << c.op;  // not listed: untouched
        EXPECT_FLOAT_EQ(back[1].price[3], 0) << c.op;
    }
    // Two records share an item number and both are listed: each changes once.
    writeProductFile(path(), {makeProduct("D", 1), makeProduct("X", 9), makeProduct("D", 2)});
    std::vector<ProductRecord> changed;
    ASSERT_EQ(run(local, AddStock, "10", 0, {"D", "D"}, changed), Outcome::Done);
    const auto back = readProducts(path());
    EXPECT_EQ((std::array{back[0].stock, back[1].stock, back[2].stock}), (std::array{11.0f, 9.0f, 12.0f}));
    ASSERT_EQ(changed.size(), 2u);
}

TEST(ProductText, ImportKnowsUtf8AndListsEveryRefusedOrChangedLine)
{
    // A line of 21 fields with some of them replaced.
    auto line = [](std::map<int, std::string> set) {
        std::string out;
        for (int i = 0; i < 21; ++i) {
            const char* plain[] = {"1", "5", "2.50", "3.99", "0", "0", "0", "0", "0", "0", "12", "Fruit", "X", "Apples",
                                   "Acme", "AC-1", "Produce", "4711", "1", "5", "0"};
            out += (i ? "\t" : "") + (set.count(i) ? set[i] : plain[i]);
        }
        return out + "\r\n";
    };
    auto unended = [&line](std::map<int, std::string> set) {
        const std::string l = line(set);
        return l.substr(0, l.size() - 2);
    };
    const std::string longText(45, 'd');
    struct Case {
        std::string file;
        std::vector<std::string> items;
        std::vector<std::string> notes;
        std::string firstDescription;
    } cases[] = {
        // A byte-order mark before the first field; UTF-8 text stored as record text.
        {"\xEF\xBB\xBF" + line({{12, "B1"}, {13, "Caf\xC3\xA9"}}), {"B1"}, {}, "Caf\xE9"},
        {line({{12, "U1"}, {13, "\xE2\x82\xAC 5 \xE2\x98\x83"}}), {"U1"},
         {"Line 1: characters the register cannot store, read as ?: \xE2\x98\x83"}, "\x80 5 ?"},
        {std::string(ProductText::kHeading) +
             line({{12, "A"}}).substr(0, line({{12, "A"}}).rfind('\t')) + "\r\n" +  // a column missing
             line({{12, "B"}, {2, "abc"}}) +
             line({{12, "C"}, {3, "12,50"}}) +
             line({{12, "TAKEN"}}) +       // stored already
             line({{12, "c"}}) +           // an earlier line's
             line({{12, "D"}, {13, longText}}) +
             "\r\n" +
             line({{12, ""}}) +
             line({{12, "E"}, {0, "7"}, {4, "1.089"}}),
         {"C", "D", "E"},
         {"Line 2: refused, 20 fields where 21 are needed", "Line 3: refused, Cost is not a number: \"abc\"",
          "Line 4: Price 1 \"12,50\" read as 12.50", "Line 5: refused, Product ID TAKEN is already used",
          "Line 6: refused, Product ID c is already used",
          "Line 7: Description cut to 39 characters: \"" + longText.substr(0, 39) + "\"",
          "Line 9: refused, no Product ID", "Line 10: Taxable 7.00 read as 0",
          "Line 10: Price 2 1.089000 rounded to 1.09"},
         "Apples"},
        // Empty numbers read as 0, a bare LF ends a line, the last line needs no break; 9 is no mode.
        {unended({{12, "S"}, {1, ""}, {2, ""}, {3, ""}}) + "\n" + unended({{12, "L"}, {20, "9"}}),
         {"S", "L"}, {"Line 2: Rental 9.00 read as 0"}, "Apples"},
    };
    for (const auto& c : cases) {
        const ProductText::Reading r = ProductText::Read(c.file, {"taken"});
        std::vector<std::string> items, notes;
        for (const auto& p : r.records)
            items.push_back(p.itemNumber);
        for (const auto& n : r.notes)
            notes.push_back(n.Text());
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(notes, c.notes);
        ASSERT_FALSE(r.records.empty());
        EXPECT_EQ(r.records[0].description, c.firstDescription);
        EXPECT_EQ(r.records[0].taxStatus, 1) << c.items[0];
    }
    const auto bad = ProductText::Read(cases[2].file, {"taken"});
    EXPECT_EQ(bad.refused(), 5u);
    EXPECT_EQ(bad.lines, (std::vector<std::size_t>{4, 7, 10}));
    EXPECT_FLOAT_EQ(bad.records[0].price[0], 12.5f);
    EXPECT_FLOAT_EQ(bad.records[2].price[1], 1.09f);
    const auto ends = ProductText::Read(cases[3].file).records;
    const ProductRecord& s = ends[0];
    EXPECT_EQ(ends[1].mode, ProductRecord::kSell);
    EXPECT_EQ(std::tie(s.stock, s.cost, s.price[0], s.caseQty, s.commissionPercent), std::make_tuple(0.0f, 0.0f, 0.0f, 12.0f, 5.0f));
    EXPECT_EQ(std::tie(s.category, s.barCode, s.showOnTouch), std::make_tuple("Fruit", "4711", std::uint8_t{1}));
    for (const char* nothing : {"", "\r\n \t\r\n", ProductText::kHeading})
        EXPECT_TRUE(ProductText::Read(nothing).nothing) << nothing;
}

TEST_F(ProductEditing, ExportImportRoundTripIsByteForByte)
{
    ProductRecord a = makeProduct("A\xe9", 2.5f, "BC1");
    a.price = {1.25f, 2, 3, 4, 5, 6.75f};
    a.mode = ProductRecord::kRent, a.taxStatus = 3, a.showOnTouch = 1, a.commissionPercent = 2.5f;
    a.category = "Cat", a.vendor = "Ven";
    writeProductFile(path(), {a, makeProduct("B", -1)});
    const std::string first = dir.file("first.txt");
    ASSERT_EQ(ProductText::Export(local, first), FileCause::None);
    std::string text;
    ASSERT_TRUE(ProductText::ReadTextFile(first, text));
    EXPECT_EQ(text.rfind(ProductText::kHeading, 0), 0u);

    TempDir other;
    CLocalFile second{other.path()};
    writeProductFile(second.GetPath("Products"), {});
    ASSERT_EQ(AppendProducts(second, ProductText::Read(text).records), FileCause::None);
    const std::string again = other.file("again.txt");
    ASSERT_EQ(ProductText::Export(second, again), FileCause::None);
    EXPECT_EQ(readBytes(again), readBytes(first));
    EXPECT_EQ(readProducts(second.GetPath("Products")).size(), 2u);
}
