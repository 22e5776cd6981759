#include "ByteCodec.h"
#include "CLocalFile.h"
#include "ListFiles.h"
#include "RecordingPrompt.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
using Names = std::vector<std::string>;

std::string nextAfter(const CLocalFile& local, std::string name)
{
    NextCashier(local, name);
    return name;
}

void addCashiers(const CLocalFile& local, std::initializer_list<CashierRecord> cashiers)
{
    for (const auto& c : cashiers)
        ASSERT_EQ(AppendCashier(local, c), 0);
}
}  // namespace

TEST(ListFiles, CashierFileAppendReplaceDelete)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Cashiers");
    EXPECT_TRUE(FillCashierBox(local).empty());
    EXPECT_EQ(ReplaceCashier(local, 0, {"X", ""}), ChangeResult::Failed);  // no file
    EXPECT_EQ(DeleteCashier(local, "X"), ChangeResult::Failed);

    addCashiers(local, {{"John", "secret"}});
    auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 56u);
    EXPECT_EQ(codec::getU32(bytes.data(), 0), 1u);
    EXPECT_EQ(codec::getF32(bytes.data(), 4), 1.1f);
    EXPECT_EQ(codec::getText(bytes.data(), 8, 24), "John");
    EXPECT_EQ(codec::getText(bytes.data(), 32, 24), "secret");

    addCashiers(local, {{"Mary", "m1"}, {"Pete", ""}});
    EXPECT_EQ(ListCashiers(local), (TextRows{{"John", "secret", "0"}, {"Mary", "m1", "1"}, {"Pete", "", "2"}}));
    EXPECT_EQ(ReplaceCashier(local, 3, {"Past", "end"}), ChangeResult::NotFound);
    EXPECT_EQ(fileSize(path), 8 + 3 * 48);
    EXPECT_EQ(ReplaceCashier(local, 2, {"Peter", "pp"}), ChangeResult::Done);

    EXPECT_EQ(DeleteCashier(local, "MARY"), ChangeResult::Done);
    EXPECT_EQ(FillCashierBox(local), (Names{"John", "Peter"}));
    EXPECT_EQ(codec::getU32(readBytes(path).data(), 0), 2u);
    EXPECT_EQ(DeleteCashier(local, "Mary"), ChangeResult::NotFound);
    EXPECT_EQ(DeleteCashier(local, "PETER"), ChangeResult::Done);  // the last one: nothing moves
    EXPECT_EQ(ListCashiers(local), (TextRows{{"John", "secret", "0"}}));
}

TEST(ListFiles, CashierPasswordsAndNextCashier)
{
    TempDir dir;
    CLocalFile local(dir.path());
    EXPECT_EQ(nextAfter(local, "John"), "John");  // no file: unchanged
    EXPECT_FALSE(CheckCashierPassword(local, "John", ""));

    const std::string longPw = "abcdefghijklmnopqrstuvw";  // 23 characters, the most a field holds
    addCashiers(local, {{"John", "Secret"}, {"Mary", longPw}, {"Ann", ""}, {"Mary", "other"}});
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

TEST(ListFiles, SalespeopleAndTaxTable)
{
    TempDir dir;
    CLocalFile local(dir.path());
    ASSERT_EQ(AppendSalesperson(local, {"Sam"}), 0);
    auto bytes = readBytes(local.GetPath("Sales People"));
    ASSERT_EQ(bytes.size(), 4u + 24u);
    EXPECT_EQ(codec::getU16(bytes.data(), 0), 2);
    EXPECT_EQ(codec::getI16(bytes.data(), 2), 1);
    ASSERT_EQ(AppendSalesperson(local, {"Sue"}), 0);
    ASSERT_EQ(AppendSalesperson(local, {"Sid"}), 0);
    EXPECT_EQ(ReplaceSalesperson(local, 0, {"Samuel"}), ChangeResult::Done);
    EXPECT_EQ(DeleteSalesperson(local, "sue"), ChangeResult::Done);
    EXPECT_EQ(ListSalespeople(local), (TextRows{{"Samuel", "0"}, {"Sid", "1"}}));

    EXPECT_EQ(GetDefaultZone(local), "");
    ASSERT_EQ(AppendTaxZone(local, {"City", 7.5f, 1.25f}), 0);
    bytes = readBytes(local.GetPath("Tax Table"));
    ASSERT_EQ(bytes.size(), 28u + 32u);
    EXPECT_EQ(codec::getU16(bytes.data(), 0), 2);
    EXPECT_EQ(codec::getI16(bytes.data(), 2), 1);
    ASSERT_EQ(AppendTaxZone(local, {"county", 6.0f, 0.0f}), 0);
    ASSERT_EQ(AppendTaxZone(local, {"County", 5.0f, 0.5f}), 0);
    ASSERT_EQ(SetDefaultZone(local, "County"), 0);
    EXPECT_EQ(GetDefaultZone(local), "County");
    EXPECT_EQ(codec::getI16(readBytes(local.GetPath("Tax Table")).data(), 2), 3);  // count kept
    EXPECT_EQ(ListTaxTable(local), (TextRows{{"City", "7.50", "1.25"}, {"county", "6.00", "0.00"},
                                            {"County", "5.00", "0.50"}}));
    TaxTableRecord t;
    ASSERT_TRUE(FindTaxZone(local, "County", t));  // case counts in the rate lookup
    EXPECT_EQ(t.tax1, 5.0f);
    EXPECT_FALSE(FindTaxZone(local, "COUNTY", t));
    EXPECT_EQ(DeleteTaxZone(local, "COUNTY"), ChangeResult::Done);  // deletion ignores case: the first
    EXPECT_EQ(FillTaxBox(local), (Names{"City", "County"}));
}

TEST(ListFiles, TermsIdsNamesAndDeletion)
{
    TempDir dir;
    CLocalFile local(dir.path());
    RecordingPrompt prompt;
    EXPECT_EQ(FindTermsName(local, 0), "");  // no file, and none is made
    EXPECT_EQ(DeleteTerms(local, 3), ChangeResult::Failed);
    EXPECT_EQ(prompt.messages, (Names{"Terms file not found."}));

    EXPECT_EQ(FillTermsBox(local), (Names{"COD", "NET 30"}));
    auto bytes = readBytes(local.GetPath("Terms"));
    ASSERT_EQ(bytes.size(), 4u + 2 * 22u);
    EXPECT_EQ(codec::getI16(bytes.data(), 0), 2);
    EXPECT_EQ(bytes[2], 2);
    EXPECT_EQ(bytes[4 + 22], 1);
    EXPECT_EQ(codec::getI16(bytes.data(), 4 + 22 + 4), 30);

    TermsRecord t;
    t.discountPercent = 2;
    t.discountDays = 10;
    t.netDays = 30;
    t.name = "typed";
    ASSERT_EQ(AppendTerms(local, t), 0);
    EXPECT_EQ(t.id, 2);
    EXPECT_EQ(t.name, "2/10 NET 30");
    TermsRecord net45;
    net45.netDays = 45;
    ASSERT_EQ(AppendTerms(local, net45), 0);
    EXPECT_EQ(net45.id, 3);
    EXPECT_EQ(FindTermsName(local, 3), "NET 45");
    EXPECT_EQ(FindTermsName(local, 9), "");
    TermsRecord got;
    got.netDays = 99;
    EXPECT_FALSE(GetTerms(local, 9, got));
    EXPECT_EQ(got.netDays, 99);
    ASSERT_TRUE(GetTerms(local, 2, got));
    EXPECT_EQ(got.discountDays, 10);

    EXPECT_EQ(DeleteTerms(local, 2), ChangeResult::Done);
    const auto list = ListTerms(local);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2].id, 3);  // the last took the deleted one's place
    EXPECT_EQ(list[2].name, "NET 45");
    EXPECT_EQ(DeleteTerms(local, 2), ChangeResult::NotFound);
    EXPECT_EQ(prompt.messages.size(), 1u);
    TermsRecord next;
    ASSERT_EQ(AppendTerms(local, next), 0);
    EXPECT_EQ(next.id, 4);  // ids are not given twice while the counter lasts
}

TEST(ListFiles, TermsCounterWrapSkipsIdsInUse)
{
    TempDir dir;
    CLocalFile local(dir.path());
    ASSERT_EQ(ListTerms(local).size(), 2u);
    auto bytes = readBytes(local.GetPath("Terms"));
    bytes[2] = 255;
    writeBytes(local.GetPath("Terms"), bytes);
    TermsRecord a;
    ASSERT_EQ(AppendTerms(local, a), 0);
    EXPECT_EQ(a.id, 255);
    EXPECT_EQ(readBytes(local.GetPath("Terms"))[2], 0);  // the counter wrapped
    TermsRecord b;
    b.netDays = 60;
    ASSERT_EQ(AppendTerms(local, b), 0);
    EXPECT_EQ(b.id, 2);  // 0 and 1 are COD and NET 30
    EXPECT_EQ(FindTermsName(local, 0), "COD");
    EXPECT_EQ(FindTermsName(local, 2), "NET 60");
}

TEST(ListFiles, DefaultsKeepBuiltInsWhereTheFileHasNone)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Defaults");
    DefaultsRecord builtIn;
    builtIn.words[1] = 80;
    builtIn.words[DefaultsRecord::kNewProductTouch] = 1;
    DefaultsRecord r = builtIn;
    ASSERT_EQ(ReadDefaults(local, r), 0);
    EXPECT_EQ(r.words, builtIn.words);
    ASSERT_EQ(fileSize(path), 416);
    EXPECT_EQ(codec::getU32(readBytes(path).data(), 4), 80u);

    r.words[1] = 120;
    r.words[DefaultsRecord::kNewProductMode] = 0x00010002;
    ASSERT_EQ(WriteDefaults(local, r), 0);
    DefaultsRecord again = builtIn;
    ASSERT_EQ(ReadDefaults(local, again), 0);
    EXPECT_EQ(again.words[1], 120u);
    EXPECT_EQ(again.words[DefaultsRecord::kNewProductMode], 0x00010002u);

    // A file cut in the middle of word 2: words 0 and 1 come from it.
    auto bytes = readBytes(path);
    bytes.resize(10);
    writeBytes(path, bytes);
    DefaultsRecord cut = builtIn;
    cut.words[2] = 33;
    ASSERT_EQ(ReadDefaults(local, cut), 0);
    EXPECT_EQ(cut.words[1], 120u);
    EXPECT_EQ(cut.words[2], 33u);
    EXPECT_EQ(cut.words[DefaultsRecord::kNewProductTouch], 1u);
}
