#include "FileSetTest.h"
#include "LayoutCheck.h"

#include <gtest/gtest.h>

namespace {
std::string slotText(const std::vector<std::uint8_t>& bytes, int slot)
{
    return codec::getText(bytes.data(), 49 + 180 * static_cast<std::size_t>(slot), 180);
}
}  // namespace

struct CLocalFileTest : FileSetTest {};

TEST_F(CLocalFileTest, RecordLayoutPutsEveryFieldAtItsOffset)
{
    local.version = 0x01020304;
    local.currentRecord = 0x0A0B0C0D;
    local.securityOn = 1;
    local.receiptsToPrint = 2;
    local.receiptStyle = 1;
    local.drawerMethod = 2;
    local.packingSlips = 3;
    local.drawerCommand = "ABCDEFGHIJKLMNOP";  // cut to 11
    local.loggedInCashier = "Mary";
    local.loginTime = OleDate{1234.5, 0};
    std::vector<Slot> slots{u32(0, 0x01020304), u32(4, 0x0A0B0C0D), u8(8, 1),  u8(9, 2), u8(10, 1), u8(11, 2),
                            u8(12, 3), text(13, 12, "ABCDEFGHIJK"), text(25, 24, "Mary"), zeros(2569, 3),
                            f64(2572, 1234.5), i32(2580, 0)};
    for (std::size_t i = 0; i < CLocalFile::kSlotCount; ++i) {
        local.paths[i] = "slot" + std::to_string(i);
        slots.push_back(text(49 + 180 * i, 180, local.paths[i]));
    }
    std::uint8_t buf[CLocalFile::kRecordSize];
    local.encode(buf);
    expectLayout(buf, 2584, slots);
    expectRoundTrip(CLocalFile(dir.path()), buf, CLocalFile::kRecordSize);
}

TEST_F(CLocalFileTest, FirstLoadCreatesTheRecordWithDefaultFilesBesideIt)
{
    // No header file exists yet: the first load does not look for it.
    EXPECT_FALSE(local.Load());
    EXPECT_TRUE(prompt.messages.empty());

    const auto bytes = readBytes(dir.file("LocalFileNames.plf"));
    ASSERT_EQ(bytes.size(), 2584u);
    EXPECT_EQ(codec::getU32(bytes.data(), 0), 4u);
    EXPECT_EQ(slotText(bytes, 9), dir.file("LocalFileNames.plf"));
    const char* names[] = {"Retail.pos", "Retail-Invs.pdb", "Retail-Prod.pdb", "Retail-Cust.pdb", "Retail-Vend.pdb",
                           "Retail-Catg.pdb", "Retail-Cash.pdb", "Retail-TaxT.pdb", "Retail-SaleP.pdb"};
    for (int slot = 0; slot < 9; ++slot)
        EXPECT_EQ(slotText(bytes, slot), dir.file(names[slot])) << slot;
    for (int slot = 10; slot < 14; ++slot)
        EXPECT_EQ(slotText(bytes, slot), "") << slot;
    EXPECT_EQ(codec::getF64(bytes.data(), 2572), 0.0);
    EXPECT_EQ(codec::getI32(bytes.data(), 2580), 0);

    // The next load finds the record but no header file: that is a failure to locate the files.
    CLocalFile again(dir.path());
    EXPECT_TRUE(again.Load());
    writeBytes(dir.file("Retail.pos"), std::vector<std::uint8_t>(4916, 0));
    EXPECT_FALSE(again.Load());
}

TEST_F(CLocalFileTest, CopiedRecordGetsItsOwnLocationAndKeepsTheOtherSlots)
{
    TempDir elsewhere;
    CLocalFile original(elsewhere.path());
    ASSERT_FALSE(original.Load());
    original.SetFileSet(dir.path(), "Main");
    original.currentRecord = 17;
    ASSERT_TRUE(original.Save());
    writeBytes(dir.file("LocalFileNames.plf"), readBytes(elsewhere.file("LocalFileNames.plf")));
    writeBytes(dir.file("Main.pos"), std::vector<std::uint8_t>(4916, 0));

    CLocalFile copy(dir.path());
    ASSERT_FALSE(copy.Load());
    EXPECT_EQ(copy.paths[9], dir.file("LocalFileNames.plf"));
    EXPECT_EQ(copy.paths[0], dir.file("Main.pos"));
    EXPECT_EQ(copy.currentRecord, 17u);
    EXPECT_EQ(slotText(readBytes(dir.file("LocalFileNames.plf")), 9), dir.file("LocalFileNames.plf"));
}

TEST_F(CLocalFileTest, GetPathAnswersEveryKindCaseSensitively)
{
    ASSERT_FALSE(local.Load());
    local.paths[1] = "/mnt/Shop/Main-Invs.pdb";
    local.paths[3] = "/mnt/Shop/Main-Cust.pdb";
    // Payments, rentals, quotes and terms lie beside the invoices; keys are
    // exact: a lower-case name is a file of that name beside the record.
    const std::pair<const char*, std::string> paths[] = {
        {"Payments", "/mnt/Shop/Main-Pymnt.pdb"}, {"Rentals", "/mnt/Shop/Main-Rent.pdb"},
        {"Quotes", "/mnt/Shop/Main-Quote.pdb"},   {"Terms", "/mnt/Shop/Main-Terms.pdb"},
        {"Invoices", "/mnt/Shop/Main-Invs.pdb"},  {"Customers", "/mnt/Shop/Main-Cust.pdb"},
        {"Head", dir.file("Retail.pos")},         {"Products", dir.file("Retail-Prod.pdb")},
        {"Vendor", dir.file("Retail-Vend.pdb")},  {"Category", dir.file("Retail-Catg.pdb")},
        {"Cashiers", dir.file("Retail-Cash.pdb")}, {"Tax Table", dir.file("Retail-TaxT.pdb")},
        {"Sales People", dir.file("Retail-SaleP.pdb")}, {"Defaults", dir.file("Defaults.pdb")},
        {"Notes.txt", dir.file("Notes.txt")},     {"customers", dir.file("customers")}};
    for (const auto& [key, want] : paths)
        EXPECT_EQ(local.GetPath(key), want) << key;

    // After a reset the bare default names lie in the working folder.
    local.resetToDefaults();
    EXPECT_EQ(local.GetPath("Invoices"), dir.file("Retail-Invs.pdb"));
    EXPECT_EQ(local.GetPath("Payments"), dir.file("Retail-Pymnt.pdb"));
    EXPECT_EQ(local.GetPath("Defaults"), dir.file("Defaults.pdb"));
}

TEST_F(CLocalFileTest, SetFileSetAndReceiptPrinterAreSavedAtOnce)
{
    TempDir data;
    ASSERT_FALSE(local.Load());
    ASSERT_TRUE(local.SetFileSet(data.path(), "Shop2"));
    auto bytes = readBytes(dir.file("LocalFileNames.plf"));
    EXPECT_EQ(slotText(bytes, 0), data.file("Shop2.pos"));
    EXPECT_EQ(slotText(bytes, 1), data.file("Shop2-Invs.pdb"));
    EXPECT_EQ(slotText(bytes, 8), data.file("Shop2-SaleP.pdb"));
    EXPECT_EQ(slotText(bytes, 10), data.path());
    EXPECT_EQ(local.GetPath("Payments"), data.file("Shop2-Pymnt.pdb"));

    ASSERT_TRUE(local.SetReceiptPrinter(std::string(300, 'd'), "driver", "USB001"));
    bytes = readBytes(dir.file("LocalFileNames.plf"));
    EXPECT_EQ(slotText(bytes, 11), std::string(179, 'd'));
    EXPECT_EQ(slotText(bytes, 12), "driver");
    EXPECT_EQ(slotText(bytes, 13), "USB001");

    EXPECT_TRUE(CLocalFile::FileSetFits(std::string(160, 'a') + "/", "Shop"));
    EXPECT_FALSE(CLocalFile::FileSetFits(std::string(166, 'a') + "/", "Shop"));
}

TEST_F(CLocalFileTest, DamagedRecordIsNeverReplacedByDefaults)
{
    const std::vector<std::uint8_t> shortRecord(100, 7);
    writeBytes(dir.file("LocalFileNames.plf"), shortRecord);
    EXPECT_TRUE(local.Load());
    EXPECT_TRUE(prompt.saw("LocalFileNames.plf is damaged"));
    EXPECT_EQ(readBytes(dir.file("LocalFileNames.plf")), shortRecord);

    writeBytes(dir.file("LocalFileNames.plf"), {});
    EXPECT_TRUE(local.Load());
    EXPECT_EQ(fileSize(dir.file("LocalFileNames.plf")), 0);

    // A record of another version is not rewritten either.
    CLocalFile fresh(dir.path());
    std::vector<std::uint8_t> v5(2584, 0);
    codec::putU32(v5.data(), 0, 5);
    writeBytes(dir.file("LocalFileNames.plf"), v5);
    EXPECT_TRUE(fresh.Load());
    EXPECT_EQ(readBytes(dir.file("LocalFileNames.plf")), v5);
}

TEST_F(CLocalFileTest, SaveFailureNamesThePathAndKeepsTheRecordInMemory)
{
    ASSERT_FALSE(local.Load());
    local.paths[9] = dir.file("no-such-folder/LocalFileNames.plf");
    local.currentRecord = 5;
    EXPECT_FALSE(local.Save());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].rfind("Unable to save or create file:'" + local.paths[9] + "'\n\nIn: CLocalFile::Save()\n\nError: ", 0), 0u);
    EXPECT_EQ(local.currentRecord, 5u);

    prompt.messages.clear();
    EXPECT_FALSE(local.SetFileSet(dir.path(), "Other"));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], "Unable to save file:LocalFileNames.plf");
}
