#pragma once
// Record layouts checked from a table of slots: offset, width, how a number
// there is read and the value expected. The table must tile the record, so a
// byte left out or two slots overlapping fail the check. A text slot holds its
// text and NULs up to its width.

#include "storage/records/ByteCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

struct Slot {
    std::size_t off;
    std::size_t width;
    double (*read)(const std::uint8_t*, std::size_t);  // none for a text slot
    double num = 0;
    std::string bytes;
};

template <auto Get> double readAs(const std::uint8_t* b, std::size_t off) { return Get(b, off); }

inline Slot u8(std::size_t off, double v) { return {off, 1, readAs<codec::getU8>, v, {}}; }
inline Slot u16(std::size_t off, double v) { return {off, 2, readAs<codec::getU16>, v, {}}; }
inline Slot i16(std::size_t off, double v) { return {off, 2, readAs<codec::getI16>, v, {}}; }
inline Slot u32(std::size_t off, double v) { return {off, 4, readAs<codec::getU32>, v, {}}; }
inline Slot i32(std::size_t off, double v) { return {off, 4, readAs<codec::getI32>, v, {}}; }
inline Slot f32(std::size_t off, float v) { return {off, 4, readAs<codec::getF32>, v, {}}; }
inline Slot f64(std::size_t off, double v) { return {off, 8, readAs<codec::getF64>, v, {}}; }
inline Slot text(std::size_t off, std::size_t width, std::string v)
{
    v.resize(width, '\0');
    return {off, width, nullptr, 0, std::move(v)};
}
inline Slot zeros(std::size_t off, std::size_t n) { return text(off, n, ""); }

inline void expectLayout(const std::uint8_t* b, std::size_t size, std::vector<Slot> slots)
{
    std::stable_sort(slots.begin(), slots.end(), [](const Slot& x, const Slot& y) { return x.off < y.off; });
    std::size_t next = 0;
    for (const Slot& s : slots) {
        ASSERT_EQ(s.off, next) << "the table leaves a gap or overlaps";
        next = s.off + s.width;
        if (s.read)
            EXPECT_EQ(s.read(b, s.off), s.num) << "at offset " << s.off;
        else
            EXPECT_EQ(std::string(b + s.off, b + next), s.bytes) << "at offset " << s.off;
    }
    EXPECT_EQ(next, size);
}

// Decoding the bytes and encoding again gives the same bytes: every field is
// read from where it is written.
template <class R> void expectRoundTrip(R back, const std::uint8_t* b, std::size_t size)
{
    back.decode(b);
    std::vector<std::uint8_t> again(size, 0x5A);
    back.encode(again.data());
    EXPECT_EQ(again, std::vector<std::uint8_t>(b, b + size));
}
