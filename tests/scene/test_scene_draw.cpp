// Drawing scenes: the frame counter, hierarchy, lights, camera and known frames' pixels.
#include "glide/glide.h"
#include "scene/scene.h"
#include "scene_fixtures.h"
#include "tests/support/board_pixels.h"
#include "tests/support/geometry_fixtures.h"
#include "tests/support/show_board.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using scenetest::At;
using scenetest::KeyText;
using scenetest::MotionText;
using testsupport::VectorNear;

namespace {

bool LoadText(Scene& scene, const std::string& body) {
    const std::string text = "LWSC\n1\n\n" + body;
    return scene.LoadText(text.data(), text.size(), 640, 480, nullptr, nullptr);
}

std::string NullItem(const std::vector<KeyText>& keys, const std::string& extra = "") {
    return "AddNullObject\nObjectMotion\n" + MotionText(keys, 1) + extra + "\n";
}

KeyText Turned(int frame, float x, float y, float z, float headingDegrees) {
    KeyText key = At(frame, x, y, z);
    key.value[3] = headingDegrees;
    return key;
}

} // namespace

TEST(SceneFrames, TheReturnedFrameNumbers) {
    Scene scene;
    ASSERT_TRUE(LoadText(scene, "FirstFrame 0\nLastFrame 60\nFrameStep 1\n\n" +
                                    NullItem({At(0, 0, 0, 0), At(60, 6, 0, 0)})));
    for (int expected = 1; expected <= 60; ++expected)
        ASSERT_EQ(scene.DrawFrame(), expected);
    EXPECT_EQ(scene.DrawFrame(), 0); // the call that drew frame 60, and every call after
    EXPECT_EQ(scene.DrawFrame(), 0);
    scene.SetCurrentFrame(0);
    scene.SetFrameStep(0.5f);
    EXPECT_EQ(scene.DrawFrame(), 0); // 0.5 truncates to 0
    EXPECT_EQ(scene.DrawFrame(), 1);
}

TEST(SceneFrames, PlacesChildrenLightsAndTheCamera) {
    Scene scene;
    // Item 2 hangs on item 1's x; the light takes item 1's motion position; the camera item 2's.
    ASSERT_TRUE(LoadText(
        scene, "FirstFrame 0\nLastFrame 10\n\n" + NullItem({Turned(0, 10, 0, 0, 90)}) +
                   NullItem({At(0, 1, 0, 0)}, "ParentObject 1\n") + "AddLight\nLightMotion\n" +
                   MotionText({At(0, 0, 5, 0)}, 1) + "ParentObject 1\n\nCameraMotion\n" +
                   MotionText({Turned(0, 0, 0, -20, 30)}, 1) + "ParentObject 2\n\n"));
    scene.DrawFrame();
    // Heading 90 (stored -pi/2) turns the item's +x to world -z (and +z to +x).
    EXPECT_TRUE(VectorNear(scene.items[1]->object.GetPosition(), {10, 0, -1}, 1e-5f));
    EXPECT_TRUE(scene.lights[0]->position.x == 10 && scene.lights[0]->position.y == 5);
    EXPECT_TRUE(VectorNear(scene.view.camera.GetPosition(), {10, 0, -21}, 1e-5f));
    // The camera keeps its own heading, whatever its parent does.
    EXPECT_NEAR(scene.view.camera.matrix.m[0][0], std::cos(std::acos(-1.0) / 6), 1e-6);
}

// Children take their parent's matrix as it stands in list order, so a child listed before its
// parent lags a frame. C (one up) hangs on P (five deep) on R (x 0 to 10 over frames 0 to 10).
TEST(SceneFrames, AChildListedBeforeItsParentLagsAFrame) {
    Scene scene;
    ASSERT_TRUE(LoadText(scene, "FirstFrame 0\nLastFrame 10\nFrameStep 0\n\n" +
                                    NullItem({At(0, 0, 1, 0)}, "ParentObject 2\n") +
                                    NullItem({At(0, 0, 0, 5)}, "ParentObject 3\n") +
                                    NullItem({At(0, 0, 0, 0), At(10, 10, 0, 0)})));
    const ObjectInstance& child = scene.items[0]->object;
    const ObjectInstance& parent = scene.items[1]->object;
    // Frame drawn, then the x of R that frame and of R the frame before.
    const float frames[3][3] = {{0, 0, 0}, {5, 5, 0}, {8, 8, 5}};
    for (const auto& frame : frames) {
        scene.SetCurrentFrame(frame[0]);
        scene.DrawFrame();
        EXPECT_NEAR(parent.GetPosition().x, frame[1], 1e-5) << "frame " << frame[0];
        EXPECT_TRUE(VectorNear(child.GetPosition(), {frame[2], 1, 5}, 1e-5f))
            << "frame " << frame[0];
    }
}

class SceneDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scenetest::WriteWhole(dir.PathOf("cube.lwo"), lwobtest::Cube(1.0f)));
        ASSERT_TRUE(testsupport::OpenShowBoard());
        grDitherMode(GR_DITHER_DISABLE);
        grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
        grDepthMask(FXTRUE);
    }
    void TearDown() override {
        grSstWinClose();
        grGlideShutdown();
    }

    void DrawAt(float frame) {
        grBufferClear(0, 0, 0xFFFF);
        scene.SetCurrentFrame(frame);
        scene.DrawFrame();
    }

    // The back buffer's 565 pixel at (x, y).
    uint32_t Pixel(int x, int y) {
        const std::vector<uint16_t> pixels = testsupport::ReadBackBuffer();
        return pixels.size() == 640 * 480 ? pixels[y * 640 + x] : 0xFFFFFFFF;
    }
    int Green(int x, int y) { return ((Pixel(x, y) >> 5) & 63) << 2; }

    scenetest::ScratchFolder dir;
    Scene scene;
};

TEST_F(SceneDrawing, AKnownFrameAndTheCubeMovingAcross) {
    // The hand-written cube scene, lit from the camera.
    Scene::surfaceTurn = 0; // the first item is green
    const std::string text = scenetest::CubeScene(
        dir.PathOf("cube.lwo"), "AddLight\nLightMotion\n" + MotionText({At(0, 0, 0, -10)}, 1) +
                                    "LightColor 255 255 255\nLgtIntensity 1\n\n");
    ASSERT_TRUE(scene.LoadText(text.data(), text.size(), 640, 480, nullptr, nullptr));
    View* const mainView = CurrentView;

    DrawAt(30); // the cube in the middle: its front face covers the centre
    EXPECT_EQ(CurrentView, mainView);
    // Corner normals average three faces: N·L ≈ 0.444, green 200 × (0.249 + 0.444 × 0.996) ≈ 138.
    EXPECT_EQ(Pixel(320, 240) & 0xF81F, 0u);
    EXPECT_NEAR(Green(320, 240), 138, 6);
    // The front face spans 554.26 / 9 ≈ 61.6 pixels either side of the centre.
    EXPECT_GT(Green(320 + 55, 240 + 55), 0);
    EXPECT_EQ(Green(320 + 70, 240), 0);
    EXPECT_EQ(Green(10, 10), 0);

    // Frame 0: x = -3 puts the cube centre 166 pixels left of the middle.
    DrawAt(0);
    EXPECT_TRUE(Green(320 - 166, 240) > 0 && Green(320, 240) == 0);
    DrawAt(60);
    EXPECT_TRUE(Green(320 + 166, 240) > 0 && Green(320 - 166, 240) == 0);
}
