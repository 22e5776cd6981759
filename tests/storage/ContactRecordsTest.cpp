#include "CustomerRecord.h"
#include "LayoutCheck.h"
#include "VendorRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<Slot> labelSlots(std::size_t first, const std::vector<std::string>& labels)
{
    std::vector<Slot> out;
    for (std::size_t i = 0; i < labels.size(); ++i)
        out.push_back(text(first + 14 * i, 14, labels[i]));
    return out;
}

template <class T> std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
}  // namespace

TEST(CustomerRecords, HeaderLayoutDefaultsAndRoundTrip)
{
    static_assert(CustomerFileHeader::kSize == 236);
    std::vector<std::uint8_t> buf(236, 0xAA);
    CustomerFileHeader().encode(buf.data());
    expectLayout(buf.data(), 236,
                 std::vector<Slot>{f32(0, 1.3f), u16(4, 1), u16(6, 0), u32(8, 1)} +
                     labelSlots(12, {"Name", "Company", "Address", "City, St, Zip", "Phone#", "Email", "Tax ID#",
                                     "Lic Date", "Contact 1", "Contact 2", "Contact 3", "Contact 4", "CC #1", "CC #2",
                                     "CC #3", "Notes"}));

    CustomerFileHeader h;
    h.version = 2.5f;
    h.nextNumber = 0x1234;
    h.reserved6 = 0x5678;
    h.count = 0x01020304;
    std::vector<std::string> cut;
    for (std::size_t i = 0; i < 16; ++i) {
        h.labels[i] = "L" + std::to_string(i) + "-abcdefghijklmn";  // longer than 13: cut
        cut.push_back(h.labels[i].substr(0, 13));
    }
    h.encode(buf.data());
    expectLayout(buf.data(), 236, std::vector<Slot>{f32(0, 2.5f), u16(4, 0x1234), u16(6, 0x5678), u32(8, 0x01020304)} +
                                      labelSlots(12, cut));
    EXPECT_EQ(buf[4], 0x34);  // little-endian
    EXPECT_EQ(buf[11], 0x01);
    expectRoundTrip(CustomerFileHeader{}, buf.data(), 236);
}

TEST(CustomerRecords, RecordFieldsSitAtTheirOffsets)
{
    static_assert(CustomerRecord::kSize == 968);
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
    std::vector<Slot> slots{u8(0, 1),  u8(1, 0),  u8(2, 5),
                            u8(3, 7),  u16(4, 0xBEEF), text(6, 24, "Zone-ABCDEFGHIJKLMNOPQR"),
                            zeros(30, 2), f32(32, 1234.5f), zeros(36, 8),
                            text(724, 40, std::string(39, 'c')), text(764, 200, std::string(199, 'n')), zeros(964, 4)};
    for (std::size_t k = 0; k < 17; ++k)
        slots.push_back(text(44 + 40 * k, 40, "field" + std::to_string(k)));
    expectLayout(buf.data(), 968, slots);
    expectRoundTrip(CustomerRecord{}, buf.data(), 968);

    CustomerRecord().encode(buf.data());
    EXPECT_EQ(buf, std::vector<std::uint8_t>(968, 0));
}

TEST(VendorRecords, HeaderAndRecordLayout)
{
    static_assert(VendorFileHeader::kSize == 232 && VendorRecord::kSize == 920);
    VendorFileHeader h;
    std::vector<std::uint8_t> buf(232, 0xAA);
    h.encode(buf.data());
    std::vector<std::string> labels{"Company", "Address", "Address", "City, St, Zip", "Phone#", "Email",
                                    "Cell#",   "Fax#",    "Contact 1", "Contact 2",   "Contact 3", "Contact 4",
                                    "Terms",   "Discount", "Misc",   "Misc"};
    expectLayout(buf.data(), 232, std::vector<Slot>{u32(0, 0), f32(4, 1.1f)} + labelSlots(8, labels));
    h.count = 0x0A0B0C0D;
    h.labels[3] = labels[3] = "Town";
    h.encode(buf.data());
    expectLayout(buf.data(), 232, std::vector<Slot>{u32(0, 0x0A0B0C0D), f32(4, 1.1f)} + labelSlots(8, labels));
    EXPECT_EQ(buf[0], 0x0D);
    expectRoundTrip(VendorFileHeader{}, buf.data(), 232);

    VendorRecord r;
    std::vector<Slot> slots;
    for (std::size_t k = 0; k < 18; ++k) {
        r.text[k] = "v" + std::to_string(k) + std::string(k * 3, 'x');  // from k = 13 on, cut to 39
        slots.push_back(text(40 * k, 40, r.text[k].substr(0, 39)));
    }
    r.notes = "line 1\r\nline 2";
    slots.push_back(text(720, 200, "line 1\r\nline 2"));
    std::vector<std::uint8_t> rec(920, 0xAA);
    r.encode(rec.data());
    expectLayout(rec.data(), 920, slots);
    expectRoundTrip(VendorRecord{}, rec.data(), 920);
    VendorRecord back;
    back.decode(rec.data());
    EXPECT_EQ(back.company(), "v0");
    EXPECT_EQ(back.text[VendorRecord::kFax], r.text[10]);  // 33 characters, kept whole
    EXPECT_EQ(back.text[VendorRecord::kMisc], r.text[17].substr(0, 39));
}
