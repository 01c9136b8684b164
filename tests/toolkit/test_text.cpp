#include "toolkit/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Archive directories are compared as unsigned bytes.
TEST(Text, MemCompareIsUnsigned) {
    const unsigned char a[] = {1, 0x80, 3}, b[] = {1, 0x7F, 9};
    EXPECT_EQ(MemCompare(a, b, 3), 1);
    EXPECT_EQ(MemCompare(b, a, 3), -1);
    EXPECT_EQ(MemCompare(a, b, 1), 0);
}

// Archive names fold ASCII case and nothing else; StrCompare folds nothing.
TEST(Text, CaseRules) {
    EXPECT_NE(StrCompare("abc", "ABC"), 0);
    EXPECT_EQ(StrCompareNoCase("Scenes\\ZT-Options.LWS", "scenes\\zt-options.lws"), 0);
    EXPECT_NE(StrCompareNoCase("abcd", "ABC"), 0);
    EXPECT_NE(StrCompareNoCase("[", "{"), 0);
    EXPECT_NE(StrCompareNoCase("\xC4", "\xE4"), 0);
}

} // namespace
