#include "toolkit_fixture.h"

namespace {

using Memory = toolkit_test::ToolkitTest;

TEST_F(Memory, DoubleFreeIsRefused) {
    EXPECT_TRUE(Free(nullptr));
    void* block = Allocate(10);
    void* other = Allocate(4); // blocks are searched only while some are held
    ASSERT_TRUE(block && Free(block));
    EXPECT_FALSE(Free(block));
    EXPECT_EQ(LastError(), ErrorCode::MemoryEntryNotFound);
    EXPECT_TRUE(Free(other));
    EXPECT_EQ(allocator->GetTotal(), 0u);
}

// Damage to either guard byte is reported and the block released all the same;
// sizes that cannot be counted are refused.
TEST_F(Memory, GuardDamageIsReportedAndTheBlockStillReleased) {
    for (uint32_t guard : {0u, 1u}) {
        unsigned char* block = static_cast<unsigned char*>(Allocate(3));
        ASSERT_NE(block, nullptr);
        block[2] = 0x55; // the caller's last byte is fine
        block[3 + guard] ^= 0x01;
        errorState.code = 0;
        EXPECT_FALSE(Free(block)) << "guard " << guard;
        EXPECT_EQ(LastError(), ErrorCode::GuardDamaged);
        EXPECT_EQ(allocator->GetTotal(), 0u);
    }
    EXPECT_EQ(Allocate(UINT32_MAX - 1), nullptr);
    EXPECT_EQ(LastError(), ErrorCode::OutOfMemory);
}

TEST_F(Memory, FreeAllAndShutdownReleaseEverything) {
    Allocate(5);
    unsigned char* damaged = static_cast<unsigned char*>(Allocate(7));
    Allocate(9);
    damaged[8] = 0;
    EXPECT_FALSE(allocator->FreeAll());
    EXPECT_EQ(LastError(), ErrorCode::GuardDamaged);
    EXPECT_EQ(allocator->GetTotal(), 0u);
    Allocate(100);
    ToolkitShutdown();
    ASSERT_TRUE(ToolkitStartup());
    EXPECT_EQ(allocator->GetTotal(), 0u);
}

} // namespace
