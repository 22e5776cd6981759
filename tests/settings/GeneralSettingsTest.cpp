#include "CLocalFile.h"
#include "GeneralSettings.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(GeneralSettings, TypedNumbers)
{
    struct Case {
        const char* text;
        int fontSize;
        double number;
    } const cases[] = {
        {"18.7", 18, 18.7}, {"24", 24, 24},   {"0", 6, 0},       {"300", 128, 300},
        {"abc", 6, 0},      {"12.5x", 12, 12.5}, {"-5", 6, -5}, {"", 6, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RollFontSizeFrom(c.text), c.fontSize) << c.text;
        EXPECT_DOUBLE_EQ(NumberFrom(c.text), c.number) << c.text;
    }
}

TEST(GeneralSettings, RulesInTheirOrder)
{
    struct Case {
        bool mustAddress, showAddress, mustCash, showChange;
        const char* start;  // of the message; empty when the rules hold
    } const cases[] = {
        {false, false, false, false, ""},
        {true, true, true, true, ""},
        {true, false, false, true, "When the 'Must enter Customer Address'"},
        {true, false, true, false, "When the 'Must enter Customer Address'"},
        {false, true, true, false, "When the 'Must enter Cash Paid'"},
    };
    for (const Case& c : cases) {
        SalesFileHeader h;
        h.mustEnterAddress = c.mustAddress;
        h.showMailingAddress = c.showAddress;
        h.mustEnterCashPaid = c.mustCash;
        h.showChangeCalc = c.showChange;
        EXPECT_EQ(GeneralRuleMessage(h).rfind(c.start, 0), 0u) << c.start;
        EXPECT_EQ(GeneralRuleMessage(h).empty(), *c.start == '\0');
    }
}

TEST(GeneralSettings, SaveKeepsWhatAnotherRegisterStoredMeanwhile)
{
    TempDir dir;
    CLocalFile local(dir.path());
    ASSERT_FALSE(local.Load());
    SalesFileHeader mine;
    ASSERT_EQ(OpenOrCreateHeader(local, mine), 0);
    GeneralSettings s = GeneralSettings::From(mine, local);

    SalesFileHeader other;
    ASSERT_EQ(ReadHeader(local, other), 0);
    other.todaysNotes = "Changed elsewhere\r\n";
    other.showCents = 0;
    ASSERT_EQ(WriteHeader(local, other), 0);

    s.flags[0] = false;  // must select cashier
    s.rollFontSize = "18.7";
    s.drawerMethod = 2;
    s.drawerCommand = "1B700019FA12345";
    s.packingSlips = 2;
    ASSERT_EQ(SaveGeneralSettings(local, mine, s), 0);

    SalesFileHeader stored;
    ASSERT_EQ(ReadHeader(local, stored), 0);
    EXPECT_EQ(stored.todaysNotes, "Changed elsewhere\r\n");
    EXPECT_EQ(stored.mustSelectCashier, 0u);
    EXPECT_EQ(stored.rollFontSize, 18);
    EXPECT_EQ(stored.showCents, 1u);  // the window's own field, as it showed it
    CLocalFile reloaded(dir.path());
    ASSERT_FALSE(reloaded.Load());
    EXPECT_EQ(reloaded.drawerMethod, 2);
    EXPECT_EQ(reloaded.drawerCommand, "1B700019FA1");
    EXPECT_EQ(reloaded.packingSlips, 2);
}

}  // namespace
