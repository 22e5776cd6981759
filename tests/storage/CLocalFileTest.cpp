#include "FileSetTest.h"
#include "LayoutCheck.h"
#include "storage/files/FileSetStartup.h"
#include "storage/files/SalesFileHeader.h"

#include <gtest/gtest.h>

namespace {
std::string slotText(const std::vector<std::uint8_t>& bytes, int slot)
{
    return codec::getText(bytes.data(), 49 + 180 * static_cast<std::size_t>(slot), 180);
}

std::vector<std::uint8_t> headerBytes(float version, const std::string& company = {})
{
    SalesFileHeader h;
    h.version = version;
    h.companyName = company;
    std::vector<std::uint8_t> bytes(SalesFileHeader::kFileSize, 0);
    h.encode(bytes.data());
    return bytes;
}
}  // namespace

struct CLocalFileTest : FileSetTest {
    std::vector<std::uint8_t> record() const { return readBytes(dir.file("LocalFileNames.plf")); }
};

TEST_F(CLocalFileTest, RecordLayoutPutsEveryFieldAtItsOffset)
{
    std::tie(local.version, local.currentRecord, local.securityOn, local.receiptsToPrint, local.receiptStyle,
             local.drawerMethod, local.packingSlips) = std::tuple{0x01020304, 0x0A0B0C0D, 1, 2, 1, 2, 3};
    std::tie(local.drawerCommand, local.loggedInCashier, local.loginTime) =
        std::tuple{"ABCDEFGHIJKLMNOP" /* cut to 11 */, "Mary", OleDate{1234.5, 0}};
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

TEST_F(CLocalFileTest, FirstLoadCreatesTheRecordAndACopyGetsItsOwnLocation)
{
    // No header file exists yet: the first load does not look for it.
    EXPECT_FALSE(local.Load());
    EXPECT_TRUE(prompt.messages.empty());
    auto bytes = record();
    ASSERT_EQ(bytes.size(), 2584u);
    EXPECT_EQ(codec::getU32(bytes.data(), 0), 4u);
    EXPECT_EQ(slotText(bytes, 9), dir.file("LocalFileNames.plf"));
    EXPECT_EQ((std::vector<std::string>{slotText(bytes, 0), slotText(bytes, 8), slotText(bytes, 13)}),
              (std::vector<std::string>{dir.file("Retail.pos"), dir.file("Retail-SaleP.pdb"), ""}));
    EXPECT_EQ(codec::getF64(bytes.data(), 2572), 0.0);

    // The next load finds the record but no header file: a failure to locate the files.
    CLocalFile again(dir.path());
    EXPECT_TRUE(again.Load());
    writeBytes(dir.file("Retail.pos"), std::vector<std::uint8_t>(4916, 0));
    EXPECT_FALSE(again.Load());

    // A record copied from another register's folder names its own location
    // and keeps the other slots.
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
    EXPECT_EQ((std::tuple{copy.paths[9], copy.paths[0], copy.currentRecord}),
              (std::tuple{dir.file("LocalFileNames.plf"), dir.file("Main.pos"), 17u}));
    EXPECT_EQ(slotText(record(), 9), dir.file("LocalFileNames.plf"));
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
    EXPECT_EQ(local.GetPath("Payments"), dir.file("Retail-Pymnt.pdb"));
}

TEST_F(CLocalFileTest, SetFileSetAndReceiptPrinterAreSavedAtOnce)
{
    TempDir data;
    ASSERT_FALSE(local.Load());
    ASSERT_TRUE(local.SetFileSet(data.path(), "Shop2"));
    auto bytes = record();
    EXPECT_EQ((std::vector<std::string>{slotText(bytes, 0), slotText(bytes, 1), slotText(bytes, 8), slotText(bytes, 10)}),
              (std::vector<std::string>{data.file("Shop2.pos"), data.file("Shop2-Invs.pdb"), data.file("Shop2-SaleP.pdb"),
                                        data.path()}));
    ASSERT_TRUE(local.SetReceiptPrinter(std::string(300, 'd'), "driver", "USB001"));
    bytes = record();
    EXPECT_EQ((std::vector<std::string>{slotText(bytes, 11), slotText(bytes, 12), slotText(bytes, 13)}),
              (std::vector<std::string>{std::string(179, 'd'), "driver", "USB001"}));
    EXPECT_TRUE(CLocalFile::FileSetFits(std::string(160, 'a') + "/", "Shop"));
    EXPECT_FALSE(CLocalFile::FileSetFits(std::string(166, 'a') + "/", "Shop"));

    // A failed save names the path and keeps the record in memory.
    std::tie(local.paths[9], local.currentRecord) = std::tuple{dir.file("no-such-folder/LocalFileNames.plf"), 5};
    EXPECT_FALSE(local.Save());
    const auto shown = prompt.take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Unable to save or create file:'" + local.paths[9] + "'\n\nIn: CLocalFile::Save()\n\nError: ", 0),
              0u);
    EXPECT_EQ(local.currentRecord, 5u);
    EXPECT_FALSE(local.SetFileSet(dir.path(), "Other"));
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Unable to save file:LocalFileNames.plf"});
}

TEST_F(CLocalFileTest, DamagedOrForeignRecordsAndHeadersEndTheStartWithoutWriting)
{
    EXPECT_TRUE(CheckLocalFileVersion(local));  // a missing record passes
    // A record cut short or of another version: the start ends with the
    // message, and the record is left as it is.
    auto version = [](std::uint32_t v) {
        std::vector<std::uint8_t> bytes(CLocalFile::kRecordSize, 0);
        codec::putU32(bytes.data(), 0, v);
        return bytes;
    };
    const std::pair<std::vector<std::uint8_t>, std::string> records[] = {
        {std::vector<std::uint8_t>(100, 7), "LocalFileNames.plf is damaged: 100 of its 2584 bytes"},
        {version(3), "LocalFileNames.plf file version incompatable.\n\nOld version: 3\nNew version: 4\n\n"},
        {version(5), "LocalFileNames.plf file version incompatable.\n\nOld version: 5\nNew version: 4\n\n"}};
    for (const auto& [bytes, message] : records) {
        writeBytes(dir.file("LocalFileNames.plf"), bytes);
        prompt.take();
        EXPECT_TRUE(CLocalFile(dir.path()).Load());
        EXPECT_FALSE(CheckLocalFileVersion(CLocalFile(dir.path())));
        const auto shown = prompt.take();
        ASSERT_FALSE(shown.empty());
        EXPECT_NE(shown.back().find(message), std::string::npos) << shown.back();
        EXPECT_EQ(record(), bytes);
    }

    // The header: none yet passes; another version or too short is refused.
    std::remove(dir.file("LocalFileNames.plf").c_str());
    CLocalFile start(dir.path());
    ASSERT_FALSE(start.Load());
    EXPECT_TRUE(CheckHeaderVersion(start));
    auto bytes = headerBytes(4.5f);
    writeBytes(dir.file("Retail.pos"), bytes);
    prompt.take();
    EXPECT_FALSE(CheckHeaderVersion(start));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].rfind("File version incompatable.\n\nOld version:  4.50\nNew version:  4.60\n\n", 0), 0u);
    EXPECT_EQ(readBytes(dir.file("Retail.pos")), bytes);
    bytes.resize(200);
    writeBytes(dir.file("Retail.pos"), bytes);
    EXPECT_FALSE(CheckHeaderVersion(start));
    EXPECT_TRUE(prompt.saw("only 200 of its 4836 bytes"));
    EXPECT_EQ(fileSize(dir.file("Retail.pos")), 200);

    // A header that cannot be opened falls back to the default set.
    start.paths[0] = dir.file("gone/Main.pos");
    std::remove(dir.file("Retail.pos").c_str());
    SalesFileHeader h;
    EXPECT_TRUE(OpenHeaderWithFallback(start, h));
    EXPECT_EQ(start.paths[0], "Retail.pos");
    EXPECT_EQ(fileSize(dir.file("Retail.pos")), 4916);
}

// Switching sets is driven through the File menu in the window tests; here
// the choices refused and how a chosen path splits.
TEST_F(CLocalFileTest, AChosenFileSetIsRefusedWhenItWouldOverwriteDoesNotFitOrIsDamaged)
{
    TempDir data;
    FileSetName name;
    ASSERT_TRUE(CheckFileSetChoice(data.file("Shop2.pos"), false, name));
    EXPECT_EQ((std::pair{name.folder, name.baseName}), (std::pair{data.path(), std::string("Shop2")}));

    // "New..." never overwrites a store's data; a name too long for the slots,
    // a damaged or a foreign header is refused.
    writeBytes(data.file("Shop2.pos"), headerBytes(4.6f, "Shop Two"));
    EXPECT_FALSE(CheckFileSetChoice(data.file("Shop2.pos"), true, name));
    EXPECT_TRUE(prompt.saw("A file set named \"Shop2\" already exists"));
    EXPECT_EQ(readBytes(data.file("Shop2.pos")), headerBytes(4.6f, "Shop Two"));
    EXPECT_TRUE(CheckFileSetChoice(data.file("Shop2.pos"), false, name));
    EXPECT_FALSE(CheckFileSetChoice(data.path() + std::string(170, 'f') + "/Shop.pos", false, name));
    EXPECT_TRUE(prompt.saw("The path is too long for this register"));
    writeBytes(data.file("Short.pos"), std::vector<std::uint8_t>(50, 0));
    prompt.take();
    EXPECT_FALSE(CheckFileSetChoice(data.file("Short.pos"), false, name));
    EXPECT_TRUE(prompt.saw("damaged"));
    writeBytes(data.file("Old.pos"), headerBytes(3.0f));
    EXPECT_FALSE(CheckFileSetChoice(data.file("Old.pos"), false, name));
    EXPECT_TRUE(prompt.saw("File version incompatable."));
    EXPECT_EQ(SplitFileSetPath("/a/b/Shop.v2.pos").baseName, "Shop.v2");
    const FileSetName bare = SplitFileSetPath("/a/b/Shop");
    EXPECT_EQ((std::pair{bare.folder, bare.baseName}), (std::pair{std::string("/a/b/"), std::string("Shop")}));
}
