// The byte reader: both orders, signed values, and reads that would pass the end.
#include "glide/bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The same bytes in each order: first byte low in little-endian, high in big-endian.
TEST(Bytes, ReadsEitherOrderFromTheSameBytes) {
    const Bytes data = {0x12, 0x34, 0x56, 0x78, 0xFE, 0xFF, 0xFF, 0xFF};
    ByteReader little(data.data(), data.size(), ByteOrder::Little);
    ByteReader big(data.data(), data.size(), ByteOrder::Big);
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    int32_t littleI32 = 0, bigI32 = 0;
    ASSERT_TRUE(little.U16(&u16));
    EXPECT_EQ(u16, 0x3412);
    ASSERT_TRUE(big.U16(&u16) && big.Seek(0) && big.U32(&u32));
    EXPECT_EQ(u32, 0x12345678u);
    // FE FF FF FF is -2 little-endian and -16777217 big-endian.
    ASSERT_TRUE(little.Seek(4) && little.I32(&littleI32) && big.I32(&bigI32));
    EXPECT_EQ(littleI32, -2);
    EXPECT_EQ(bigI32, -16777217);
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
    uint8_t last = 0;
    EXPECT_FALSE(in.U8(&last));
    ASSERT_TRUE(part.U8(&last));
    EXPECT_EQ(last, 3);
    EXPECT_FALSE(part.U8(&last));
    // A size near the largest cannot wrap the check around.
    ByteReader empty(data.data(), 0, ByteOrder::Little);
    EXPECT_FALSE(empty.Skip(std::numeric_limits<size_t>::max()));
}

} // namespace
