#include "toolkit_fixture.h"

namespace {

using Memory = toolkit_test::ToolkitTest;

TEST_F(Memory, UnknownPointerAndDoubleFreeAreRefused) {
    int onStack = 0;
    EXPECT_TRUE(Free(nullptr));
    EXPECT_TRUE(Free(&onStack)); // total is 0: nothing is searched
    EXPECT_EQ(Code(), ErrorCode::None);
    void* block = Allocate(10);
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(Free(&onStack));
    EXPECT_EQ(Code(), ErrorCode::MemoryEntryNotFound);
    EXPECT_EQ(allocator->GetTotal(), 12u);

    void* other = Allocate(4);
    EXPECT_TRUE(Free(block));
    errorState.code = 0;
    EXPECT_FALSE(Free(block)); // second release of the same block
    EXPECT_EQ(Code(), ErrorCode::MemoryEntryNotFound);
    EXPECT_EQ(allocator->GetTotal(), 6u);
    EXPECT_TRUE(Free(other));
    EXPECT_EQ(allocator->GetTotal(), 0u);
}

TEST_F(Memory, GuardDamageIsReportedAndTheBlockStillReleased) {
    // Either of the two guard bytes after the caller's bytes.
    for (uint32_t size : {0u, 3u, 16u}) {
        for (uint32_t guard : {0u, 1u}) {
            SCOPED_TRACE(testing::Message() << size << " + " << guard);
            unsigned char* block = static_cast<unsigned char*>(Allocate(size));
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(allocator->GetTotal(), size + 2);
            if (size > 0)
                block[size - 1] = 0x55; // the caller's last byte is fine
            block[size + guard] ^= 0x01;
            errorState.code = 0;
            EXPECT_FALSE(Free(block));
            EXPECT_EQ(Code(), ErrorCode::GuardDamaged);
            EXPECT_EQ(allocator->GetTotal(), 0u);
        }
    }
    EXPECT_TRUE(Free(Allocate(1)));           // the list is still sound
    EXPECT_EQ(Allocate(UINT32_MAX), nullptr); // sizes that cannot be counted
    EXPECT_EQ(Code(), ErrorCode::OutOfMemory);
    EXPECT_EQ(Allocate(UINT32_MAX - 1), nullptr);
    EXPECT_EQ(allocator->GetTotal(), 0u);
}

TEST_F(Memory, FreeAllAndShutdownReleaseEverything) {
    Allocate(5);
    unsigned char* damaged = static_cast<unsigned char*>(Allocate(7));
    Allocate(9);
    damaged[8] = 0;
    EXPECT_FALSE(allocator->FreeAll());
    EXPECT_EQ(Code(), ErrorCode::GuardDamaged);
    EXPECT_EQ(allocator->GetTotal(), 0u);

    Allocate(100);
    ToolkitShutdown();
    EXPECT_EQ(allocator, nullptr);
    EXPECT_EQ(Allocate(1), nullptr); // no allocator
    EXPECT_FALSE(Free(reinterpret_cast<void*>(&allocator)));
    ASSERT_TRUE(ToolkitStartup());
    EXPECT_EQ(allocator->GetTotal(), 0u);
}

} // namespace
