#include "shell/screenshot.h"

#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
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

// A gap is filled first, three digits past 99, and a buffer too small is refused.
TEST_F(ScreenshotTest, NextFreeNumber) {
    ASSERT_EQ(mkdir("scrnshot", 0755), 0);
    char name[64];
    for (int n = 0; n < 100; ++n) { // all but 02
        std::snprintf(name, sizeof name, "scrnshot/zentor%02d.bmp", n);
        if (n != 2)
            testsupport::WriteWhole(name, std::string());
    }
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor02.bmp");
    testsupport::WriteWhole("scrnshot/zentor02.bmp", std::string());
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor100.bmp");
    char tooSmall[10];
    EXPECT_FALSE(NextScreenshotName(tooSmall, sizeof tooSmall));
}

} // namespace
