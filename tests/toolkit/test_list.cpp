#include "toolkit/list.h"

#include <gtest/gtest.h>

namespace {

int values[4] = {10, 20, 30, 40};

void Fill(List& list, int n) {
    for (int i = 0; i < n; ++i)
        ASSERT_TRUE(list.Append(&values[i]));
}

int CurrentValue(const List& list) {
    return *static_cast<int*>(list.Current());
}

TEST(List, EmptyListHasNoCursor) {
    List list;
    EXPECT_FALSE(list.First());
    EXPECT_FALSE(list.HasCurrent());
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_FALSE(list.Last());
    EXPECT_FALSE(list.Next());
    EXPECT_FALSE(list.RemoveCurrent());
}

TEST(List, WalkEndsOffTheListWithIndexAtCount) {
    List list;
    Fill(list, 3);
    int seen = 0;
    for (bool more = list.First(); more; more = list.Next())
        EXPECT_EQ(CurrentValue(list), values[seen++]);
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(list.GetCursorIndex(), 3u);
    EXPECT_FALSE(list.HasCurrent());
    EXPECT_FALSE(list.Next());
    EXPECT_EQ(list.GetCursorIndex(), 3u);
}

TEST(List, LastPutsIndexAtCountButCursorOnTail) {
    List list;
    Fill(list, 3);
    EXPECT_TRUE(list.Last());
    EXPECT_EQ(list.GetCursorIndex(), 3u);
    EXPECT_EQ(CurrentValue(list), 30);
}

TEST(List, AppendMakesFirstNodeCurrentAndLeavesCursorOtherwise) {
    List list;
    ASSERT_TRUE(list.Append(&values[0]));
    EXPECT_EQ(CurrentValue(list), 10);
    ASSERT_TRUE(list.Append(&values[1]));
    EXPECT_EQ(CurrentValue(list), 10);
    list.Next();
    ASSERT_TRUE(list.Append(&values[2]));
    EXPECT_EQ(CurrentValue(list), 20);
    EXPECT_EQ(list.GetCursorIndex(), 1u);
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
    EXPECT_FALSE(list.First());
    EXPECT_FALSE(list.Last());
    // An emptied list links new nodes as a fresh one.
    Fill(list, 2);
    list.First();
    EXPECT_EQ(CurrentValue(list), 10);
    list.Next();
    EXPECT_EQ(CurrentValue(list), 20);
    EXPECT_FALSE(list.Next());
}

TEST(List, RemovingHeadRelinksBothWays) {
    List list;
    Fill(list, 3);
    list.First();
    EXPECT_TRUE(list.RemoveCurrent());
    EXPECT_EQ(CurrentValue(list), 20);
    list.Last();
    EXPECT_EQ(CurrentValue(list), 30);
    ASSERT_TRUE(list.Append(&values[3]));
    int expected[] = {20, 30, 40};
    int seen = 0;
    for (bool more = list.First(); more; more = list.Next())
        EXPECT_EQ(CurrentValue(list), expected[seen++]);
    EXPECT_EQ(seen, 3);
}

struct Counted {
    static int alive;
    Counted() { ++alive; }
    ~Counted() { --alive; }
};
int Counted::alive = 0;

TEST(List, ClearKeepsElementsAndDeleteCurrentDataFreesOne) {
    List list;
    Counted* a = new Counted;
    Counted* b = new Counted;
    list.Append(a);
    list.Append(b);
    EXPECT_TRUE(list.DeleteCurrentData<Counted>());
    EXPECT_EQ(Counted::alive, 1);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_TRUE(list.HasCurrent()); // the node stays
    EXPECT_FALSE(list.DeleteCurrentData<Counted>());
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(Counted::alive, 1);
    delete b;
}

} // namespace
