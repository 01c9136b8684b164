// The polygon pipeline drawing through the software Glide board into its pixels.
#include "render/pipeline.h"
#include "render/surface.h"

#include "glide/glide.h"
#include "tests/support/board_pixels.h"
#include "tests/support/geometry_fixtures.h"
#include "tests/support/show_board.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint16_t Red = 0xF800; // RGB 565

class BoardDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::OpenShowBoard());
        grDepthBufferMode(GR_DEPTHBUFFER_DISABLE);
        red.SetColour(Colour{255, 0, 0, 0});
    }
    void TearDown() override { grGlideShutdown(); }
    // A red square of side 2 at depth 10, lit white into a cleared back buffer: its pixels.
    std::vector<uint16_t> Draw() {
        testsupport::HandMesh square({{-1, -1, 10}, {1, -1, 10}, {1, 1, 10}, {-1, 1, 10}},
                                     {{0, 1, 2, 3}});
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
        std::vector<uint16_t> pixels = testsupport::ReadBackBuffer();
        pixels.resize(640 * 480);
        return pixels;
    }

    testsupport::MainView main;
    Surface red;
};

TEST_F(BoardDrawing, SquareFillsItsProjectedPixels) {
    const std::vector<uint16_t> pixels = Draw();
    // Side 2 at depth 10: 110.85 pixels, centred on (320, 240); its fill is the raster tests'.
    for (int at : {240 * 640 + 320, 190 * 640 + 270, 290 * 640 + 370})
        EXPECT_EQ(pixels[at], Red) << at;
    for (int at : {240 * 640 + 380, 180 * 640 + 320, 0})
        EXPECT_EQ(pixels[at], 0) << at;
}

} // namespace
