#include "shell/screenshot.h"

#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using testsupport::ReadWhole;

uint32_t Le32(const std::string& b, size_t at) {
    auto byte = [&b, at](int i) { return uint32_t(uint8_t(b[at + i])) << (8 * i); };
    return byte(0) | byte(1) | byte(2) | byte(3);
}

void Touch(const char* path) {
    testsupport::WriteWhole(path, std::string());
}

// Runs each test in a fresh current directory, as screenshots go to "scrnshot"
// below it.
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

// A 4 × 2 picture, rows 10 bytes apart (one padding pixel): top row white, green,
// blue, black; bottom row red. Expanded with the low bits clear, bottom row first.
TEST_F(ScreenshotTest, BitmapHeaderAndBottomRowFirst) {
    const uint16_t lfb[10] = {0xFFFF, 0x07E0, 0x001F, 0x0000, 0x1234,
                              0xF800, 0xF800, 0xF800, 0xF800, 0x1234};
    uint8_t pixels[4 * 2 * 3];
    ConvertRgb565(lfb, 10, 4, 2, pixels);
    // Without the folder nothing is written, and the folder is never created.
    EXPECT_FALSE(WriteBmpSized("scrnshot\\zentor00.bmp", pixels, 4, 2));
    EXPECT_NE(access("scrnshot", F_OK), 0);
    ASSERT_EQ(mkdir("scrnshot", 0755), 0);
    ASSERT_TRUE(WriteBmpSized("scrnshot\\zentor00.bmp", pixels, 4, 2));
    const std::string b = ReadWhole("scrnshot/zentor00.bmp");
    ASSERT_EQ(b.size(), 54u + 24u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    // File size, reserved, pixel offset, header size, width, height, then
    // planes | 24 bits, and six zero fields.
    const uint32_t header[] = {78, 0, 54, 40, 4, 2, 1 | 24 << 16, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < std::size(header); ++i)
        EXPECT_EQ(Le32(b, 2 + 4 * i), header[i]) << "offset " << 2 + 4 * i;
    const std::string red("\0\0\xF8", 3), white("\xF8\xFC\xF8"), green("\0\xFC\0", 3),
        blue("\xF8\0\0", 3), black(3, '\0');
    EXPECT_EQ(b.substr(54), red + red + red + red + white + green + blue + black);
}

// The first free number, a gap filled first, three digits past 99, and a name
// buffer too small.
TEST_F(ScreenshotTest, NextFreeNumber) {
    ASSERT_EQ(mkdir("scrnshot", 0755), 0);
    char name[64];
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor00.bmp");
    for (const char* taken :
         {"scrnshot/zentor00.bmp", "scrnshot/zentor01.bmp", "scrnshot/zentor03.bmp"})
        Touch(taken);
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor02.bmp");
    for (int n = 2; n < 100; ++n) {
        std::snprintf(name, sizeof name, "scrnshot/zentor%02d.bmp", n);
        Touch(name);
    }
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor100.bmp");
    char tooSmall[10];
    EXPECT_FALSE(NextScreenshotName(tooSmall, sizeof tooSmall));
}

} // namespace
