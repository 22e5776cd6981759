#include "storage/records/ByteCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

TEST(ByteCodec, NumbersAreLittleEndianAndFittedTextStopsAtWidthOrNul)
{
    std::uint8_t buf[24] = {};
    codec::putU16(buf, 1, 0x1234);
    codec::putI32(buf, 3, -2);
    codec::putF32(buf, 7, 4.6f);   // 0x40933333
    codec::putF64(buf, 11, 1.5);   // 0x3FF8000000000000
    codec::putI16(buf, 19, -300);  // 0xFED4
    const std::vector<std::uint8_t> want{0, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x33, 0x33, 0x93, 0x40, 0,
                                         0, 0,    0,    0,    0,    0xF8, 0x3F, 0xD4, 0xFE, 0,    0,    0};
    EXPECT_EQ(std::vector<std::uint8_t>(buf, buf + 24), want);
    EXPECT_EQ((std::tuple{codec::getU16(buf, 1), codec::getI32(buf, 3), codec::getF32(buf, 7), codec::getF64(buf, 11),
                          codec::getI16(buf, 19)}),
              (std::tuple<std::uint16_t, std::int32_t, float, double, std::int16_t>{0x1234, -2, 4.6f, 1.5, -300}));

    codec::putU32(buf, 0, 0xDEADBEEF);
    EXPECT_EQ(codec::getU32(buf, 0), 0xDEADBEEFu);
    codec::putF32(buf, 0, std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(std::isnan(codec::getF32(buf, 0)));

    // Cutting and filling with NULs is checked with every record's layout. A
    // slot whose NUL is missing (a damaged record) is read to its end only.
    std::fill(std::begin(buf), std::end(buf), 'x');
    EXPECT_EQ(codec::getText(buf, 0, 4), "xxxx");
    EXPECT_EQ(codec::fitText("xxxx", 4), "xxx");
    EXPECT_EQ(codec::fitText(std::string("a\0b", 3), 10), "a");
    EXPECT_EQ(codec::fitText("abc", 0), "");
}
