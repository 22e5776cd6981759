#include "ByteCodec.h"
#include "CLocalFile.h"
#include "RecordingPrompt.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
std::string slotText(const std::vector<std::uint8_t>& bytes, int slot)
{
    return codec::getText(bytes.data(), 49 + 180 * static_cast<std::size_t>(slot), 180);
}
}  // namespace

TEST(CLocalFile, RecordLayoutPutsEveryFieldAtItsOffset)
{
    TempDir dir;
    CLocalFile local(dir.path());
    local.version = 0x01020304;
    local.currentRecord = 0x0A0B0C0D;
    local.securityOn = 1;
    local.receiptsToPrint = 2;
    local.receiptStyle = 1;
    local.drawerMethod = 2;
    local.packingSlips = 3;
    local.drawerCommand = "ABCDEFGHIJKLMNOP";  // cut to 11
    local.loggedInCashier = "Mary";
    for (std::size_t i = 0; i < CLocalFile::kSlotCount; ++i)
        local.paths[i] = "slot" + std::to_string(i);
    local.loginTime = OleDate{1234.5, 0};

    std::uint8_t buf[CLocalFile::kRecordSize];
    local.encode(buf);
    EXPECT_EQ(codec::getU32(buf, 0), 0x01020304u);
    EXPECT_EQ(codec::getU32(buf, 4), 0x0A0B0C0Du);
    EXPECT_EQ(buf[8], 1);
    EXPECT_EQ(buf[9], 2);
    EXPECT_EQ(buf[10], 1);
    EXPECT_EQ(buf[11], 2);
    EXPECT_EQ(buf[12], 3);
    EXPECT_EQ(codec::getText(buf, 13, 12), "ABCDEFGHIJK");
    EXPECT_EQ(codec::getText(buf, 25, 24), "Mary");
    EXPECT_EQ(codec::getText(buf, 49, 180), "slot0");
    EXPECT_EQ(codec::getText(buf, 49 + 13 * 180, 180), "slot13");
    EXPECT_EQ(buf[2569], 0);
    EXPECT_EQ(buf[2571], 0);
    EXPECT_EQ(codec::getF64(buf, 2572), 1234.5);
    EXPECT_EQ(codec::getI32(buf, 2580), 0);

    CLocalFile back(dir.path());
    back.decode(buf);
    EXPECT_EQ(back.currentRecord, local.currentRecord);
    EXPECT_EQ(back.drawerCommand, "ABCDEFGHIJK");
    EXPECT_EQ(back.loggedInCashier, "Mary");
    EXPECT_EQ(back.paths, local.paths);
    EXPECT_EQ(back.loginTime, local.loginTime);
    EXPECT_EQ(back.packingSlips, 3);
}

TEST(CLocalFile, FirstLoadCreatesTheRecordWithDefaultFilesBesideIt)
{
    TempDir dir;
    RecordingPrompt prompt;
    CLocalFile local(dir.path());
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

TEST(CLocalFile, CopiedRecordGetsItsOwnLocationAndKeepsTheOtherSlots)
{
    TempDir elsewhere;
    TempDir dir;
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

TEST(CLocalFile, GetPathAnswersEveryKindCaseSensitively)
{
    TempDir dir;
    CLocalFile local(dir.path());
    ASSERT_FALSE(local.Load());
    local.paths[1] = "/mnt/Shop/Main-Invs.pdb";
    local.paths[3] = "/mnt/Shop/Main-Cust.pdb";
    EXPECT_EQ(local.GetPath("Payments"), "/mnt/Shop/Main-Pymnt.pdb");
    EXPECT_EQ(local.GetPath("Rentals"), "/mnt/Shop/Main-Rent.pdb");
    EXPECT_EQ(local.GetPath("Quotes"), "/mnt/Shop/Main-Quote.pdb");
    EXPECT_EQ(local.GetPath("Terms"), "/mnt/Shop/Main-Terms.pdb");
    EXPECT_EQ(local.GetPath("Invoices"), "/mnt/Shop/Main-Invs.pdb");
    EXPECT_EQ(local.GetPath("Customers"), "/mnt/Shop/Main-Cust.pdb");
    EXPECT_EQ(local.GetPath("Head"), dir.file("Retail.pos"));
    EXPECT_EQ(local.GetPath("Products"), dir.file("Retail-Prod.pdb"));
    EXPECT_EQ(local.GetPath("Vendor"), dir.file("Retail-Vend.pdb"));
    EXPECT_EQ(local.GetPath("Category"), dir.file("Retail-Catg.pdb"));
    EXPECT_EQ(local.GetPath("Cashiers"), dir.file("Retail-Cash.pdb"));
    EXPECT_EQ(local.GetPath("Tax Table"), dir.file("Retail-TaxT.pdb"));
    EXPECT_EQ(local.GetPath("Sales People"), dir.file("Retail-SaleP.pdb"));
    EXPECT_EQ(local.GetPath("Defaults"), dir.file("Defaults.pdb"));
    EXPECT_EQ(local.GetPath("Notes.txt"), dir.file("Notes.txt"));
    // Keys are exact: the lower-case name is a file of that name beside the record.
    EXPECT_EQ(local.GetPath("customers"), dir.file("customers"));

    // After a reset the bare default names lie in the working folder.
    local.resetToDefaults();
    EXPECT_EQ(local.GetPath("Invoices"), dir.file("Retail-Invs.pdb"));
    EXPECT_EQ(local.GetPath("Payments"), dir.file("Retail-Pymnt.pdb"));
    EXPECT_EQ(local.GetPath("Defaults"), dir.file("Defaults.pdb"));
}

TEST(CLocalFile, SetFileSetAndReceiptPrinterAreSavedAtOnce)
{
    TempDir dir;
    TempDir data;
    CLocalFile local(dir.path());
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

TEST(CLocalFile, DamagedRecordIsNeverReplacedByDefaults)
{
    TempDir dir;
    RecordingPrompt prompt;
    const std::vector<std::uint8_t> shortRecord(100, 7);
    writeBytes(dir.file("LocalFileNames.plf"), shortRecord);
    CLocalFile local(dir.path());
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

TEST(CLocalFile, SaveFailureNamesThePathAndKeepsTheRecordInMemory)
{
    TempDir dir;
    RecordingPrompt prompt;
    CLocalFile local(dir.path());
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
