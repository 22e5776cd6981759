// Names of the grouped reports are found in any case only when case is ignored;
// only ASCII capitals fold (not their neighbours, not bytes past ASCII).
#include "reports/grouped/GroupedShapes.h"

#include <gtest/gtest.h>

TEST(NameIndex, FindsANameInAnyCaseOnlyWhenCaseIsIgnored)
{
    const std::tuple<const char*, const char*, bool> table[] = {  // stored, asked, found ignoring case
        {"Acme Supply", "ACME SUPPLY", true}, {"Garden & Patio Furniture", "garden & patio furniturE", true},
        {"@[`{", "`{@[", false},              {"Tools", "tOOLS", true},
        {"\xC4rger", "\xE4rger", false},      {"Hardware", "Hardwar", false},
    };
    for (const auto& [stored, asked, found] : table)
        for (const bool ignoreCase : {true, false}) {
            grouped::NameIndex index(ignoreCase);
            index.Add("Other", 0);
            index.Add(stored, 7);
            index.Add(stored, 9);  // a name listed twice is two groups
            EXPECT_EQ(index.Find(asked).size(), ignoreCase && found ? 2u : 0u) << stored << " " << ignoreCase;
            EXPECT_EQ(index.Find(stored).size(), 2u) << stored;
        }
}
