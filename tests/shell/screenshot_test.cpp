#include "shell/screenshot.h"

#include "glide/glide.h"
#include "tests/support/scratch_folder.h"
#include "toolkit/memory.h"

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

TEST(Screenshot, Rgb565ExpandsWithLowBitsClear) {
    // Two rows of two pixels, rows 6 bytes apart (one padding pixel).
    const uint16_t lfb[6] = {0xFFFF, 0xF800, 0x1234, 0x07E0, 0x001F, 0x0000};
    uint8_t out[12];
    ConvertRgb565(lfb, 6, 2, 2, out);
    const uint8_t expected[12] = {0xF8, 0xFC, 0xF8, 0x00, 0x00, 0xF8,  // white, red
                                  0x00, 0xFC, 0x00, 0xF8, 0x00, 0x00}; // green, blue
    EXPECT_EQ(std::memcmp(out, expected, sizeof out), 0);
}

TEST_F(ScreenshotTest, BitmapHeaderAndBottomRowFirst) {
    // 4 × 2 picture: top row white, bottom row red.
    const uint16_t lfb[8] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xF800, 0xF800, 0xF800, 0xF800};
    uint8_t pixels[4 * 2 * 3];
    ConvertRgb565(lfb, 8, 4, 2, pixels);
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
    // First stored row: the bottom of the screen (red); then the top (white).
    const std::string red("\x00\x00\xF8", 3), white("\xF8\xFC\xF8");
    EXPECT_EQ(b.substr(54), red + red + red + red + white + white + white + white);
}

TEST_F(ScreenshotTest, NextFreeNumber) {
    ASSERT_EQ(mkdir("scrnshot", 0755), 0);
    char name[64];
    const int touched[] = {-1, 0, 1, 3}; // after each, the name that comes next
    const char* next[] = {"zentor00", "zentor01", "zentor02", "zentor02"}; // a gap first
    for (int i = 0; i < 4; ++i) {
        std::snprintf(name, sizeof name, "scrnshot/zentor%02d.bmp", touched[i]);
        if (touched[i] >= 0)
            Touch(name);
        ASSERT_TRUE(NextScreenshotName(name, sizeof name));
        EXPECT_EQ(std::string(name), std::string("scrnshot\\") + next[i] + ".bmp");
    }
    for (int n = 2; n < 100; ++n) {
        std::snprintf(name, sizeof name, "scrnshot/zentor%02d.bmp", n);
        Touch(name);
    }
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor100.bmp");
    char tooSmall[10];
    EXPECT_FALSE(NextScreenshotName(tooSmall, sizeof tooSmall));
}

// The whole shot from the software board's front buffer, without a window.
TEST_F(ScreenshotTest, FrontBufferToNumberedFile) {
    EXPECT_FALSE(TakeScreenshot()) << "no open board, no shot";
    ASSERT_TRUE(ToolkitStartup());
    grGlideInit();
    GrHwConfiguration hardware;
    ASSERT_TRUE(grSstQueryHardware(&hardware));
    grSstSelect(0);
    ASSERT_TRUE(grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR,
                             GR_ORIGIN_UPPER_LEFT, 2, 0));
    grBufferClear(0x000000FF, 0, 0xFFFF); // ABGR: pure red
    grBufferSwap(1);
    EXPECT_TRUE(TakeScreenshot()) << "without the folder the shot is lost quietly";
    ASSERT_EQ(mkdir("scrnshot", 0755), 0);
    Touch("scrnshot/zentor00.bmp");
    EXPECT_TRUE(TakeScreenshot());
    grGlideShutdown();
    ToolkitShutdown();
    const std::string b = ReadWhole("scrnshot/zentor01.bmp");
    ASSERT_EQ(b.size(), 921654u);
    EXPECT_EQ(Le32(b, 18), 640u);
    EXPECT_EQ(Le32(b, 22), 480u);
    EXPECT_EQ(b.substr(54, 3), std::string("\x00\x00\xF8", 3));
    EXPECT_EQ(b.back(), '\xF8');
}

} // namespace
