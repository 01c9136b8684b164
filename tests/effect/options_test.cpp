// The options screen: set-up, cursor, sliders, picking and the stretches.
#include "assets/lwsc_writer.h"
#include "effect/effect.h"
#include "effect/mouse_input.h"
#include "effect/options.h"
#include "effect/options_parts.h"
#include "effect/params.h"
#include "glide/board.h"
#include "tests/effect/effect_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

using namespace options;
using effect_test::Workspace;

// Knob tracks 0.4 apart at y = 1, buttons at y = -2, camera at z = -8; rests at frame 500.
std::string OptionsSceneText() {
    assets::SceneDescription scene;
    scene.firstFrame = 500.0f;
    scene.lastFrame = 1200.0f;
    scene.frameStep = 0.0f;
    scene.ambientIntensity = 0.5f;
    auto add = [&](const std::string& name, float x, float y, int parent) {
        assets::SceneObject object;
        (name.empty() ? object.nullName : object.file) =
            name.empty() ? "Track" : "objects\\" + name;
        object.motion = {assets::SceneKey{0, x, y, 0.0f}};
        object.parent = parent;
        scene.objects.push_back(object);
    };
    for (int i = 0; i < ButtonCount; ++i) {
        if (i < ParameterCount) {
            add("", -3.4f + 0.4f * static_cast<float>(i), 1.0f, 0);
            add(buttonNames[i], 0.0f, 0.0f, static_cast<int>(scene.objects.size()));
        } else {
            add(buttonNames[i], i < SlotCursor ? -2.0f + static_cast<float>(i - SlotColour) : 0.0f,
                i < SlotCursor ? -2.0f : 0.0f, 0);
        }
    }
    scene.light.motion = {assets::SceneKey{0, 0.0f, 5.0f, -5.0f}};
    scene.camera = {assets::SceneKey{0, 0.0f, 0.0f, -8.0f}};
    return assets::SceneText(scene);
}

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < ButtonCount; ++i)
            effect_test::WriteSquare(std::string("objects/") + buttonNames[i], 0.1f);
        testsupport::WriteWhole("scenes/ZT-Options.lws", OptionsSceneText());
        mouseDeltaX = mouseDeltaY = 0;
        mouseButtons = 0;
        std::srand(5);
    }
    void TearDown() override { OptionsRelease(); }

    void StartInteractive() {
        ASSERT_TRUE(OptionsSetUp(false));
        Frame(0, 0, 0); // places every item in the world
    }
    bool Frame(int32_t dx, int32_t dy, uint32_t buttons) {
        mouseDeltaX += dx;
        mouseDeltaY += dy;
        mouseButtons = buttons;
        return OptionsFrame();
    }
    MotionKey& Key(int32_t slot) { return buttonItems[slot]->motion.keys[0]; }
    bool MoveTo(float x, float y, uint32_t buttons) {
        const MotionKey& cursor = Key(SlotCursor);
        return Frame(static_cast<int32_t>(std::lround((x - cursor.value[0]) / 0.01)),
                     static_cast<int32_t>(std::lround((cursor.value[1] - y) / 0.01)), buttons);
    }
    bool MoveToButton(int32_t slot, uint32_t buttons) {
        const Vector3 p = buttonItems[slot]->object.GetPosition();
        return MoveTo(p.x, p.y, buttons);
    }

    Workspace workspace;
};

TEST_F(OptionsTest, SetUpNeedsTheSceneOnlyForTheInteractiveScreen) {
    // The watch-only show draws the drifting effect alone and ignores the mouse.
    ASSERT_TRUE(OptionsSetUp(true));
    EXPECT_TRUE(theEffect.drifting);
    const float x = Key(SlotCursor).value[0];
    const uint64_t swaps = glide::Counters().frames;
    EXPECT_TRUE(Frame(300, 50, 1));
    EXPECT_EQ(glide::Counters().frames, swaps + 1);
    EXPECT_EQ(Key(SlotCursor).value[0], x);
    OptionsRelease();

    StartInteractive();
    EXPECT_FALSE(theEffect.drifting) << "the user sets the values here";
    EXPECT_FALSE(buttonItems[ParamDelay]->object.TestFlags(InstanceShown));
    OptionsRelease();

    std::remove("scenes/ZT-Options.lws");
    EXPECT_FALSE(OptionsSetUp(false));
    OptionsRelease();
    EXPECT_TRUE(OptionsSetUp(true));
}

TEST_F(OptionsTest, CursorFollowsTheMouseWithinItsLimits) {
    StartInteractive();
    Frame(100, 0, 0);
    EXPECT_FLOAT_EQ(Key(SlotCursor).value[0], 1.0f);
    EXPECT_EQ(mouseDeltaX, 0);
    Frame(0, 50, 0); // the mouse down moves the cursor down
    EXPECT_FLOAT_EQ(Key(SlotCursor).value[1], -0.5f);
    Frame(-10000, 10000, 0);
    EXPECT_EQ(Key(SlotCursor).value[0], CursorLeft);
    EXPECT_EQ(Key(SlotCursor).value[1], CursorBottom);
}

TEST_F(OptionsTest, DraggingAKnobSetsItsParameter) {
    StartInteractive();
    MoveToButton(ParamPScaleY, 0);
    const float start = Key(ParamPScaleY).value[1];
    Frame(0, 0, 1); // press: the knob is picked and the cursor hidden
    EXPECT_EQ(selected, ParamPScaleY);
    EXPECT_FALSE(buttonItems[SlotCursor]->object.TestFlags(InstanceShown));
    Frame(0, -50, 1); // 50 pixels up: 0.01 a pixel
    const float h = Key(ParamPScaleY).value[1];
    EXPECT_NEAR(h, start + 0.5f, 1e-5f);
    EXPECT_NEAR(theEffect.master.PScaleY, ValueFromKnob(ParamPScaleY, h), 1e-3f);
    Frame(0, 2, 3); // with the right button: ten times faster
    EXPECT_NEAR(Key(ParamPScaleY).value[1], h - 0.2f, 1e-5f);
    Frame(0, 1000, 3); // stops at the bottom
    EXPECT_EQ(Key(ParamPScaleY).value[1], KnobBottom);
    // Sliding off the knob keeps it selected; it goes on following the mouse.
    Frame(300, -20, 1);
    EXPECT_EQ(selected, ParamPScaleY);
    EXPECT_NEAR(Key(ParamPScaleY).value[1], KnobBottom + 20 * 0.01f, 1e-5f);
    Frame(0, 0, 0); // release
    EXPECT_EQ(selected, -1);
    EXPECT_TRUE(buttonItems[SlotCursor]->object.TestFlags(InstanceShown));
}

// The ends and middle of the ranges, through the sliders.
TEST_F(OptionsTest, SlidersSetTheValuesOfTheirStops) {
    StartInteractive();
    const struct {
        int32_t slot;
        float knob, value;
        const float& got;
    } rows[] = {{ParamPRotVelY, KnobTop, -1.0f, theEffect.master.PRotVel[1]},
                {ParamCARotVelZ, KnobBottom, 0.2f, theEffect.CARotVel[2]},
                {ParamPCenterY, 0.0f, 25.0f, theEffect.PCenterY}};
    for (const auto& row : rows) {
        ApplySlider(row.slot, row.knob);
        EXPECT_FLOAT_EQ(row.got, row.value) << buttonNames[row.slot];
    }
}

TEST_F(OptionsTest, PickingFindsTheFirstButtonUnderTheCursor) {
    StartInteractive();
    MoveTo(0.0f, 0.3f, 0); // empty space
    EXPECT_EQ(PickButton(), -1);
    MoveToButton(ParamDelay, 0); // hidden, but it still picks
    EXPECT_EQ(PickButton(), ParamDelay);
    // Put the track of knob 9 onto that of knob 8: the lower index wins.
    SceneItem* track9 = optionsScene.items[buttonItems[9]->parent];
    track9->motion.keys[0].value[0] = -3.4f + 0.4f * 8;
    Frame(0, 0, 0);
    MoveToButton(9, 0);
    EXPECT_EQ(PickButton(), 8);
}

TEST_F(OptionsTest, KnobsFollowTheEffectExceptTwistAndResetActsWhileHeld) {
    StartInteractive();
    Key(ParamTwist).value[1] = 0.2f;
    theEffect.SetCADist(25.0f);
    Frame(0, 0, 0);
    EXPECT_FLOAT_EQ(Key(ParamCADist).value[1], KnobFromValue(ParamCADist, 25.0f));
    // Held on empty space, then slid onto Reset: Reset acts on every frame while held.
    MoveTo(0.0f, -1.0f, 1);
    EXPECT_EQ(selected, -1);
    MoveToButton(SlotReset, 1);
    EXPECT_EQ(selected, SlotReset);
    theEffect.SetPScale(7.0f, 0.0f);
    Frame(0, 0, 1);
    EXPECT_EQ(theEffect.master.PScaleX, 1.0f);
    Frame(0, 0, 0);
    EXPECT_EQ(theEffect.master.Twist, 0);
    EXPECT_EQ(Key(ParamTwist).value[1], 0.2f);
    EXPECT_FLOAT_EQ(Key(ParamPScaleX).value[1], KnobFromValue(ParamPScaleX, 1.0f));
}

TEST_F(OptionsTest, AboutPlaysToTheHoldAndOnToTheEndAfterAButton) {
    StartInteractive();
    MoveToButton(SlotAbout, 1);
    EXPECT_EQ(optionsScene.currentFrame, 0.0f);
    for (int i = 0; i < 59; ++i) // holds at 39
        Frame(0, 0, 0);
    EXPECT_EQ(optionsScene.currentFrame, 39.0f);
    EXPECT_EQ(showMode, ShowMode::Playing);
    Frame(0, 0, 2);              // either button lets it run on
    for (int i = 0; i < 61; ++i) // to 100: back to the resting frame, frozen
        Frame(0, 0, 0);
    EXPECT_EQ(showMode, ShowMode::Interactive);
    EXPECT_EQ(optionsScene.currentFrame, 500.0f);
    EXPECT_EQ(optionsScene.frameStep, 0.0f);
}

TEST_F(OptionsTest, ColourAndAnimPlayTheirStretches) {
    StartInteractive();
    MoveToButton(SlotAnim, 1);
    EXPECT_EQ(optionsScene.currentFrame, 1100.0f);
    for (int i = 0; i < 100; ++i)
        Frame(0, 0, 0);
    EXPECT_EQ(showMode, ShowMode::Interactive);
    EXPECT_EQ(optionsScene.currentFrame, 500.0f);
    // Colour, still held when its stretch ends, acts again on the next frame.
    Frame(0, 0, 0);
    MoveToButton(SlotColour, 1);
    for (int i = 0; i < 100; ++i)
        Frame(0, 0, 1);
    EXPECT_EQ(optionsScene.currentFrame, 500.0f);
    Frame(0, 0, 1);
    EXPECT_EQ(optionsScene.currentFrame, 1000.0f);
}

TEST_F(OptionsTest, InteractiveFramesAllocateNothing) {
    StartInteractive();
    MoveToButton(ParamCADist, 0);
    const long made = effect_test::AllocationsDuring([&] {
        Frame(0, 0, 1); // pick and drag a slider
        for (int i = 0; i < 30; ++i)
            Frame(3, (i % 7) - 3, i < 20 ? 1u : 0u);
        MoveToButton(SlotAbout, 1); // and play a stretch
        for (int i = 0; i < 60; ++i)
            Frame(-2, 1, 0);
    });
    EXPECT_EQ(made, 0);
    EXPECT_NE(theEffect.master.CADist, 10.0f);
}

} // namespace
