#include "ByteCodec.h"
#include "CLocalFile.h"
#include "FileSetStartup.h"
#include "RecordingPrompt.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::uint8_t> localRecordOfVersion(std::uint32_t version)
{
    std::vector<std::uint8_t> bytes(CLocalFile::kRecordSize, 0);
    codec::putU32(bytes.data(), 0, version);
    return bytes;
}
}  // namespace

TEST(StartupChecks, LocalRecordOfAnotherVersionEndsWithoutWriting)
{
    for (std::uint32_t version : {3u, 5u}) {
        TempDir dir;
        RecordingPrompt prompt;
        const auto bytes = localRecordOfVersion(version);
        writeBytes(dir.file("LocalFileNames.plf"), bytes);
        CLocalFile local(dir.path());
        EXPECT_FALSE(CheckLocalFileVersion(local));
        ASSERT_EQ(prompt.messages.size(), 1u);
        const std::string expected = "LocalFileNames.plf file version incompatable.\n\nOld version: " +
                                     std::to_string(version) + "\nNew version: 4\n\n";
        EXPECT_EQ(prompt.messages[0].rfind(expected, 0), 0u) << prompt.messages[0];
        EXPECT_NE(prompt.messages[0].find("Or, move this new version to a new folder.\n\n"), std::string::npos);
        EXPECT_EQ(readBytes(dir.file("LocalFileNames.plf")), bytes);
    }
    TempDir empty;
    RecordingPrompt prompt;
    EXPECT_TRUE(CheckLocalFileVersion(CLocalFile(empty.path())));  // a missing record passes
    writeBytes(empty.file("LocalFileNames.plf"), std::vector<std::uint8_t>(10, 4));
    EXPECT_FALSE(CheckLocalFileVersion(CLocalFile(empty.path())));
    EXPECT_TRUE(prompt.saw("LocalFileNames.plf is damaged: 10 of its 2584 bytes"));
}

TEST(StartupChecks, HeaderOfAnotherVersionOrTooShortEndsWithoutWriting)
{
    TempDir dir;
    RecordingPrompt prompt;
    CLocalFile local(dir.path());
    ASSERT_FALSE(local.Load());
    EXPECT_TRUE(CheckHeaderVersion(local));  // no header file yet: the check passes

    SalesFileHeader old;
    old.version = 4.5f;
    std::vector<std::uint8_t> bytes(SalesFileHeader::kFileSize, 0);
    old.encode(bytes.data());
    writeBytes(dir.file("Retail.pos"), bytes);
    EXPECT_FALSE(CheckHeaderVersion(local));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].rfind("File version incompatable.\n\nOld version:  4.50\nNew version:  4.60\n\n", 0), 0u)
        << prompt.messages[0];
    EXPECT_EQ(readBytes(dir.file("Retail.pos")), bytes);

    bytes.resize(200);
    writeBytes(dir.file("Retail.pos"), bytes);
    EXPECT_FALSE(CheckHeaderVersion(local));
    EXPECT_TRUE(prompt.saw("only 200 of its 4836 bytes"));
    EXPECT_EQ(fileSize(dir.file("Retail.pos")), 200);
}

TEST(StartupChecks, HeaderThatCannotBeOpenedFallsBackToTheDefaultSet)
{
    TempDir dir;
    CLocalFile local(dir.path());
    ASSERT_FALSE(local.Load());
    local.paths[0] = dir.file("gone/Main.pos");
    SalesFileHeader h;
    EXPECT_TRUE(OpenHeaderWithFallback(local, h));
    EXPECT_EQ(local.paths[0], "Retail.pos");
    EXPECT_EQ(fileSize(dir.file("Retail.pos")), 4916);
}

TEST(FileSetChoice, ConnectToANewNameStartsAFreshSetWithDefaults)
{
    TempDir dir;
    TempDir data;
    RecordingPrompt prompt;
    CLocalFile local(dir.path());
    ASSERT_FALSE(local.Load());
    SalesFileHeader h;
    h.companyName = "Old Store";

    FileSetName name;
    ASSERT_TRUE(CheckFileSetChoice(data.file("Shop2.pos"), false, name));
    EXPECT_EQ(name.folder, data.path());
    EXPECT_EQ(name.baseName, "Shop2");
    ASSERT_TRUE(SwitchFileSet(local, h, name));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(fileSize(data.file("Shop2.pos")), 4916);
    EXPECT_EQ(h.companyName, "");  // the new set starts with the default settings
    CLocalFile reloaded(dir.path());
    ASSERT_FALSE(reloaded.Load());
    EXPECT_EQ(reloaded.GetPath("Head"), data.file("Shop2.pos"));
    EXPECT_EQ(reloaded.GetPath("Invoices"), data.file("Shop2-Invs.pdb"));
    EXPECT_EQ(reloaded.GetPath("Payments"), data.file("Shop2-Pymnt.pdb"));

    // Connecting to an existing set reads its settings.
    SalesFileHeader stored;
    stored.companyName = "Shop Two";
    ASSERT_EQ(WriteHeader(reloaded, stored), 0);
    TempDir register2;
    CLocalFile other(register2.path());
    ASSERT_FALSE(other.Load());
    SalesFileHeader mine;
    ASSERT_TRUE(CheckFileSetChoice(data.file("Shop2.pos"), false, name));
    ASSERT_TRUE(SwitchFileSet(other, mine, name));
    EXPECT_EQ(mine.companyName, "Shop Two");
}

TEST(FileSetChoice, RefusalsKeepTheCurrentSet)
{
    TempDir data;
    RecordingPrompt prompt;
    FileSetName name;

    // "New..." never overwrites a store's data.
    SalesFileHeader existing;
    existing.companyName = "Keep Me";
    std::vector<std::uint8_t> bytes(SalesFileHeader::kFileSize, 0);
    existing.encode(bytes.data());
    writeBytes(data.file("Main.pos"), bytes);
    EXPECT_FALSE(CheckFileSetChoice(data.file("Main.pos"), true, name));
    EXPECT_TRUE(prompt.saw("A file set named \"Main\" already exists"));
    EXPECT_EQ(readBytes(data.file("Main.pos")), bytes);
    EXPECT_TRUE(CheckFileSetChoice(data.file("Main.pos"), false, name));

    // Too long for the slots.
    prompt.messages.clear();
    const std::string longFolder = data.path() + std::string(170, 'f') + "/";
    EXPECT_FALSE(CheckFileSetChoice(longFolder + "Shop.pos", false, name));
    EXPECT_TRUE(prompt.saw("The path is too long for this register"));

    // A damaged or foreign header is not taken over.
    prompt.messages.clear();
    writeBytes(data.file("Short.pos"), std::vector<std::uint8_t>(50, 0));
    EXPECT_FALSE(CheckFileSetChoice(data.file("Short.pos"), false, name));
    EXPECT_TRUE(prompt.saw("damaged"));
    SalesFileHeader v3;
    v3.version = 3.0f;
    v3.encode(bytes.data());
    writeBytes(data.file("Old.pos"), bytes);
    EXPECT_FALSE(CheckFileSetChoice(data.file("Old.pos"), false, name));
    EXPECT_TRUE(prompt.saw("File version incompatable."));

    EXPECT_EQ(SplitFileSetPath("/a/b/Shop.v2.pos").baseName, "Shop.v2");
    EXPECT_EQ(SplitFileSetPath("/a/b/Shop").baseName, "Shop");
    EXPECT_EQ(SplitFileSetPath("/a/b/Shop").folder, "/a/b/");
}
