#include "settings/GeneralSettings.h"
#include "storage/files/SalesFileHeader.h"

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

}  // namespace
