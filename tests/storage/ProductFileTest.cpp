#include "FileSetTest.h"
#include "products/SaleStock.h"
#include "storage/files/ProductFile.h"
#include "support/ProductFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {
struct ProductFileTest : FileSetTest {
    std::string path() const { return local.GetPath("Products"); }
    std::vector<std::string> items() const { return storedItems(path()); }
    using Items = std::vector<std::string>;
};
}  // namespace

TEST_F(ProductFileTest, LookupOffersQuickAddForAnUnknownCode)
{
    int asked = 0;
    auto quickAdd = [&](const std::string& code, ProductRecord& built) {
        ++asked;
        built = makeProduct("QA-" + code + "-0123456789012345678", 7);  // longer than the slot
        return true;
    };
    // No file yet: nothing can be opened, nothing is offered.
    ProductRecord r;
    EXPECT_FALSE(LookupForSale(local, "abc", r, quickAdd));
    EXPECT_FALSE(ProductExists(local, "abc"));
    ASSERT_EQ(prompt.messages, std::vector<std::string>{"Unable to open file."});
    EXPECT_EQ(EnsureProductFile(local), FileCause::None);
    EXPECT_EQ(readBytes(path()), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    std::vector<ProductListRow> rows{ProductListRow{}};
    EXPECT_EQ(ListProducts(local, rows), FileCause::None);
    EXPECT_TRUE(rows.empty());

    // An empty code is the empty result without asking; a refused Quick Add stores nothing.
    EXPECT_FALSE(LookupForSale(local, "", r, quickAdd));
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(LookupForSale(local, "abc", r, [&](const std::string&, ProductRecord&) { ++asked; return false; }));
    EXPECT_TRUE(r.itemNumber.empty());
    EXPECT_EQ(storedCount(path()), 0);

    ASSERT_TRUE(LookupForSale(local, "abc", r, quickAdd));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(r.itemNumber, "QA-abc-0123456789012345");  // as stored: 23 characters
    EXPECT_EQ(EnsureProductFile(local), FileCause::None);  // an existing file is left as it is
    EXPECT_EQ(items(), Items{r.itemNumber});

    // Another register adds the same code while Quick Add is open: the file
    // keeps one product of that code, and the sale gets the stored one.
    ASSERT_TRUE(LookupForSale(local, "race", r, [&](const std::string& code, ProductRecord& built) {
        built = makeProduct(code, 3);
        EXPECT_EQ(AppendProduct(local, makeProduct(code, 5)), FileCause::None);
        return true;
    }));
    EXPECT_EQ(r.stock, 5.0f);
    EXPECT_EQ(items(), (Items{"QA-abc-0123456789012345", "race"}));
}

TEST_F(ProductFileTest, SearchAndListColumns)
{
    ProductRecord split = makeProduct("B1", 4.9f, "999");
    std::tie(split.description, split.category, split.vendor, split.vendorNumber, split.department) =
        std::tuple{"Banana split", "Frozen Fruit", "Acme", "V1", "Deli"};
    std::tie(split.cost, split.salePercent, split.caseQty, split.commissionPercent) = std::tuple{1.005f, 12.25f, 6, 2.5f};
    std::tie(split.taxStatus, split.showOnTouch, split.mode) = std::tuple{3, 1, ProductRecord::kRent};
    split.price = {2.5f, 0, 0, 0, 0, 9.999f};
    ProductRecord plain = makeProduct("B2", 5);
    std::tie(plain.description, plain.category) = std::tuple{"Banana", "Produce"};
    writeProductFile(path(), {split, plain});

    ProductSearch s, low, item, itemAndVendor;
    std::tie(s.description, s.category) = std::tuple{"ban", "fruit"};
    std::tie(low.lowQuantity, low.lowQuantityThreshold) = std::tuple{true, 5};
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
}

// Positions past the records present, also under a damaged count or a file
// too short for its count, are refused; a delete moves the last record.
TEST_F(ProductFileTest, PositionsAndDeletesOverIntactAndDamagedFiles)
{
    auto bytes =
        productFileBytes({makeProduct("A", 1), makeProduct("B", 2), makeProduct("C", 3), makeProduct("GHOST", 5)}, 10);
    bytes.resize(bytes.size() - 170);  // 150 bytes of the fourth record
    writeBytes(path(), bytes);
    ProductRecord r;
    EXPECT_FALSE(FindProductByItem(local, "ghost", r));
    for (long long at : {3LL, -1LL})
        EXPECT_EQ(ReadProductAt(local, at, r), FileCause::EndOfFile) << at;
    EXPECT_EQ(RemoveProductByItem(local, "GHOST"), ChangeResult::NotFound);
    EXPECT_EQ(UpdateProductByItem(local, "GHOST", [](ProductRecord& p) { p.stock = 1; }), ChangeResult::NotFound);
    ASSERT_EQ(TakeSaleFromStock(local, std::array<StockLine, 1>{{{"GHOST", 1}}}), FileCause::None);
    EXPECT_EQ(readBytes(path()), bytes);

    writeProductFile(path(), {makeProduct("A", 1), makeProduct("B", 2), makeProduct("C", 3)});
    ASSERT_EQ(UpdateProductByItem(local, "B", [](ProductRecord& p) { p.stock = 42; }), ChangeResult::Done);
    ASSERT_EQ(RemoveProductByItem(local, "A"), ChangeResult::Done);
    EXPECT_EQ(items(), (Items{"C", "B"}));
    EXPECT_EQ(readProducts(path())[1].stock, 42.0f);
    ASSERT_EQ(RemoveProductByItem(local, "B"), ChangeResult::Done);  // the last one: only the count drops
    ASSERT_EQ(RemoveProductByItem(local, "C"), ChangeResult::Done);
    EXPECT_EQ(fileSize(path()), 4 + 3 * 320);
    long long index = -1;
    ASSERT_EQ(AppendProduct(local, makeProduct("D"), &index), FileCause::None);
    EXPECT_EQ(index, 0);

    writeBytes(path(), {7, 0});  // too short to hold its count
    ASSERT_EQ(ReadProductCount(local, index), FileCause::None);
    EXPECT_EQ(index, 0);
    ASSERT_EQ(AppendProduct(local, makeProduct("S"), &index), FileCause::None);
    EXPECT_EQ(items(), Items{"S"});
}

// Scans in blocks give exactly the first match of record-by-record reading,
// also on either side of a block boundary; sale lines change only stock.
TEST_F(ProductFileTest, BlockScansEqualRecordByRecordReading)
{
    const long long block = static_cast<long long>(ProductFile::kScanBlockRecords);
    const long long n = 3 * block + 50;
    std::vector<ProductRecord> records;
    for (long long i = 0; i < n; ++i) {
        ProductRecord r = makeProduct((i % 3 ? "it" : "IT") + std::to_string(i % 97), static_cast<float>(i % 11),
                                      "B" + std::to_string(i % 53));
        r.description = "row " + std::to_string(i);
        records.push_back(r);
    }
    const std::tuple<long long, const char*, const char*> placed[] = {
        {block - 1, "X", "EDGE1"},  // bar code just before a boundary, item number just after it
        {block, "EDGE1", ""}, {2 * block - 1, "EDGE2", ""}, {2 * block, "edge2", ""}, {3 * block, "Edge3", ""},
        {n - 1, "LastOne", "LASTBAR"}};
    for (const auto& [i, item, bar] : placed)
        std::tie(records[static_cast<std::size_t>(i)].itemNumber, records[static_cast<std::size_t>(i)].barCode) =
            std::tuple{item, bar};
    writeProductFile(path(), records);

    auto ref = [&](const std::string& code, bool barCodes) { return firstMatching(records, code, barCodes); };
    std::vector<std::string> codes{"edge1", "EDGE2", "edge3", "lastone", "lastbar", "missing", "x", "Edge3 "};
    for (int k = 0; k < 100; ++k)
        codes.push_back("iT" + std::to_string(k));
    for (int k = 0; k < 56; ++k)
        codes.push_back("b" + std::to_string(k));
    for (const auto& code : codes) {
        const long long item = ref(code, false), sold = ref(code, true);
        EXPECT_EQ(ProductExists(local, code), item >= 0) << code;
        ProductRecord r = makeProduct("junk", 9999);
        EXPECT_EQ(FindProductByItem(local, code, r), item >= 0) << code;
        EXPECT_EQ(r.stock, item >= 0 ? records[static_cast<std::size_t>(item)].stock : 9999) << code;
        EXPECT_EQ(LookupForSale(local, code, r), sold >= 0) << code;  // a miss empties the record
        EXPECT_EQ(r.description, sold >= 0 ? records[static_cast<std::size_t>(sold)].description : "") << code;
    }
    EXPECT_TRUE(prompt.messages.empty());

    std::array<StockLine, 20> lines{};
    const std::array<std::string, 20> items{"EDGE1", "edge2", "Edge3", "LASTONE", "lastbar", "it5",  "IT96",
                                            "it5",   "missing", "x",   "it0",     "IT1",     "it95", "edge2",
                                            "",      "it50",  "EDGE1", "it77",   "b3",      "lastone"};
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = {items[i], 0.1f * static_cast<float>(i + 1)};
    lines[3].qty = -2;  // a return
    const auto moved = [&](float sign) {
        for (const auto& line : lines)
            if (const long long i = line.itemNumber.empty() ? -1 : ref(line.itemNumber, false); i >= 0)
                records[static_cast<std::size_t>(i)].stock += sign * line.qty;
        return productFileBytes(records);
    };
    ASSERT_EQ(TakeSaleFromStock(local, lines), FileCause::None);
    EXPECT_EQ(readBytes(path()), moved(-1));
    ASSERT_EQ(ReturnSaleToStock(local, lines), FileCause::None);
    EXPECT_EQ(readBytes(path()), moved(1));
    EXPECT_EQ(TakeSaleFromStock(CLocalFile(dir.path() + "elsewhere/"), lines), FileCause::NotFound);
}

