// The generated archive's options scene, set up as the program does, against the screen's needs.
#include "assets/options_layout.h"
#include "effect/effect.h"
#include "effect/mouse_input.h"
#include "effect/options.h"
#include "effect/options_parts.h"
#include "effect/params.h"
#include "geometry/view.h"
#include "glide/glide.h"
#include "tests/support/board_pixels.h"
#include "tests/support/show_board.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"
#include "toolkit/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace options;

// Pixel position of a world point through the options scene's camera.
struct ScreenPoint {
    float x, y, depth;
};
ScreenPoint Project(const Vector3& world) {
    const View& view = optionsScene.view;
    Vector3 p = view.viewMatrix.TransformPoint(world);
    return {view.halfWidth + view.xScale * p.x / p.z, view.halfHeight - view.yScale * p.y / p.z,
            p.z};
}

class OptionsContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(ToolkitStartup());
        ASSERT_GT(ArchiveOpen(SOLVANE_ARCHIVE), 0u) << SOLVANE_ARCHIVE << ": " << ArchiveFailure();
        ASSERT_TRUE(testsupport::OpenShowBoard());
        reportText[0] = '\0';
        Scene::surfaceTurn = 0; // as in the program, whose first scene this is
        mouseDeltaX = mouseDeltaY = 0;
        mouseButtons = 0;
        ASSERT_TRUE(OptionsSetUp(false)) << reportText;
        ASSERT_TRUE(OptionsFrame()); // places every item in the world
    }
    static void TearDownTestSuite() {
        OptionsRelease();
        grSstWinClose();
        grGlideShutdown();
        ArchiveRelease(nullptr);
        ToolkitShutdown();
    }
    void SetUp() override { ASSERT_EQ(ready, 1) << "the options screen did not set up"; }

    // Draws the scene at frame without advancing it.
    static void DrawAt(float frame) {
        optionsScene.SetCurrentFrame(frame);
        optionsScene.SetFrameStep(0.0f);
        optionsScene.DrawFrame();
    }
    static void BackToRest() {
        DrawAt(optionsScene.firstFrame);
        showMode = ShowMode::Interactive;
    }
    static MotionKey& Key(int32_t slot) { return buttonItems[slot]->motion.keys[0]; }
    static void PutCursor(float x, float y) {
        Key(SlotCursor).value[0] = x;
        Key(SlotCursor).value[1] = y;
    }
    static void PutCursorAtPixel(float px, float py) {
        const double z = buttonItems[SlotCursor]->object.GetPosition().z;
        PutCursor(assets::SceneX(px, z), assets::SceneY(py, z));
    }
    static std::vector<uint16_t> DrawnPixels() {
        grBufferClear(0, 0, 0xFFFF);
        grDepthMask(FXTRUE);
        grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ZERO, GR_BLEND_ZERO);
        grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
        DrawAt(optionsScene.firstFrame);
        return testsupport::ReadBackBuffer();
    }
};

// Relative luminance of a 565 pixel (sRGB channels made linear).
double Luminance(uint16_t pixel) {
    auto linear = [](int value, int bits) {
        const double c = value / double((1 << bits) - 1);
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(pixel >> 11, 5) + 0.7152 * linear((pixel >> 5) & 63, 6) +
           0.0722 * linear(pixel & 31, 5);
}
bool IsLabelGreen(uint16_t pixel) {
    const int r = (pixel >> 11) << 3, g = ((pixel >> 5) & 63) << 2, b = (pixel & 31) << 3;
    return g > 64 && g > 2 * r && g > 2 * b;
}

TEST_F(OptionsContent, BindsAllTwentyFourNamesWithKnobsOnRootTracks) {
    for (int i = 0; i < ButtonCount; ++i)
        ASSERT_NE(buttonItems[i], nullptr) << buttonNames[i];
    EXPECT_STREQ(reportText, "");
    for (int i = 0; i < ParameterCount; ++i) {
        const SceneItem* knob = buttonItems[i];
        ASSERT_GE(knob->parent, 0) << buttonNames[i];
        EXPECT_EQ(optionsScene.items[knob->parent]->parent, -1) << buttonNames[i];
        EXPECT_EQ(knob->motion.keys[0].value[0], 0.0f) << "the cursor is put at the track's x";
    }
    EXPECT_EQ(buttonItems[SlotCursor]->parent, -1);
    // The Twist knob is never synchronised: the scene shows the start value 0.
    EXPECT_EQ(Key(ParamTwist).value[1], KnobFromValue(ParamTwist, 0.0f));
}

// The scene file places every knob at its start value, as synchronising would.
TEST_F(OptionsContent, SceneFilePlacesEveryKnobAtItsStartValue) {
    Scene fresh;
    SceneItem* found[ButtonCount] = {};
    ASSERT_TRUE(fresh.Load("scenes\\ZT-Options.lws", 640, 480, buttonNames, found));
    SyncKnobs(); // the knobs of the screen's own scene at the effect's start values
    for (int i = 0; i < ParameterCount; ++i) {
        ASSERT_NE(found[i], nullptr);
        EXPECT_NEAR(found[i]->motion.keys[0].value[1], Key(i).value[1], 1e-5f) << buttonNames[i];
    }
}

TEST_F(OptionsContent, FrameRangeKeepsTheRestingFrameClearOfTheStretchEnds) {
    const int32_t first = static_cast<int32_t>(optionsScene.firstFrame);
    EXPECT_TRUE(first > 39 && first != 100 && first != 1100 && first != 1200) << first;
    // Each stretch, played at one frame per call, reaches its end event.
    for (const auto& [start, end] :
         {std::pair<float, int32_t>{0, 39}, {40, 100}, {1000, 1100}, {1100, 1200}}) {
        optionsScene.SetCurrentFrame(start);
        optionsScene.SetFrameStep(1.0f);
        int32_t r = 0;
        for (int i = 0; i < 200 && r != end; ++i)
            r = optionsScene.DrawFrame();
        EXPECT_EQ(r, end) << "stretch from " << start;
    }
    BackToRest();
}

// Every stretch starts and ends in the resting pose, so the screen's jumps never show.
TEST_F(OptionsContent, EveryMotionRestsAtTheEndsOfEachStretch) {
    const float first = optionsScene.firstFrame;
    auto same = [](const Motion& motion, double frame, double rest, const char* what) {
        float a[9], b[9];
        motion.Evaluate(a, frame);
        motion.Evaluate(b, rest);
        for (int c = 0; c < 6; ++c)
            EXPECT_NEAR(a[c], b[c], 1e-4f) << what << " channel " << c << " at frame " << frame;
    };
    for (double frame : {0.0, 100.0, 1000.0, 1100.0, 1200.0}) {
        for (int i = 0; i < optionsScene.itemCount; ++i) {
            const SceneItem* item = optionsScene.items[i];
            same(item->motion, frame, first, item->objectFile ? item->objectFile->name : "null");
        }
        for (int i = 0; i < optionsScene.lightCount; ++i)
            same(optionsScene.lights[i]->motion, frame, first, "light");
        same(optionsScene.cameraMotion, frame, first, "camera");
    }
}

TEST_F(OptionsContent, CursorClampRangeSpansTheScreen) {
    const float z = buttonItems[SlotCursor]->object.GetPosition().z;
    ScreenPoint low = Project({CursorLeft, CursorBottom, z});
    ScreenPoint high = Project({CursorRight, CursorTop, z});
    EXPECT_NEAR(low.x, 0.0f, 1.0f);
    EXPECT_NEAR(high.x, 640.0f, 1.0f);
    EXPECT_NEAR(high.y, 0.0f, 1.0f);
    EXPECT_NEAR(low.y, 480.0f, 1.0f);
}

TEST_F(OptionsContent, ButtonsLieOnThePanelAndKnobsPickAtEveryHeight) {
    const MotionKey cursorRest = Key(SlotCursor);
    // Every button lies on the screen right of the effect's picture.
    for (int i = 0; i < SlotCursor; ++i) {
        const ObjectInstance& object = buttonItems[i]->object;
        const ScreenPoint centre = Project(object.GetPosition());
        const float reach = object.radius * optionsScene.view.xScale / centre.depth;
        EXPECT_GT(centre.x - reach, 378.0f) << buttonNames[i];
        EXPECT_LT(centre.x + reach, 640.0f) << buttonNames[i];
        EXPECT_GT(centre.y, 0.5f * reach) << buttonNames[i];
        EXPECT_LT(centre.y, 480.0f - 0.5f * reach) << buttonNames[i];
    }
    // Knobs at their top, middle and bottom pick with the cursor where dragging puts it.
    for (int i = 0; i < ParameterCount; ++i) {
        const float keep = Key(i).value[1];
        for (float h : {KnobTop, 0.0f, KnobBottom}) {
            Key(i).value[1] = h;
            DrawAt(optionsScene.firstFrame);
            float track[9];
            optionsScene.items[buttonItems[i]->parent]->motion.Evaluate(track,
                                                                        optionsScene.currentFrame);
            PutCursor(track[0], track[1] + h);
            EXPECT_EQ(PickButton(), i) << buttonNames[i] << " at " << h;
        }
        Key(i).value[1] = keep;
    }
    Key(SlotCursor) = cursorRest;
    BackToRest();
}

// A press on a push button's 46 × 22 plate near its edge picks it; above or beside, nothing.
TEST_F(OptionsContent, APressCountsOnlyOnTheButtonsPlate) {
    const MotionKey cursorRest = Key(SlotCursor);
    const float halfWidth = 23.0f, halfHeight = 11.0f;
    for (int i = SlotColour; i <= SlotQuit; ++i) {
        SCOPED_TRACE(buttonNames[i]);
        const ScreenPoint centre = Project(buttonItems[i]->object.GetPosition());
        PutCursorAtPixel(centre.x + halfWidth - 2.0f, centre.y - halfHeight + 2.0f);
        EXPECT_EQ(PickButton(), i) << "in the corner";
        PutCursorAtPixel(centre.x, centre.y - halfHeight - 3.0f);
        EXPECT_EQ(PickButton(), -1) << "above";
        PutCursorAtPixel(centre.x - halfWidth - 1.5f, centre.y);
        EXPECT_EQ(PickButton(), -1) << "beside";
    }
    Key(SlotCursor) = cursorRest;
}

// On a blue and the red plate the label keeps its margin and a contrast of at least 4.5.
TEST_F(OptionsContent, ButtonLabelsAreClearOfTheirEdgesAndStandOut) {
    const std::vector<uint16_t> pixels = DrawnPixels();
    ASSERT_EQ(pixels.size(), 640u * 480u);
    const int halfWidth = 23, halfHeight = 11, margin = 4; // pixels of the 46 x 22 plate
    for (int i : {int(SlotColour), int(SlotQuit)}) {
        SCOPED_TRACE(buttonNames[i]);
        const ScreenPoint centre = Project(buttonItems[i]->object.GetPosition());
        const int cx = static_cast<int>(std::lround(centre.x));
        const int cy = static_cast<int>(std::lround(centre.y));
        uint16_t label = 0, face = 0;
        int labelCount = 0;
        for (int y = cy - halfHeight; y <= cy + halfHeight; ++y) {
            for (int x = cx - halfWidth; x <= cx + halfWidth; ++x) {
                const uint16_t pixel = pixels[y * 640 + x];
                const bool inFace = std::abs(x - cx) <= halfWidth - margin &&
                                    std::abs(y - cy) <= halfHeight - margin;
                if (IsLabelGreen(pixel)) {
                    EXPECT_TRUE(inFace) << "label pixel at " << x << ", " << y;
                    label = pixel;
                    ++labelCount;
                } else if (inFace) {
                    face = pixel;
                }
            }
        }
        ASSERT_GT(labelCount, 20) << "no label";
        EXPECT_GE((Luminance(label) + 0.05) / (Luminance(face) + 0.05), 4.5);
    }
    BackToRest();
}

} // namespace
