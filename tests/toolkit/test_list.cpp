#include "toolkit/list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int values[4] = {10, 20, 30, 40};

void Fill(List& list, int n) {
    for (int i = 0; i < n; ++i)
        ASSERT_TRUE(list.Append(&values[i]));
}
int CurrentValue(const List& list) {
    return *static_cast<int*>(list.Current());
}

std::vector<int> Walk(List& list) {
    std::vector<int> seen;
    for (bool more = list.First(); more; more = list.Next())
        seen.push_back(CurrentValue(list));
    return seen;
}

TEST(List, CursorWalksOffTheEndWithIndexAtCount) {
    List list;
    EXPECT_FALSE(list.First() || list.Last() || list.Next() || list.RemoveCurrent());
    EXPECT_EQ(list.Current(), nullptr);
    ASSERT_TRUE(list.Append(&values[0]));
    EXPECT_EQ(CurrentValue(list), 10); // the first node becomes current...
    ASSERT_TRUE(list.Append(&values[1]) && list.Append(&values[2]));
    EXPECT_EQ(CurrentValue(list), 10); // ...later ones leave the cursor alone
    EXPECT_EQ(Walk(list), (std::vector<int>{10, 20, 30}));
    EXPECT_FALSE(list.HasCurrent() || list.Next());
    EXPECT_TRUE(list.Last()); // index at count, cursor on the tail
    EXPECT_EQ(list.GetCursorIndex(), 3u);
    EXPECT_EQ(CurrentValue(list), 30);
}

TEST(List, RemovingMovesCursorToSuccessorElsePredecessor) {
    List list;
    Fill(list, 3);
    list.First();
    list.Next(); // on 20
    EXPECT_TRUE(list.RemoveCurrent());
    EXPECT_EQ(CurrentValue(list), 30);
    EXPECT_EQ(list.GetCursorIndex(), 1u); // the index is left alone
    EXPECT_TRUE(list.RemoveCurrent());    // tail: back to the new tail
    EXPECT_EQ(CurrentValue(list), 10);
    EXPECT_EQ(list.GetCount(), 1u);
    EXPECT_FALSE(list.RemoveCurrent()); // the only node
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_FALSE(list.First() || list.Last());
    Fill(list, 2); // an emptied list links new nodes as a fresh one
    EXPECT_EQ(Walk(list), (std::vector<int>{10, 20}));

    list.First(); // removing the head relinks both ways
    EXPECT_TRUE(list.RemoveCurrent());
    EXPECT_EQ(CurrentValue(list), 20);
    ASSERT_TRUE(list.Append(&values[2]));
    list.Last();
    EXPECT_EQ(CurrentValue(list), 30);
    EXPECT_EQ(Walk(list), (std::vector<int>{20, 30}));
    list.Clear(); // the elements are the caller's: only the nodes go
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(values[1], 20);
}

} // namespace
