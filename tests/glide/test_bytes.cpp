// The byte reader and writer: both orders, signed and floating values, and reads
// that would pass the end of their buffer.
#include "glide/bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The same bytes read in each order: the first byte is the low one in a
// little-endian number and the high one in a big-endian number.
TEST(Bytes, ReadsEitherOrderFromTheSameBytes) {
    const Bytes data = {0x12, 0x34, 0x56, 0x78, 0xFE, 0xFF, 0xFF, 0xFF};
    ByteReader little(data.data(), data.size(), ByteOrder::Little);
    ByteReader big(data.data(), data.size(), ByteOrder::Big);
    uint16_t littleU16 = 0, bigU16 = 0;
    ASSERT_TRUE(little.U16(&littleU16) && big.U16(&bigU16));
    EXPECT_EQ(littleU16, 0x3412);
    EXPECT_EQ(bigU16, 0x1234);
    uint32_t u32 = 0;
    int32_t i32 = 0;
    ASSERT_TRUE(little.Seek(0) && little.U32(&u32));
    EXPECT_EQ(u32, 0x78563412u);
    ASSERT_TRUE(big.Seek(0) && big.U32(&u32));
    EXPECT_EQ(u32, 0x12345678u);
    // 0xFFFFFFFE is -2 little-endian; big-endian the bytes FE FF FF FF are -16777217.
    ASSERT_TRUE(little.I32(&i32));
    EXPECT_EQ(i32, -2);
    ASSERT_TRUE(big.I32(&i32));
    EXPECT_EQ(i32, -16777217);
    int16_t i16 = 0;
    ASSERT_TRUE(little.Seek(4) && little.I16(&i16));
    EXPECT_EQ(i16, -2);
}

// A read needing more than is left fails, stores nothing and keeps the position,
// so the bytes that are there can still be read; a part reads only its own bytes.
TEST(Bytes, ReadPastTheEndFailsWithoutMoving) {
    const Bytes data = {1, 2, 3};
    ByteReader in(data.data(), data.size(), ByteOrder::Big);
    uint32_t u32 = 0xAAAAAAAA;
    EXPECT_FALSE(in.U32(&u32));
    EXPECT_EQ(u32, 0xAAAAAAAAu);
    EXPECT_EQ(in.Position(), 0u);
    uint16_t u16 = 0;
    ASSERT_TRUE(in.U16(&u16));
    EXPECT_EQ(u16, 0x0102);
    EXPECT_FALSE(in.U16(&u16) || in.Skip(2) || in.Seek(4));
    EXPECT_EQ(in.Position(), 2u);
    // A part is bounded by its own size.
    ByteReader part(data.data(), 0, ByteOrder::Big);
    EXPECT_FALSE(in.Part(2, &part));
    ASSERT_TRUE(in.Part(1, &part));
    EXPECT_EQ(in.Remaining(), 0u);
    uint8_t last = 0;
    EXPECT_FALSE(in.U8(&last));
    ASSERT_TRUE(part.U8(&last));
    EXPECT_EQ(last, 3);
    EXPECT_FALSE(part.U8(&last));
    // A size near the largest cannot wrap the check around.
    ByteReader empty(data.data(), 0, ByteOrder::Little);
    EXPECT_FALSE(empty.Skip(std::numeric_limits<size_t>::max()));
}

// Numbers written come back; the bytes are those of the stated order (IEEE 754
// single 1.0 is 3F800000).
TEST(Bytes, WrittenNumbersReadBack) {
    for (ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
        Bytes out;
        ByteWriter writer(out, order);
        writer.F32(1.0f);
        writer.I16(-300);
        writer.U32(0xCAFEF00D);
        writer.F32(-0.0f);
        writer.F64(std::nextafter(1.0, 2.0));
        writer.F32(std::numeric_limits<float>::infinity());
        ASSERT_EQ(out.size(), 4u + 2 + 4 + 4 + 8 + 4);
        const Bytes one =
            order == ByteOrder::Big ? Bytes{0x3F, 0x80, 0, 0} : Bytes{0, 0, 0x80, 0x3F};
        EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), one);

        ByteReader in(out.data(), out.size(), order);
        float f = 0;
        int16_t i16 = 0;
        uint32_t u32 = 0;
        double d = 0;
        ASSERT_TRUE(in.F32(&f) && in.I16(&i16) && in.U32(&u32));
        EXPECT_EQ(f, 1.0f);
        EXPECT_EQ(i16, -300);
        EXPECT_EQ(u32, 0xCAFEF00Du);
        ASSERT_TRUE(in.F32(&f));
        EXPECT_TRUE(f == 0.0f && std::signbit(f));
        ASSERT_TRUE(in.F64(&d) && in.F32(&f));
        EXPECT_EQ(d, std::nextafter(1.0, 2.0));
        EXPECT_TRUE(std::isinf(f));
    }
}

// A writer sought back replaces bytes in place; past the end it extends.
TEST(Bytes, WriterPatchesInPlaceAndExtends) {
    Bytes out = {9, 9, 9, 9, 9};
    ByteWriter writer(out, ByteOrder::Little);
    EXPECT_EQ(writer.Position(), 5u);
    EXPECT_FALSE(writer.Seek(6));
    ASSERT_TRUE(writer.Seek(1));
    writer.U16(0x0201);
    EXPECT_EQ(out, (Bytes{9, 1, 2, 9, 9}));
    ASSERT_TRUE(writer.Seek(4));
    writer.U16(0x0403);
    EXPECT_EQ(out, (Bytes{9, 1, 2, 9, 3, 4}));
}

} // namespace
