// Names looked up for the grouped reports: found in any case when case is
// ignored (capitals only: the bytes around them and past ASCII are kept), and
// only as stored when it is not.
#include "reports/grouped/GroupedShapes.h"

#include <gtest/gtest.h>

namespace {

TEST(NameIndex, FindsANameInAnyCaseOnlyWhenCaseIsIgnored)
{
    struct Case {
        const char* stored;
        const char* asked;
        bool ignoringCase, exactly;
    };
    const Case table[] = {
        {"Acme Supply", "ACME SUPPLY", true, false},
        {"Garden & Patio Furniture", "garden & patio furniturE", true, false},
        {"@[`{", "@[`{", true, true},
        {"@[`{", "`{@[", false, false},  // the neighbours of the capitals are no capitals
        {"Z", "z", true, false},
        {"Tools", "tOOLS", true, false},
        {"Tools", "Tool", false, false},
        {"\xC4rger", "\xE4rger", false, false},  // bytes past ASCII keep their case
        {"Hardware", "Hardwar", false, false},
        {"Hardware", "Hardware ", false, false},
        {"", "", true, true},
    };
    for (const Case& c : table) {
        for (const bool ignoreCase : {true, false}) {
            grouped::NameIndex index(ignoreCase);
            index.Add("Other", 0);
            index.Add(c.stored, 7);
            index.Add(c.stored, 9);  // a name listed twice is two groups
            const auto found = index.Find(c.asked);
            const bool expected = ignoreCase ? c.ignoringCase : c.exactly;
            EXPECT_EQ(found.size(), expected ? 2u : 0u) << c.stored << " / " << c.asked << " " << ignoreCase;
            if (expected && found.size() == 2) {
                EXPECT_EQ(found[0] + found[1], 16u) << c.stored;
            }
        }
    }
}

}  // namespace
