// The lookups answer from this register's map of codes while another register
// (a forked process) changes the product file between them: every answer must
// be the one a full scan of the file as it now stands gives.

#include "FileSetTest.h"
#include "storage/files/ProductCode.h"
#include "storage/files/ProductFile.h"
#include "storage/files/ProductHint.h"
#include "storage/journal/Transaction.h"
#include "support/KilledRegisters.h"
#include "support/ProductFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
using Change = std::function<bool(const CLocalFile&)>;

// Runs the change in another process, as another register would.
bool changedElsewhere(const CLocalFile& local, const Change& change)
{
    return exitCodeOf([&] { return change(local) ? 0 : 1; }) == 0;
}

// The description of the first stored record matching the code, "" for none.
std::string scanned(const std::vector<ProductRecord>& stored, const std::string& code, bool barCodes)
{
    const long long i = firstMatching(stored, code, barCodes);
    return i < 0 ? "" : stored[static_cast<std::size_t>(i)].description;
}

Change update(const std::string& item, const std::function<void(ProductRecord&)>& edit)
{
    return [=](const CLocalFile& l) { return UpdateProductByItem(l, item, edit) == ChangeResult::Done; };
}
Change removal(const std::string& item)
{
    return [=](const CLocalFile& l) { return RemoveProductByItem(l, item) == ChangeResult::Done; };
}
Change append(const std::string& item, const std::string& barCode, const std::string& description)
{
    return [=](const CLocalFile& l) {
        ProductRecord r = makeProduct(item, 1, barCode);
        r.description = description;
        return AppendProduct(l, r) == FileCause::None;
    };
}
}  // namespace

TEST_F(FileSetTest, LookupsEqualTheFullScanAfterEveryChangeByAnotherRegister)
{
    const std::string path = local.GetPath("Products");
    const long long n = 2 * static_cast<long long>(ProductFile::kScanBlockRecords) + 37;
    std::vector<ProductRecord> records;
    for (long long i = 0; i < n; ++i) {
        ProductRecord r = makeProduct("p" + std::to_string(i), 1, i % 7 ? "" : "b" + std::to_string(i));
        r.description = "row " + std::to_string(i);
        records.push_back(r);
    }
    records[10].itemNumber = records[300].itemNumber = "Dup";  // two records, one code
    records[20].barCode = "p400";                               // a bar code that is a later item number
    records[static_cast<std::size_t>(n - 1)].itemNumber = "Tail";
    writeProductFile(path, records);

    // Codes the map holds first: a code that one of the lookups misses takes the
    // full scan, which maps the file afresh.
    const std::vector<std::string> codes{"p250", "dup", "tail", "p400", "P7", "p3", "p9", "p5", "p11", "p12",
                                         "b14", "b28", "late", "new", "missing"};
    const struct {
        const char* what;
        Change change;
    } cases[] = {
        {"nothing changed", [](const CLocalFile&) { return true; }},
        {"a second Dup appended", append("DUP", "", "appended dup")},
        {"the first Dup deleted: the appended one moves into its place", removal("dup")},
        {"Tail, the last record, moved into a deleted record's place", removal("p5")},
        {"an earlier record given a bar code that is a later item number", update("p3", [](ProductRecord& r) { r.barCode = "P250"; })},
        {"a record's bar code cleared", update("p14", [](ProductRecord& r) { r.barCode.clear(); })},
        {"a stock change only", update("p9", [](ProductRecord& r) { r.stock = 77; })},
        {"a delete and an append that keep the count",
         [](const CLocalFile& l) { return removal("p11")(l) && append("p11", "late", "back again")(l); }},
        {"an append moved at once into a gap",
         [](const CLocalFile& l) { return append("new", "", "new one")(l) && removal("p12")(l); }},
        {"a letter case edited", update("p7", [](ProductRecord& r) { r.itemNumber = "P7"; })},
    };
    const ProductHint::Counts before = ProductHint::Stats();
    for (const auto& c : cases) {
        ASSERT_TRUE(changedElsewhere(local, c.change)) << c.what;
        const std::vector<ProductRecord> stored = readProducts(path);
        for (int pass = 0; pass < 2; ++pass) {  // the first pass may rebuild the map, the second uses it
            for (const std::string& code : codes) {
                ProductRecord r;
                EXPECT_EQ(FindProductByItem(local, code, r) ? r.description : "", scanned(stored, code, false))
                    << c.what << ": " << code;
                LookupForSale(local, code, r);
                EXPECT_EQ(r.description, scanned(stored, code, true)) << c.what << ": sold " << code;
            }
        }
    }
    EXPECT_TRUE(prompt.messages.empty());
    // Most of the answers came from the map, each confirmed by its record.
    const ProductHint::Counts after = ProductHint::Stats();
    EXPECT_GT(after.mapped - before.mapped, after.scanned - before.scanned);
    EXPECT_GT(after.followed, before.followed);  // the stock change and the appends kept the map
}

// A sale's stock is taken by the map a register made before locking the file,
// while another register changes the file in between: every line must change
// the first record with its item number as the file then stands, and a change
// that moved no code must keep the map.
TEST_F(FileSetTest, StockTakenByTheMapEqualsTheFullScanWhateverChangedBeforeTheLock)
{
    const std::string path = local.GetPath("Products");
    const long long n = 2 * static_cast<long long>(ProductFile::kScanBlockRecords) + 37;
    std::vector<ProductRecord> records;
    for (long long i = 0; i < n; ++i)
        records.push_back(makeProduct("p" + std::to_string(i), 100));
    records[10].itemNumber = records[300].itemNumber = "Dup";
    records[static_cast<std::size_t>(n - 1)].itemNumber = "Tail";
    const std::vector<StockLine> sale{{"p5", 1}, {"DUP", 2}, {"p400", 3}, {"tail", 4}, {"p250", 5}, {"new", 6}};
    const Change stockOnly = [](const CLocalFile& l) {
        return UpdateProductByItem(l, "p250", [](ProductRecord& r) { r.stock = 7; }) == ChangeResult::Done;
    };
    const struct {
        const char* what;
        Change change;
        bool keepsMap;
    } cases[] = {
        {"nothing changed", [](const CLocalFile&) { return true; }, true},
        {"another register's stock change", stockOnly, true},
        {"a product appended", append("NEW", "", "appended"), true},
        {"a sold product deleted", removal("p5"), false},
        {"the first Dup deleted: Tail moves into its place", removal("dup"), false},
        {"a delete and an append of the moved code, the count kept",
         [](const CLocalFile& l) { return removal("p3")(l) && append("TAIL", "", "second tail")(l); }, false},
    };
    for (const auto& c : cases) {
        writeProductFile(path, records);
        ProductRecord seen;
        ASSERT_TRUE(FindProductByItem(local, "p0", seen)) << c.what;  // the map of the file as written
        const ProductHint::Counts before = ProductHint::Stats();
        ASSERT_TRUE(changedElsewhere(local, c.change)) << c.what;

        std::vector<ProductRecord> expected = readProducts(path);
        for (const StockLine& line : sale)
            if (const long long i = firstMatching(expected, line.itemNumber, false); i >= 0)
                expected[static_cast<std::size_t>(i)].stock -= line.qty;
        Transaction tx;
        tx.add(path);
        ASSERT_EQ(tx.begin(), FileCause::None);
        ASSERT_EQ(StageStockChanges(tx, tx.file(path), sale, [](float stock, float qty) { return stock - qty; }), 0);
        ASSERT_EQ(CommitKeepingProductCodes(tx, tx.file(path)), FileCause::None) << c.what;
        tx.release();

        const std::vector<ProductRecord> stored = readProducts(path);
        ASSERT_EQ(stored.size(), expected.size()) << c.what;
        for (std::size_t i = 0; i < stored.size(); ++i)
            EXPECT_EQ(stored[i].stock, expected[i].stock) << c.what << ": record " << i << " " << stored[i].itemNumber;
        const ProductHint::Counts after = ProductHint::Stats();
        EXPECT_EQ(after.scanned == before.scanned && after.mapped > before.mapped, c.keepsMap) << c.what;

        // A map current before this register's own change is current after it,
        // a code it appended included: no note followed, nothing scanned.
        ASSERT_EQ(AppendProduct(local, makeProduct("own", 1)), FileCause::None) << c.what;
        ASSERT_TRUE(LookupForSale(local, "own", seen) && LookupForSale(local, "p250", seen)) << c.what;
        const ProductHint::Counts own = ProductHint::Stats();
        EXPECT_EQ(own.scanned == after.scanned && own.followed == after.followed, c.keepsMap) << c.what;
    }
}

// A code slot compares as its text up to the NUL (at most 23 bytes), ASCII
// letters in either case, whatever bytes follow the NUL.
TEST(ProductCode, SlotsEqualTextsIgnoringAsciiCaseUpToTheirEnd)
{
    const auto slot = [](std::string bytes) {
        bytes.resize(ProductRecord::kCodeWidth + 8, '\0');  // the slot sits inside a record
        return ProductCode::OfSlot(reinterpret_cast<const std::uint8_t*>(bytes.data()), 0);
    };
    const std::string full(24, 'Q');
    const struct {
        std::string bytes;
        std::string text;
        bool same;
    } cases[] = {
        {"ABC", "abc", true},
        {"aBc", "AbC", true},
        {std::string("abc\0zz", 6), "abc", true},   // bytes after the NUL do not count
        {std::string("abc\0zz", 6), "abczz", false},
        {"@[`{", "`{@[", false},                    // the neighbours of the letters keep their case
        {"\xC4x", "\xE4X", false},                  // only ASCII letters fold
        {full, std::string(23, 'q'), true},          // a full slot holds 23 bytes
        {"ABCDEFGHIJKLMNOPQRSTUVW", "abcdefghijklmnopqrstuvw", true},
        {"ABCDEFGH", "abcdefghi", false},
        {"", "", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(slot(c.bytes) == ProductCode::OfText(c.text), c.same) << c.bytes;
        EXPECT_EQ(slot(c.bytes).empty(), c.text.empty() && c.same) << c.bytes;
    }
}
