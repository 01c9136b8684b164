// The polygon pipeline drawing through the software Glide board: what reaches
// the pixels of the back buffer.
#include "render/pipeline.h"
#include "render/surface.h"

#include "glide/glide.h"
#include "tests/support/geometry_fixtures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint16_t Red565 = 0xF800;

// A square of side 2 facing the camera at depth `depth`, one corner pulled to
// `nearCornerDepth`.
struct Square : testsupport::HandMesh {
    Square(float depth, float nearCornerDepth)
        : HandMesh({{-1, -1, depth}, {1, -1, depth}, {1, 1, depth}, {-1, 1, nearCornerDepth}},
                   {{0, 1, 2, 3}}) {}
};

class BoardDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        grGlideInit();
        GrHwConfiguration hardware;
        ASSERT_TRUE(grSstQueryHardware(&hardware));
        grSstSelect(0);
        ASSERT_TRUE(grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR,
                                 GR_ORIGIN_UPPER_LEFT, 2, 1));
        grDepthBufferMode(GR_DEPTHBUFFER_DISABLE);
        red.SetColour(Colour{255, 0, 0, 0});
    }
    void TearDown() override { grGlideShutdown(); }
    // Clears the back buffer, draws the square in red under a white ambient
    // light and returns the back buffer's pixels.
    std::vector<uint16_t> Draw(Square square) {
        grBufferClear(0, 0, GR_WDEPTHVALUE_FARTHEST);
        ObjectInstance instance;
        instance.AttachMesh(&square.mesh);
        instance.surface = &red;
        EXPECT_TRUE(instance.Classify());
        TransformToView(instance);
        Lighting white;
        white.ambient[0] = white.ambient[1] = white.ambient[2] = 1.0f;
        LightPoints(white, instance);
        DrawPolygons(instance);

        std::vector<uint16_t> pixels;
        GrLfbInfo_t info{};
        info.size = sizeof info;
        if (!grLfbLock(GR_LFB_READ_ONLY, GR_BUFFER_BACKBUFFER, GR_LFBWRITEMODE_ANY,
                       GR_ORIGIN_UPPER_LEFT, FXFALSE, &info))
            return pixels;
        for (int y = 0; y < 480; ++y) {
            const uint16_t* row = reinterpret_cast<const uint16_t*>(
                static_cast<const uint8_t*>(info.lfbPtr) + size_t(y) * info.strideInBytes);
            pixels.insert(pixels.end(), row, row + 640);
        }
        grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_BACKBUFFER);
        return pixels;
    }

    testsupport::MainView main;
    Surface red;
};

TEST_F(BoardDrawing, SquareFillsItsProjectedPixelsAndACornerBehindTheCameraIsClipped) {
    std::vector<uint16_t> pixels = Draw(Square(10, 10));
    ASSERT_EQ(pixels.size(), 640u * 480u);
    // Side 2 at depth 10: 110.85 pixels, centred on (320, 240).
    EXPECT_EQ(pixels[240 * 640 + 320], Red565);
    EXPECT_EQ(pixels[190 * 640 + 270], Red565);
    EXPECT_EQ(pixels[290 * 640 + 370], Red565);
    EXPECT_EQ(pixels[240 * 640 + 380], 0);
    EXPECT_EQ(pixels[180 * 640 + 320], 0);
    EXPECT_EQ(pixels[0], 0);
    int lit = 0;
    for (uint16_t pixel : pixels)
        lit += pixel == Red565;
    EXPECT_NEAR(lit, 110.85 * 110.85, 300);

    // The top-left corner comes at the camera from behind: the visible part runs
    // off the screen's top-left, while the far corners stay where they were.
    pixels = Draw(Square(10, -5));
    ASSERT_EQ(pixels.size(), 640u * 480u);
    EXPECT_EQ(pixels[290 * 640 + 370], Red565); // near the bottom-right corner
    EXPECT_EQ(pixels[240 * 640 + 320], Red565);
    EXPECT_EQ(pixels[300 * 640 + 380], 0); // beyond it
    EXPECT_EQ(pixels[470 * 640 + 10], 0);  // bottom-left of the screen is left alone
}

} // namespace
