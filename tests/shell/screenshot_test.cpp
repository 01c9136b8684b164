#include "shell/screenshot.h"

#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// Each test in a fresh current directory, as screenshots go to "scrnshot" below it.
class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch.path.empty());
        std::filesystem::current_path(scratch.path);
    }
    void TearDown() override { std::filesystem::current_path(previous); }
    std::filesystem::path previous = std::filesystem::current_path();
    testsupport::ScratchFolder scratch;
};

// The first free number, a gap filled first, three digits past 99, a buffer too small.
TEST_F(ScreenshotTest, NextFreeNumber) {
    ASSERT_EQ(mkdir("scrnshot", 0755), 0);
    char name[64];
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor00.bmp");
    for (const char* taken : {"zentor00.bmp", "zentor01.bmp", "zentor03.bmp"})
        testsupport::WriteWhole(std::string("scrnshot/") + taken, std::string());
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor02.bmp");
    for (int n = 2; n < 100; ++n) {
        std::snprintf(name, sizeof name, "scrnshot/zentor%02d.bmp", n);
        testsupport::WriteWhole(name, std::string());
    }
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor100.bmp");
    char tooSmall[10];
    EXPECT_FALSE(NextScreenshotName(tooSmall, sizeof tooSmall));
}

} // namespace
