#include "toolkit/text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, MemCompareIsUnsignedAndSigned1) {
    const unsigned char a[] = {1, 0x80, 3};
    const unsigned char b[] = {1, 0x7F, 9};
    EXPECT_EQ(MemCompare(a, b, 3), 1); // 0x80 is larger as unsigned
    EXPECT_EQ(MemCompare(b, a, 3), -1);
    EXPECT_EQ(MemCompare(a, b, 1), 0);
    EXPECT_EQ(MemCompare(a, b, 0), 0);
}

TEST(Text, MemFillAndCopyHandleOddLengths) {
    unsigned char buffer[11];
    MemFill(buffer, 0x1AB, sizeof buffer); // low byte only
    for (unsigned char c : buffer)
        EXPECT_EQ(c, 0xAB);
    unsigned char copy[11] = {};
    const unsigned char source[] = "0123456789";
    EXPECT_EQ(MemCopy(copy, source, 7), copy);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(copy), 7), "0123456");
    EXPECT_EQ(copy[7], 0);
}

TEST(Text, CaseRules) {
    EXPECT_EQ(StrCompare("abc", "ABC"), 1);
    EXPECT_EQ(StrCompare("ABC", "abc"), -1);
    EXPECT_EQ(StrCompare("abc", "abc"), 0);
    EXPECT_EQ(StrCompare("ab", "abc"), -1);
    EXPECT_EQ(StrCompareNoCase("Scenes\\ZT-Options.LWS", "scenes\\zt-options.lws"), 0);
    EXPECT_LT(StrCompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(StrCompareNoCase("abcd", "ABC"), 0);
    // Only ASCII letters fold: '[' (0x5B) and '{' (0x7B) stay distinct.
    EXPECT_NE(StrCompareNoCase("[", "{"), 0);
    EXPECT_NE(StrCompareNoCase("\xC4", "\xE4"), 0);
    EXPECT_EQ(StrCompareNoCaseN("-VTUNE extra", "-vtune", 6), 0);
    EXPECT_NE(StrCompareNoCaseN("-vtun", "-vtune", 6), 0);
    EXPECT_EQ(StrCompareN("LWSC\n", "LWSC", 4), 0);
    EXPECT_EQ(StrCompareN("lwsc", "LWSC", 4), 1);
    EXPECT_EQ(StrCompareN("x", "y", 0), 0);
}

} // namespace
