#include "ByteCodec.h"
#include "CustomerRecord.h"
#include "VendorRecord.h"

#include <gtest/gtest.h>

#include <vector>

using codec::getF32;
using codec::getText;
using codec::getU16;
using codec::getU32;
using codec::getU8;

TEST(CustomerRecords, HeaderLayoutDefaultsAndRoundTrip)
{
    EXPECT_EQ(CustomerFileHeader::kSize, 236u);
    CustomerFileHeader fresh;
    std::vector<std::uint8_t> buf(236, 0xAA);
    fresh.encode(buf.data());
    EXPECT_EQ(getF32(buf.data(), 0), 1.3f);
    EXPECT_EQ(getU16(buf.data(), 4), 1);
    EXPECT_EQ(getU32(buf.data(), 8), 1u);
    const char* labels[] = {"Name",      "Company",   "Address",   "City, St, Zip", "Phone#", "Email",
                            "Tax ID#",   "Lic Date",  "Contact 1", "Contact 2",     "Contact 3", "Contact 4",
                            "CC #1",     "CC #2",     "CC #3",     "Notes"};
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(getText(buf.data(), 12 + 14 * i, 14), labels[i]) << i;

    CustomerFileHeader h;
    h.version = 2.5f;
    h.nextNumber = 0x1234;
    h.reserved6 = 0x5678;
    h.count = 0x01020304;
    for (std::size_t i = 0; i < 16; ++i)
        h.labels[i] = "L" + std::to_string(i) + "-abcdefghijklmn";  // longer than 13: cut
    h.encode(buf.data());
    EXPECT_EQ(buf[4], 0x34);
    EXPECT_EQ(buf[5], 0x12);
    EXPECT_EQ(getU16(buf.data(), 6), 0x5678);
    EXPECT_EQ(buf[8], 0x04);
    EXPECT_EQ(buf[11], 0x01);
    EXPECT_EQ(getText(buf.data(), 12 + 14 * 15, 14), "L15-abcdefghi");
    EXPECT_EQ(buf[235], 0);
    CustomerFileHeader back;
    back.decode(buf.data());
    EXPECT_EQ(back.version, 2.5f);
    EXPECT_EQ(back.nextNumber, 0x1234);
    EXPECT_EQ(back.count, 0x01020304u);
    EXPECT_EQ(back.labels[0], "L0-abcdefghij");
    EXPECT_EQ(back.labels[15], "L15-abcdefghi");
}

TEST(CustomerRecords, RecordFieldsSitAtTheirOffsets)
{
    EXPECT_EQ(CustomerRecord::kSize, 968u);
    CustomerRecord r;
    r.orderLimitOn = 1;
    r.priceLevel = 5;
    r.termsIndex = 7;
    r.customerNumber = 0xBEEF;
    r.taxZone = "Zone-ABCDEFGHIJKLMNOPQRSTUVWXYZ";  // 31 characters, 23 kept
    r.orderLimit = 1234.5f;
    for (std::size_t k = 0; k < 18; ++k)
        r.text[k] = "field" + std::to_string(k);
    r.text[CustomerRecord::kCard3] = std::string(50, 'c');
    r.notes = std::string(250, 'n');

    std::vector<std::uint8_t> buf(968, 0xAA);
    r.encode(buf.data());
    EXPECT_EQ(buf[0], 1);
    EXPECT_EQ(buf[1], 0);
    EXPECT_EQ(buf[2], 5);
    EXPECT_EQ(buf[3], 7);
    EXPECT_EQ(buf[4], 0xEF);
    EXPECT_EQ(buf[5], 0xBE);
    EXPECT_EQ(getText(buf.data(), 6, 24), "Zone-ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(buf[30], 0);
    EXPECT_EQ(buf[31], 0);
    EXPECT_EQ(getF32(buf.data(), 32), 1234.5f);
    for (std::size_t off = 36; off < 44; ++off)
        EXPECT_EQ(buf[off], 0) << off;
    const std::size_t textOffsets[] = {44,  84,  124, 164, 204, 244, 284, 324, 364,
                                       404, 444, 484, 524, 564, 604, 644, 684};
    for (std::size_t k = 0; k < 17; ++k)
        EXPECT_EQ(getText(buf.data(), textOffsets[k], 40), "field" + std::to_string(k)) << k;
    EXPECT_EQ(getText(buf.data(), 724, 40), std::string(39, 'c'));
    EXPECT_EQ(getText(buf.data(), 764, 200), std::string(199, 'n'));
    for (std::size_t off = 963; off < 968; ++off)
        EXPECT_EQ(buf[off], 0) << off;

    CustomerRecord back;
    back.decode(buf.data());
    EXPECT_EQ(back.orderLimitOn, 1);
    EXPECT_EQ(back.priceLevel, 5);
    EXPECT_EQ(back.termsIndex, 7);
    EXPECT_EQ(back.customerNumber, 0xBEEF);
    EXPECT_EQ(back.taxZone, "Zone-ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(back.orderLimit, 1234.5f);
    EXPECT_EQ(back.text[CustomerRecord::kEmail], "field8");
    EXPECT_EQ(back.text[CustomerRecord::kCard3], std::string(39, 'c'));
    EXPECT_EQ(back.notes, std::string(199, 'n'));

    // A fresh record is every byte 0.
    CustomerRecord().encode(buf.data());
    for (std::size_t off = 0; off < 968; ++off)
        ASSERT_EQ(buf[off], 0) << off;
}

TEST(VendorRecords, HeaderAndRecordLayout)
{
    EXPECT_EQ(VendorFileHeader::kSize, 232u);
    EXPECT_EQ(VendorRecord::kSize, 920u);
    VendorFileHeader h;
    std::vector<std::uint8_t> buf(232, 0xAA);
    h.encode(buf.data());
    EXPECT_EQ(getU32(buf.data(), 0), 0u);
    EXPECT_EQ(getF32(buf.data(), 4), 1.1f);
    const char* labels[] = {"Company",   "Address",   "Address",   "City, St, Zip", "Phone#", "Email",
                            "Cell#",     "Fax#",      "Contact 1", "Contact 2",     "Contact 3", "Contact 4",
                            "Terms",     "Discount",  "Misc",      "Misc"};
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(getText(buf.data(), 8 + 14 * i, 14), labels[i]) << i;
    h.count = 0x0A0B0C0D;
    h.labels[3] = "Town";
    h.encode(buf.data());
    EXPECT_EQ(buf[0], 0x0D);
    EXPECT_EQ(buf[3], 0x0A);
    VendorFileHeader hb;
    hb.decode(buf.data());
    EXPECT_EQ(hb.count, 0x0A0B0C0Du);
    EXPECT_EQ(hb.labels[3], "Town");
    EXPECT_EQ(hb.labels[15], "Misc");

    VendorRecord r;
    for (std::size_t k = 0; k < 18; ++k)
        r.text[k] = "v" + std::to_string(k) + std::string(k * 3, 'x');  // k = 17 is cut to 39
    r.notes = "line 1\r\nline 2";
    std::vector<std::uint8_t> rec(920, 0xAA);
    r.encode(rec.data());
    for (std::size_t k = 0; k < 17; ++k)
        EXPECT_EQ(getText(rec.data(), 40 * k, 40), r.text[k].substr(0, 39)) << k;
    EXPECT_EQ(getText(rec.data(), 680, 40), ("v17" + std::string(51, 'x')).substr(0, 39));
    EXPECT_EQ(getText(rec.data(), 720, 200), "line 1\r\nline 2");
    EXPECT_EQ(rec[919], 0);
    VendorRecord back;
    back.decode(rec.data());
    EXPECT_EQ(back.company(), "v0");
    EXPECT_EQ(back.text[VendorRecord::kMisc].size(), 39u);
    EXPECT_EQ(back.text[VendorRecord::kFax], r.text[10]);  // 33 characters, kept whole
    EXPECT_EQ(back.notes, r.notes);
}
