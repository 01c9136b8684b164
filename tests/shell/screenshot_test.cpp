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
#include <vector>

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Runs each test in a fresh current directory, as screenshots go to "scrnshot"
// below it.
class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch.path.empty());
        previous = std::filesystem::current_path();
        std::filesystem::current_path(scratch.path);
    }
    void TearDown() override { std::filesystem::current_path(previous); }
    static std::vector<uint8_t> ReadAll(const char* path) {
        std::string bytes = testsupport::ReadWhole(path);
        return std::vector<uint8_t>(bytes.begin(), bytes.end());
    }
    static void Touch(const char* path) { testsupport::WriteWhole(path, std::string()); }
    testsupport::ScratchFolder scratch;
    std::filesystem::path previous;
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
    std::vector<uint8_t> b = ReadAll("scrnshot/zentor00.bmp");
    ASSERT_EQ(b.size(), 54u + 24u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 2), "BM");
    // File size, reserved, pixel offset, header size, width, height, then
    // planes | 24 bits, and six zero fields.
    const uint32_t header[] = {78, 0, 54, 40, 4, 2, 1 | 24 << 16, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < std::size(header); ++i)
        EXPECT_EQ(Le32(b, 2 + 4 * i), header[i]) << "offset " << 2 + 4 * i;
    // First stored row: the bottom of the screen (red); then the top (white).
    const uint8_t red[3] = {0x00, 0x00, 0xF8}, white[3] = {0xF8, 0xFC, 0xF8};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(std::memcmp(&b[54 + x * 3], red, 3), 0) << x;
        EXPECT_EQ(std::memcmp(&b[66 + x * 3], white, 3), 0) << x;
    }
}

TEST_F(ScreenshotTest, NextFreeNumber) {
    ASSERT_EQ(mkdir("scrnshot", 0755), 0);
    char name[64];
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor00.bmp");
    Touch("scrnshot/zentor00.bmp");
    Touch("scrnshot/zentor01.bmp");
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor02.bmp");
    // A gap is filled first.
    Touch("scrnshot/zentor03.bmp");
    ASSERT_TRUE(NextScreenshotName(name, sizeof name));
    EXPECT_STREQ(name, "scrnshot\\zentor02.bmp");
    for (int n = 2; n < 100; ++n) {
        char path[64];
        std::snprintf(path, sizeof path, "scrnshot/zentor%02d.bmp", n);
        Touch(path);
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
    // Without the folder the shot is lost quietly, but the read-back still succeeds.
    EXPECT_TRUE(TakeScreenshot());
    ASSERT_EQ(mkdir("scrnshot", 0755), 0);
    Touch("scrnshot/zentor00.bmp");
    EXPECT_TRUE(TakeScreenshot());
    grGlideShutdown();
    ToolkitShutdown();
    std::vector<uint8_t> b = ReadAll("scrnshot/zentor01.bmp");
    ASSERT_EQ(b.size(), 921654u);
    EXPECT_EQ(Le32(b, 18), 640u);
    EXPECT_EQ(Le32(b, 22), 480u);
    EXPECT_EQ(std::memcmp(&b[54], "\x00\x00\xF8", 3), 0);
    EXPECT_EQ(b[b.size() - 1], 0xF8);
}

} // namespace
