#include "FileSetTest.h"
#include "ProductFile.h"
#include "ProductFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <strings.h>
#include <vector>

namespace {
struct ProductFileTest : FileSetTest {
    std::string path() const { return local.GetPath("Products"); }
    std::vector<std::string> items() const { return storedItems(path()); }
    using Items = std::vector<std::string>;
};

bool same(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }
}  // namespace

TEST_F(ProductFileTest, EmptyFileListsNothingAndLookupOffersQuickAdd)
{
    // No file yet: nothing can be opened, nothing is offered.
    int asked = 0;
    auto quickAdd = [&](const std::string& code, ProductRecord& built) {
        ++asked;
        built = makeProduct(code, 7);
        built.itemNumber = "QA-" + code + "-0123456789012345678";  // longer than the slot
        return true;
    };
    ProductRecord r;
    EXPECT_FALSE(LookupForSale(local, "abc", r, quickAdd));
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(ProductExists(local, "abc"));
    ASSERT_EQ(prompt.messages, std::vector<std::string>{"Unable to open file."});

    EXPECT_EQ(EnsureProductFile(local), FileCause::None);
    EXPECT_EQ(readBytes(path()), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    std::vector<ProductListRow> rows{ProductListRow{}};
    EXPECT_EQ(ListProducts(local, rows), FileCause::None);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(FindProductIndex(local, "abc"), -1);

    // An empty code is the empty result without asking.
    EXPECT_FALSE(LookupForSale(local, "", r, quickAdd));
    EXPECT_EQ(asked, 0);

    ProductRecord none;
    EXPECT_FALSE(LookupForSale(local, "abc", none, [&](const std::string&, ProductRecord&) { ++asked; return false; }));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(none.itemNumber.empty());
    EXPECT_EQ(storedCount(path()), 0);

    ASSERT_TRUE(LookupForSale(local, "abc", r, quickAdd));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(r.itemNumber, "QA-abc-0123456789012345");  // as stored: 23 characters
    EXPECT_EQ(r.stock, 7.0f);
    EXPECT_EQ(items(), Items{r.itemNumber});
    EXPECT_EQ(EnsureProductFile(local), FileCause::None);  // an existing file is left as it is
    EXPECT_EQ(items(), Items{r.itemNumber});

    // Another register adds the same code while Quick Add is open: the file
    // keeps one product of that code, and the sale gets the stored one.
    ProductRecord raced;
    ASSERT_TRUE(LookupForSale(local, "race", raced, [&](const std::string& code, ProductRecord& built) {
        built = makeProduct(code, 3);
        EXPECT_EQ(AppendProduct(local, makeProduct(code, 5)), FileCause::None);
        return true;
    }));
    EXPECT_EQ(raced.stock, 5.0f);
    EXPECT_EQ(items(), (Items{r.itemNumber, "race"}));
}

TEST_F(ProductFileTest, FirstRecordMatchingItemOrBarCodeWinsIgnoringCase)
{
    writeProductFile(path(), {
                                 makeProduct("P0", 1, "X1"),    // bar code X1 first
                                 makeProduct("x1", 2),          // item number X1 after it
                                 makeProduct("ABC", 3),
                                 makeProduct("Q9", 4, "Abc"),
                                 makeProduct("abc", 5),
                                 makeProduct("Z", 6, "BarOnly"),
                                 makeProduct("Abc", 7),
                             });
    // Sales look at item numbers and bar codes; item-number lookups never at bar codes.
    struct Case {
        const char* code;
        const char* sold;  // the item number the sale finds
        long long index;   // where the item number lookup finds it
    };
    for (const Case& c : {Case{"X1", "P0", 1}, Case{"aBc", "ABC", 2}, Case{"BARONLY", "Z", -1},
                          Case{"nothing", "", -1}, Case{"Abc ", "", -1}}) {
        ProductRecord r = makeProduct("junk", 9);
        EXPECT_EQ(LookupForSale(local, c.code, r), *c.sold != 0) << c.code;
        EXPECT_EQ(r.itemNumber, c.sold) << c.code;
        EXPECT_EQ(r.stock, *c.sold ? r.stock : 0.0f) << c.code;  // a miss empties the record
        EXPECT_EQ(FindProductIndex(local, c.code), c.index) << c.code;
        EXPECT_EQ(ProductExists(local, c.code), c.index >= 0) << c.code;
        EXPECT_EQ(FindProductByItem(local, c.code, r), c.index >= 0) << c.code;
        EXPECT_EQ(r.stock, c.index >= 0 ? static_cast<float>(c.index + 1) : r.stock) << c.code;
    }
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ProductFileTest, SearchAndListColumns)
{
    ProductRecord split = makeProduct("B1", 4.9f);
    split.description = "Banana split";
    split.category = "Frozen Fruit";
    split.cost = 1.005f;
    split.price = {2.5f, 0, 0, 0, 0, 9.999f};
    split.salePercent = 12.25f;
    split.caseQty = 6;
    split.taxStatus = 3;
    split.showOnTouch = 1;
    split.commissionPercent = 2.5f;
    split.mode = ProductRecord::kRent;
    split.vendor = "Acme";
    split.vendorNumber = "V1";
    split.department = "Deli";
    split.barCode = "999";
    ProductRecord plain = makeProduct("B2", 5);
    plain.description = "Banana";
    plain.category = "Produce";
    writeProductFile(path(), {split, plain});

    ProductSearch s, low, item, itemAndVendor;
    s.description = "ban";
    s.category = "fruit";
    low.lowQuantity = true;
    low.lowQuantityThreshold = 5;
    item.itemNumber = itemAndVendor.itemNumber = "b";
    itemAndVendor.vendor = "acme";
    for (const auto& [search, plainToo] : {std::pair{s, false}, {low, false}, {item, true}, {itemAndVendor, false}}) {
        EXPECT_TRUE(MatchesSearch(split, search));
        EXPECT_EQ(MatchesSearch(plain, search), plainToo);
    }

    std::vector<ProductListRow> rows;
    ASSERT_EQ(ListProducts(local, rows), FileCause::None);
    ASSERT_EQ(rows.size(), 2u);
    const std::vector<std::string> expected{"B1",  "Banana split", "1.00", "2.50",  "0.00", "0.00", "0.00",
                                            "0.00", "10.00",       "4.9",  "12.2",  "Acme", "V1",   "Frozen Fruit",
                                            "Deli", "6.00",        "3",    "",      "Yes",  "2.5",  "Rent"};
    EXPECT_EQ(rows[0].cells, expected);
    EXPECT_EQ(rows[1].cells[ProductColumn::kTouch], "No");
    EXPECT_EQ(rows[1].cells[ProductColumn::kMode], "Sell");

    ASSERT_EQ(ListMatchingProducts(local, s, rows), FileCause::None);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells, std::vector<std::string>(expected.begin(), expected.begin() + 19));
    ASSERT_EQ(ListMatchingProducts(local, ProductSearch{}, rows), FileCause::None);
    EXPECT_EQ(rows.size(), 2u);
}

TEST_F(ProductFileTest, AddChangeAndDeleteMoveTheLastRecord)
{
    ASSERT_EQ(EnsureProductFile(local), FileCause::None);
    long long index = -1;
    for (const char* item : {"A", "B", "C"})
        ASSERT_EQ(AppendProduct(local, makeProduct(item), &index), FileCause::None);
    EXPECT_EQ(index, 2);
    const long long length = 4 + 3 * 320;
    EXPECT_EQ(fileSize(path()), length);

    ProductRecord b;
    ASSERT_EQ(ReadProductAt(local, 1, b), FileCause::None);
    b.stock = 42;
    ASSERT_EQ(WriteProductAt(local, 1, b), FileCause::None);
    EXPECT_EQ(WriteProductAt(local, 3, b), FileCause::EndOfFile);
    EXPECT_EQ(WriteProductAt(local, -1, b), FileCause::EndOfFile);
    EXPECT_EQ(ReadProductAt(local, 3, b), FileCause::EndOfFile);
    EXPECT_EQ(fileSize(path()), length);

    ASSERT_EQ(RemoveProductAt(local, 0), FileCause::None);
    EXPECT_EQ(items(), (Items{"C", "B"}));
    EXPECT_EQ(readProducts(path())[1].stock, 42.0f);
    EXPECT_EQ(fileSize(path()), length);

    // Deleting the last record only lowers the count.
    ASSERT_EQ(RemoveProductAt(local, 1), FileCause::None);
    EXPECT_EQ(items(), Items{"C"});
    EXPECT_EQ(RemoveProductAt(local, 1), FileCause::EndOfFile);
    ASSERT_EQ(RemoveProductAt(local, 0), FileCause::None);
    EXPECT_EQ(storedCount(path()), 0);
    EXPECT_EQ(fileSize(path()), length);

    // The next append reuses the first position.
    ASSERT_EQ(AppendProduct(local, makeProduct("D"), &index), FileCause::None);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(items(), Items{"D"});
}

TEST_F(ProductFileTest, SaleLinesChangeTheFirstMatchingProductInLineOrder)
{
    ProductRecord twin = makeProduct("DUP", 10);
    twin.description = "second";
    writeProductFile(path(), {makeProduct("Widget", 2), makeProduct("dup", 1), twin, makeProduct("Gadget", 0.5f)});
    const auto before = readBytes(path());

    std::array<StockLine, 20> lines{};
    lines[0] = {"WIDGET", 3};
    lines[2] = {"Dup", 1.5f};
    lines[5] = {"nope", 9};
    lines[7] = {"DUP", 2};
    lines[9] = {"gadget", -1};  // a return
    lines[19] = {"", 100};
    ASSERT_EQ(TakeSaleFromStock(local, lines), FileCause::None);
    auto after = readProducts(path());
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[0].stock, -1.0f);  // 2 - 3
    EXPECT_EQ(after[1].stock, -2.5f);  // 1 - 1.5 - 2
    EXPECT_EQ(after[2].stock, 10.0f);  // the later twin is never touched
    EXPECT_EQ(after[3].stock, 1.5f);
    // Only stock fields changed.
    auto bytes = readBytes(path());
    ASSERT_EQ(bytes.size(), before.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t inRecord = (i - 4) % 320;
        if (i >= 4 && inRecord >= 20 && inRecord < 24)
            continue;
        ASSERT_EQ(bytes[i], before[i]) << i;
    }

    ASSERT_EQ(ReturnSaleToStock(local, lines), FileCause::None);
    EXPECT_EQ(readBytes(path()), before);

    // A sale with only empty or unknown lines leaves the file alone.
    std::array<StockLine, 20> unknown{};
    unknown[3] = {"nope", 1};
    ASSERT_EQ(TakeSaleFromStock(local, unknown), FileCause::None);
    EXPECT_EQ(readBytes(path()), before);

    CLocalFile nowhere(dir.path() + "elsewhere/");
    EXPECT_EQ(TakeSaleFromStock(nowhere, lines), FileCause::NotFound);
}

// Scans in blocks must give exactly the record-by-record results, also for
// matches on either side of a block boundary.
TEST_F(ProductFileTest, BlockScansEqualRecordByRecordReading)
{
    const long long block = static_cast<long long>(ProductFile::kScanBlockRecords);
    const long long n = 3 * block + 50;
    std::vector<ProductRecord> records;
    for (long long i = 0; i < n; ++i) {
        const std::string item = (i % 3 ? "it" : "IT") + std::to_string(i % 97);
        ProductRecord r = makeProduct(item, static_cast<float>(i % 11), "B" + std::to_string(i % 53));
        r.description = "row " + std::to_string(i);
        records.push_back(r);
    }
    auto place = [&](long long i, const std::string& item, const std::string& bar) {
        records[static_cast<std::size_t>(i)].itemNumber = item;
        records[static_cast<std::size_t>(i)].barCode = bar;
    };
    place(block - 1, "X", "EDGE1");  // bar code just before a boundary
    place(block, "EDGE1", "");       // item number just after it
    place(2 * block - 1, "EDGE2", "");
    place(2 * block, "edge2", "");
    place(3 * block, "Edge3", "");
    place(n - 1, "LastOne", "LASTBAR");
    writeProductFile(path(), records);

    auto ref = [&](const std::string& code, bool barCodes) {
        for (std::size_t i = 0; i < records.size(); ++i)
            if (same(records[i].itemNumber, code) || (barCodes && same(records[i].barCode, code)))
                return static_cast<long long>(i);
        return -1LL;
    };
    std::vector<std::string> codes{"edge1", "EDGE2", "edge3", "lastone", "lastbar", "missing", "x"};
    for (int k = 0; k < 100; ++k)
        codes.push_back("iT" + std::to_string(k));
    for (int k = 0; k < 56; ++k)
        codes.push_back("b" + std::to_string(k));
    for (const auto& code : codes) {
        EXPECT_EQ(FindProductIndex(local, code), ref(code, false)) << code;
        ProductRecord r;
        const long long want = ref(code, true);
        EXPECT_EQ(LookupForSale(local, code, r), want >= 0) << code;
        EXPECT_EQ(r.description, want >= 0 ? records[static_cast<std::size_t>(want)].description : "") << code;
    }
    EXPECT_EQ(FindProductIndex(local, "edge1"), block);
    ProductRecord r;
    ASSERT_TRUE(LookupForSale(local, "Edge1", r));
    EXPECT_EQ(r.description, "row " + std::to_string(block - 1));

    std::array<StockLine, 20> lines{};
    const std::array<std::string, 20> items{"EDGE1", "edge2", "Edge3", "LASTONE", "lastbar", "it5",  "IT96",
                                            "it5",   "missing", "x",   "it0",     "IT1",     "it95", "edge2",
                                            "",      "it50",  "EDGE1", "it77",   "b3",      "lastone"};
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = {items[i], 0.1f * static_cast<float>(i + 1)};
    ASSERT_EQ(TakeSaleFromStock(local, lines), FileCause::None);
    for (const auto& line : lines) {
        const long long i = line.itemNumber.empty() ? -1 : ref(line.itemNumber, false);
        if (i >= 0)
            records[static_cast<std::size_t>(i)].stock = records[static_cast<std::size_t>(i)].stock - line.qty;
    }
    EXPECT_EQ(readBytes(path()), productFileBytes(records));
}

TEST_F(ProductFileTest, DamagedFilesAreReadAsTheRecordsPresent)
{
    // Count 10 over three records and part of a fourth that holds an item number.
    auto bytes = productFileBytes({makeProduct("A", 1), makeProduct("B", 2), makeProduct("C", 3)}, 10);
    std::vector<std::uint8_t> ghost(320);
    makeProduct("GHOST", 5).encode(ghost.data());
    bytes.insert(bytes.end(), ghost.begin(), ghost.begin() + 150);
    writeBytes(path(), bytes);
    std::vector<ProductListRow> rows;
    ASSERT_EQ(ListProducts(local, rows), FileCause::None);
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(FindProductIndex(local, "ghost"), -1);
    ProductRecord r;
    EXPECT_EQ(ReadProductAt(local, 3, r), FileCause::EndOfFile);
    EXPECT_EQ(WriteProductAt(local, 3, r), FileCause::EndOfFile);
    EXPECT_EQ(RemoveProductAt(local, 5), FileCause::EndOfFile);
    ASSERT_EQ(TakeSaleFromStock(local, std::array<StockLine, 1>{{{"GHOST", 1}}}), FileCause::None);
    EXPECT_EQ(readBytes(path()), bytes);

    // A file too short to hold its count.
    writeBytes(path(), {7, 0});
    long long count = -1, index = -1;
    ASSERT_EQ(ReadProductCount(local, count), FileCause::None);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ResetSalesWork(local), FileCause::None);
    ASSERT_EQ(AppendProduct(local, makeProduct("S"), &index), FileCause::None);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(items(), Items{"S"});
}

TEST_F(ProductFileTest, ResetSalesWorkZeroesOnlyTheWorkFields)
{
    std::vector<ProductRecord> records;
    for (int i = 0; i < 300; ++i) {
        ProductRecord r = makeProduct("P" + std::to_string(i), static_cast<float>(i));
        r.soldQty = 1;
        r.soldTotal = 2;
        r.soldProfit = 3;
        r.soldCommission = 4;
        r.cost = 5;
        r.mode = 1;
        records.push_back(r);
    }
    // Bytes past the count are not records and stay as they are.
    auto bytes = productFileBytes(records, 299);
    writeBytes(path(), bytes);
    ASSERT_EQ(ResetSalesWork(local), FileCause::None);
    auto after = readBytes(path());
    ASSERT_EQ(after.size(), bytes.size());
    for (std::size_t i = 0; i < 299; ++i)
        std::fill(bytes.begin() + 4 + 320 * i + 4, bytes.begin() + 4 + 320 * i + 20, 0);
    EXPECT_EQ(after, bytes);
}
