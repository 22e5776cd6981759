#include "FileSetTest.h"
#include "storage/files/ListFiles.h"
#include "storage/records/ByteCodec.h"

#include <gtest/gtest.h>

namespace {
using Names = std::vector<std::string>;

std::string nextAfter(const CLocalFile& local, std::string name)
{
    NextCashier(local, name);
    return name;
}
}  // namespace

struct ListFiles : FileSetTest {};

TEST_F(ListFiles, CashierPasswordsAndNextCashier)
{
    EXPECT_EQ(nextAfter(local, "John"), "John");  // no file: unchanged
    EXPECT_FALSE(CheckCashierPassword(local, "John", ""));

    const std::string longPw = "abcdefghijklmnopqrstuvw";  // 23 characters, the most a field holds
    for (const CashierRecord& c : {CashierRecord{"John", "Secret"}, {"Mary", longPw}, {"Ann", ""}, {"Mary", "other"}})
        ASSERT_EQ(AppendCashier(local, c), 0);
    // Names and passwords match exactly; a longer password is not cut to the
    // stored one; the second Mary's password works too.
    const std::tuple<std::string, std::string, bool> checks[] = {
        {"John", "Secret", true},   {"john", "Secret", false}, {"John", "secret", false},
        {"John", "Secre", false},   {"John", "Secret ", false}, {"John", std::string("Secret\0x", 8), false},
        {"Mary", longPw, true},     {"Mary", longPw + "x", false}, {"Mary", "other", true},
        {"Ann", "", true},          {"Ann", "x", false},       {"", "", false}};
    for (const auto& [name, pw, ok] : checks)
        EXPECT_EQ(CheckCashierPassword(local, name, pw), ok) << name << "/" << pw;

    // Bytes after the stored password's NUL (written by something else) do
    // not stop the right password from matching.
    auto bytes = readBytes(local.GetPath("Cashiers"));
    bytes[8 + 24 + 7] = 'Z';
    writeBytes(local.GetPath("Cashiers"), bytes);
    EXPECT_TRUE(CheckCashierPassword(local, "John", "Secret"));

    // The first Mary is taken; an unknown or empty name starts at the first.
    const std::pair<const char*, const char*> steps[] = {{"john", "Mary"}, {"Mary", "Ann"}, {"Nobody", "John"}, {"", "John"}};
    for (const auto& [from, to] : steps)
        EXPECT_EQ(nextAfter(local, from), to) << from;
    ASSERT_EQ(DeleteCashier(local, "Ann"), ChangeResult::Done);  // the second Mary moves last-but-one
    ASSERT_EQ(DeleteCashier(local, "mary"), ChangeResult::Done);
    EXPECT_EQ(FillCashierBox(local), (Names{"John", "Mary"}));
    EXPECT_EQ(nextAfter(local, "MARY"), "John");  // the remaining Mary is last: wraps to the first
}

TEST_F(ListFiles, TaxZonesAndTheDefaultZone)
{
    EXPECT_EQ(GetDefaultZone(local), "");
    for (const TaxTableRecord& t : {TaxTableRecord{"City", 7.5f, 1.25f}, {"county", 6.0f, 0.0f}, {"County", 5.0f, 0.5f}})
        ASSERT_EQ(AppendTaxZone(local, t), 0);
    ASSERT_EQ(SetDefaultZone(local, "County"), 0);
    EXPECT_EQ(GetDefaultZone(local), "County");
    const auto bytes = readBytes(local.GetPath("Tax Table"));
    EXPECT_EQ((std::pair{codec::getU16(bytes.data(), 0), codec::getI16(bytes.data(), 2)}), (std::pair<std::uint16_t, std::int16_t>{2, 3}));
    std::vector<std::tuple<std::string, float, float>> zones;
    for (const TaxTableRecord& t : ListTaxZones(local))
        zones.emplace_back(t.name, t.tax1, t.tax2);
    EXPECT_EQ(zones, (std::vector<std::tuple<std::string, float, float>>{{"City", 7.5f, 1.25f}, {"county", 6, 0}, {"County", 5, 0.5f}}));
    EXPECT_EQ(DeleteTaxZone(local, "COUNTY"), ChangeResult::Done);  // deletion ignores case: the first
    EXPECT_EQ(FillTaxBox(local), (Names{"City", "County"}));
}

TEST_F(ListFiles, TermsIdsNamesAndDeletion)
{
    EXPECT_EQ(FindTermsName(local, 0), "");  // no file, and none is made
    EXPECT_EQ(DeleteTerms(local, 3), ChangeResult::Failed);
    EXPECT_EQ(prompt.take(), (Names{"Terms file not found."}));

    const auto built = ListTerms(local);  // a missing file is made with COD and NET 30
    EXPECT_EQ((std::pair{built.size(), built.back().name}), (std::pair{std::size_t{2}, std::string("NET 30")}));
    auto bytes = readBytes(local.GetPath("Terms"));
    ASSERT_EQ(bytes.size(), 4u + 2 * 22u);
    EXPECT_EQ((std::vector<int>{codec::getI16(bytes.data(), 0), bytes[2], bytes[4 + 22], codec::getI16(bytes.data(), 30)}),
              (std::vector<int>{2, 2, 1, 30}));
    TermsRecord t;
    std::tie(t.discountPercent, t.discountDays, t.netDays, t.name) = std::tuple{2, 10, 30, "typed"};
    ASSERT_EQ(AppendTerms(local, t), 0);
    EXPECT_EQ((std::pair{t.id, t.name}), (std::pair{std::uint8_t{2}, std::string("2/10 NET 30")}));
    TermsRecord net45;
    net45.netDays = 45;
    ASSERT_EQ(AppendTerms(local, net45), 0);
    EXPECT_EQ((std::vector<std::string>{FindTermsName(local, 3), FindTermsName(local, 9)}), (Names{"NET 45", ""}));
    TermsRecord got;
    EXPECT_FALSE(GetTerms(local, 9, got));
    EXPECT_TRUE(GetTerms(local, 2, got) && got.discountDays == 10);
    EXPECT_EQ(DeleteTerms(local, 2), ChangeResult::Done);
    const auto list = ListTerms(local);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ((std::pair{list[2].id, list[2].name}), (std::pair{std::uint8_t{3}, std::string("NET 45")}));  // moved
    EXPECT_EQ(DeleteTerms(local, 2), ChangeResult::NotFound);
    EXPECT_TRUE(prompt.messages.empty());
    TermsRecord next, last;
    ASSERT_EQ(AppendTerms(local, next), 0);
    EXPECT_EQ(next.id, 4);  // ids are not given twice while the counter lasts

    // Once the id counter wraps, or points at an id in use (a damaged header),
    // new terms are refused: an old sale's id would name other terms.
    auto setCounter = [&](std::uint8_t id) {
        bytes = readBytes(local.GetPath("Terms"));
        bytes[2] = id;
        writeBytes(local.GetPath("Terms"), bytes);
    };
    setCounter(255);
    ASSERT_EQ(AppendTerms(local, last), 0);
    EXPECT_EQ((std::pair{last.id, readBytes(local.GetPath("Terms"))[2]}), (std::pair<std::uint8_t, std::uint8_t>{255, 0}));
    EXPECT_NE(AppendTerms(local, t), 0);
    setCounter(1);
    EXPECT_NE(AppendTerms(local, t), 0);
    EXPECT_EQ(ListTerms(local).size(), 5u);
    EXPECT_EQ(FindTermsName(local, 1), "NET 30");
}

TEST_F(ListFiles, DefaultsKeepBuiltInsWhereTheFileHasNone)
{
    const std::string path = local.GetPath("Defaults");
    DefaultsRecord builtIn;
    builtIn.words[1] = 80;
    builtIn.words[DefaultsRecord::kNewProductTouch] = 1;
    DefaultsRecord r = builtIn, cut = builtIn;
    ASSERT_EQ(ReadDefaults(local, r), 0);
    EXPECT_EQ(r.words, builtIn.words);
    ASSERT_EQ(fileSize(path), 416);
    EXPECT_EQ(codec::getU32(readBytes(path).data(), 4), 80u);
    r.words[1] = 120;
    ASSERT_EQ(WriteDefaults(local, r), 0);
    // A file cut in the middle of word 2: words 0 and 1 come from it.
    auto bytes = readBytes(path);
    bytes.resize(10);
    writeBytes(path, bytes);
    cut.words[2] = 33;
    ASSERT_EQ(ReadDefaults(local, cut), 0);
    EXPECT_EQ((std::vector<std::uint32_t>{cut.words[1], cut.words[2], cut.words[DefaultsRecord::kNewProductTouch]}),
              (std::vector<std::uint32_t>{120, 33, 1}));
}
