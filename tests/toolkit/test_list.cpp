#include "toolkit/list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int values[4] = {10, 20, 30, 40};

int CurrentValue(const List& list) {
    return *static_cast<int*>(list.Current());
}

std::vector<int> Walk(List& list) {
    std::vector<int> seen;
    for (bool more = list.First(); more; more = list.Next())
        seen.push_back(CurrentValue(list));
    return seen;
}

// The first node appended becomes current; a walk runs off the end.
TEST(List, AppendWalkAndRemoveKeepTheCursorAndLinksSound) {
    List list;
    EXPECT_FALSE(list.First() || list.Last() || list.Next() || list.RemoveCurrent());
    ASSERT_TRUE(list.Append(&values[0]) && list.Append(&values[1]) && list.Append(&values[2]));
    EXPECT_EQ(CurrentValue(list), 10);
    EXPECT_EQ(Walk(list), (std::vector<int>{10, 20, 30}));
    EXPECT_FALSE(list.HasCurrent() || list.Next());
    EXPECT_TRUE(list.Last());
    EXPECT_EQ(CurrentValue(list), 30);

    // Removal moves the cursor to the successor, else the predecessor, and keeps
    // both links sound (the allocator and the archives remove while walking).
    ASSERT_TRUE(list.Append(&values[3]));
    list.First(); // the head
    EXPECT_TRUE(list.RemoveCurrent());
    EXPECT_EQ(CurrentValue(list), 20);
    list.Next(); // on 30
    EXPECT_TRUE(list.RemoveCurrent());
    EXPECT_EQ(CurrentValue(list), 40);
    EXPECT_TRUE(list.RemoveCurrent()); // the tail: back to the new tail
    EXPECT_EQ(CurrentValue(list), 20);
    EXPECT_EQ(Walk(list), (std::vector<int>{20}));
    list.First();
    EXPECT_FALSE(list.RemoveCurrent()); // the only node
    EXPECT_EQ(list.GetCount(), 0u);
    ASSERT_TRUE(list.Append(&values[2]) && list.Append(&values[3]));
    EXPECT_EQ(Walk(list), (std::vector<int>{30, 40}));
}

} // namespace
