#include "platform/RecordText.h"

#include <gtest/gtest.h>

TEST(RecordText, EveryByteRoundTripsAndQtTextIsCutByCharacters)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(char(b));
    const QString shown = RecordText::toQt(all);
    ASSERT_EQ(shown.size(), 255);
    EXPECT_EQ(RecordText::fromQt(shown), all);

    struct Case { QString text; std::size_t max; std::string bytes; };
    const Case cases[] = {
        {QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC" "5"), 50, "Caf\xE9 \x80" "5"},   // é and the euro sign
        {QString::fromUtf8("\xE2\x80\x9CQuoted\xE2\x80\x9D"), 50, "\x93Quoted\x94"},
        {QString::fromUtf8("\xE6\x97\xA5\xF0\x9F\x98\x80x"), 50, "??x"},               // not in the page; one '?' per character
        {QString::fromUtf8("\xC3\xA9t\xC3\xA9s"), 3, "\xE9t\xE9"},                      // cut after three characters
        {QString("ab") + QChar(0) + "cd", 50, "ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordText::fromQt(c.text, c.max), c.bytes) << c.text.toStdString();
    EXPECT_EQ(RecordText::toQt(std::string("ab\0cd", 5)), "ab");
}
