#include "ByteCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ByteCodec, NumbersAreLittleEndianAtTheirOffsets)
{
    std::uint8_t buf[32] = {};
    codec::putU16(buf, 1, 0x1234);
    codec::putI32(buf, 3, -2);
    codec::putF32(buf, 7, 4.6f);
    codec::putF64(buf, 11, 1.5);
    codec::putI16(buf, 19, -300);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(buf[1], 0x34);
    EXPECT_EQ(buf[2], 0x12);
    EXPECT_EQ(buf[3], 0xFE);
    EXPECT_EQ(buf[6], 0xFF);
    // 4.6f is 0x40933333
    EXPECT_EQ(buf[7], 0x33);
    EXPECT_EQ(buf[10], 0x40);
    // 1.5 is 0x3FF8000000000000
    EXPECT_EQ(buf[17], 0xF8);
    EXPECT_EQ(buf[18], 0x3F);
    EXPECT_EQ(codec::getU16(buf, 1), 0x1234);
    EXPECT_EQ(codec::getI32(buf, 3), -2);
    EXPECT_EQ(codec::getF32(buf, 7), 4.6f);
    EXPECT_EQ(codec::getF64(buf, 11), 1.5);
    EXPECT_EQ(codec::getI16(buf, 19), -300);
    EXPECT_EQ(buf[21], 0);

    codec::putU32(buf, 0, 0xDEADBEEF);
    EXPECT_EQ(codec::getU32(buf, 0), 0xDEADBEEFu);
    codec::putF32(buf, 0, std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(std::isnan(codec::getF32(buf, 0)));
}

TEST(ByteCodec, TextFieldsHoldWidthLessOneAndAreZeroFilled)
{
    std::uint8_t buf[16];
    std::fill(std::begin(buf), std::end(buf), 0xAA);
    codec::putText(buf, 2, 6, "abcdefgh");
    EXPECT_EQ(codec::getText(buf, 2, 6), "abcde");
    EXPECT_EQ(buf[7], 0);     // the NUL
    EXPECT_EQ(buf[8], 0xAA);  // nothing written past the slot
    EXPECT_EQ(buf[1], 0xAA);

    codec::putText(buf, 2, 6, "ab");
    EXPECT_EQ(codec::getText(buf, 2, 6), "ab");
    for (int i = 4; i < 8; ++i)
        EXPECT_EQ(buf[i], 0) << i;

    // A slot whose NUL is missing (a damaged record) is read to its end only.
    std::fill(std::begin(buf), std::end(buf), 'x');
    EXPECT_EQ(codec::getText(buf, 0, 4), "xxxx");
    EXPECT_EQ(codec::fitText("xxxx", 4), "xxx");
    EXPECT_EQ(codec::fitText(std::string("a\0b", 3), 10), "a");
    EXPECT_EQ(codec::fitText("abc", 0), "");
}
