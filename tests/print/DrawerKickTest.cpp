#include "print/DrawerKick.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DrawerKick, BytesForEachMethodAndCommand)
{
    struct Case {
        int method;
        const char* command;
        Bytes bytes;
    } const cases[] = {
        {0, "1B700019FA", {}},
        {1, "", {0x1B, 0x70, 0x00, 0x19, 0xFA}},
        {1, "ignored", {0x1B, 0x70, 0x00, 0x19, 0xFA}},
        {2, "1b 70 01 32", {0x1B, 0x70, 0x01, 0x32}},
        {2, "07", {0x07}},
        {2, "1B7", {'1', 'B', '7'}},        // odd count: sent as typed
        {2, "OPEN", {'O', 'P', 'E', 'N'}},  // not hexadecimal: sent as typed
        {2, "", {}},
        {3, "1B", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DrawerKickBytes(c.method, c.command), c.bytes) << c.method << " " << c.command;
}

}  // namespace
