#include "toolkit/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Text, MemoryHelpersAreUnsignedAndHandleOddLengths) {
    const unsigned char a[] = {1, 0x80, 3}, b[] = {1, 0x7F, 9};
    EXPECT_EQ(MemCompare(a, b, 3), 1); // 0x80 is larger as unsigned
    EXPECT_EQ(MemCompare(b, a, 3), -1);
    EXPECT_EQ(MemCompare(a, b, 1), 0);
    unsigned char buffer[11] = {};
    MemFill(buffer, 0x1AB, 9); // low byte only
    MemCopy(buffer + 1, "0123", 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 11),
              std::string("\xAB"
                          "012\xAB\xAB\xAB\xAB\xAB\0\0",
                          11));
}

// Archive names match without regard to ASCII case; nothing else folds; archive
// paths match exactly.
TEST(Text, CaseRules) {
    EXPECT_NE(StrCompare("abc", "ABC"), 0);
    EXPECT_EQ(StrCompareNoCase("Scenes\\ZT-Options.LWS", "scenes\\zt-options.lws"), 0);
    EXPECT_NE(StrCompareNoCase("abcd", "ABC"), 0);
    EXPECT_NE(StrCompareNoCase("[", "{"), 0);
    EXPECT_NE(StrCompareNoCase("\xC4", "\xE4"), 0);
}

} // namespace
