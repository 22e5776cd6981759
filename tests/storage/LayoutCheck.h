#pragma once
// Record layouts checked from a table of slots: offset, kind and the value
// expected there. The table must tile the record, so a byte left out or two
// slots overlapping fail the check. A text slot holds its text and NULs up to
// its width.

#include "ByteCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

struct Slot {
    enum Kind { U8, U16, I16, U32, I32, F32, F64, Bytes } kind;
    std::size_t off;
    std::size_t width;
    double num = 0;
    std::string bytes;
};

inline Slot u8(std::size_t off, double v) { return {Slot::U8, off, 1, v, {}}; }
inline Slot u16(std::size_t off, double v) { return {Slot::U16, off, 2, v, {}}; }
inline Slot i16(std::size_t off, double v) { return {Slot::I16, off, 2, v, {}}; }
inline Slot u32(std::size_t off, double v) { return {Slot::U32, off, 4, v, {}}; }
inline Slot i32(std::size_t off, double v) { return {Slot::I32, off, 4, v, {}}; }
inline Slot f32(std::size_t off, float v) { return {Slot::F32, off, 4, v, {}}; }
inline Slot f64(std::size_t off, double v) { return {Slot::F64, off, 8, v, {}}; }
inline Slot text(std::size_t off, std::size_t width, std::string v)
{
    v.resize(width, '\0');
    return {Slot::Bytes, off, width, 0, std::move(v)};
}
inline Slot zeros(std::size_t off, std::size_t n) { return text(off, n, ""); }

inline double slotNumber(const std::uint8_t* b, const Slot& s)
{
    switch (s.kind) {
    case Slot::U8: return codec::getU8(b, s.off);
    case Slot::U16: return codec::getU16(b, s.off);
    case Slot::I16: return codec::getI16(b, s.off);
    case Slot::U32: return codec::getU32(b, s.off);
    case Slot::I32: return codec::getI32(b, s.off);
    case Slot::F32: return codec::getF32(b, s.off);
    case Slot::F64: return codec::getF64(b, s.off);
    case Slot::Bytes: break;
    }
    return 0;
}

inline void expectLayout(const std::uint8_t* b, std::size_t size, std::vector<Slot> slots)
{
    std::stable_sort(slots.begin(), slots.end(), [](const Slot& x, const Slot& y) { return x.off < y.off; });
    std::size_t next = 0;
    for (const Slot& s : slots) {
        ASSERT_EQ(s.off, next) << "the table leaves a gap or overlaps";
        next = s.off + s.width;
        if (s.kind == Slot::Bytes)
            EXPECT_EQ(std::string(b + s.off, b + next), s.bytes) << "at offset " << s.off;
        else
            EXPECT_EQ(slotNumber(b, s), s.num) << "at offset " << s.off;
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
