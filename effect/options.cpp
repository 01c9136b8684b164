// The options screen: the watch-only show of the effect alone, or the effect
// beside the interactive options scene with its sliders, buttons and 3D cursor.
#include "effect/options.h"

#include "effect/effect.h"
#include "effect/mouse_input.h"
#include "effect/options_parts.h"
#include "effect/params.h"
#include "geometry/view.h"
#include "glide/glide.h"

#include <algorithm>
#include <cmath>

ShowMode showMode = ShowMode::WatchOnly;

namespace options {

// The knobs' and push buttons' objects are named after them.
#define SOLVANE_BUTTON_OBJECT(name, ...) "ZTOB-Btn" #name ".lwo",
const char* const buttonNames[ButtonCount + 1] = {
    SOLVANE_EFFECT_PARAMETERS(SOLVANE_BUTTON_OBJECT) // the slider knobs, in parameter order
    SOLVANE_PUSH_BUTTONS(SOLVANE_BUTTON_OBJECT) "ZTOB-MCursor.lwo",
    nullptr,
};
#undef SOLVANE_BUTTON_OBJECT

SceneItem* buttonItems[ButtonCount] = {};
int32_t selected = -1;
int32_t ready = 0;
Scene optionsScene;

namespace {

constexpr double CursorUnitsPerPixel = 0.01;
constexpr double RightButtonFactor = 10.0;
constexpr double PickEpsilon = 0.00001;
constexpr uint32_t LeftButton = 1;
constexpr uint32_t RightButton = 2;

// Frames of the options scene's animation: the About stretch starts at 0, holds
// at 39 and ends at 100; Colour plays 1000 to 1100, Anim 1100 to 1200.
constexpr int32_t AboutHoldFrame = 39;
constexpr int32_t AboutEndFrame = 100;
constexpr int32_t ColourEndFrame = 1100;
constexpr int32_t AnimEndFrame = 1200;
constexpr float ColourStartFrame = 1000.0f;
constexpr float AnimStartFrame = 1100.0f;

// The first key of an item's motion: its resting place, written to move it.
// Null for a missing item or one whose motion has no keys.
MotionKey* FirstKey(SceneItem* item) {
    if (!item || !item->motion.keys || item->motion.keyCount < 1)
        return nullptr;
    return &item->motion.keys[0];
}

float Clamp(double v, float low, float high) {
    if (v < low)
        return low;
    if (v > high)
        return high;
    return static_cast<float>(v);
}

void ShowButton(int32_t slot, int on) {
    if (buttonItems[slot])
        buttonItems[slot]->object.SetFlags(InstanceShown, on);
}

// Drags the knob of slider index by the mouse and keeps the cursor on it.
void DragSlider(int32_t index, SceneItem* cursor) {
    ShowButton(SlotCursor, 0);
    SceneItem* knob = buttonItems[index];
    MotionKey* knobKey = FirstKey(knob);
    if (!knobKey)
        return;
    double step = sliderTable[index].dragStep;
    if (mouseButtons & RightButton)
        step *= RightButtonFactor;
    const float h = Clamp(knobKey->value[1] - mouseDeltaY * step, KnobBottom, KnobTop);
    knobKey->value[1] = h;
    ApplySlider(index, h);

    // The cursor sits on the knob: the track's place plus the knob's height. A
    // knob without a track leaves the cursor where the mouse put it.
    MotionKey* cursorKey = FirstKey(cursor);
    const int32_t parent = knob->parent;
    if (!cursorKey || parent < 0 || parent >= optionsScene.itemCount || !optionsScene.items[parent])
        return;
    float track[MotionChannels];
    optionsScene.items[parent]->motion.Evaluate(track, optionsScene.currentFrame);
    cursorKey->value[0] = track[0];
    cursorKey->value[1] = track[1] + h;
}

// A projected view-space coordinate as a screen coordinate, rounded to float.
float ScreenX(const View& view, const Vector3& p) {
    return static_cast<float>(view.halfWidth + view.xScale * (p.x / (p.z + PickEpsilon)) +
                              view.xOffset);
}
float ScreenY(const View& view, const Vector3& p) {
    return static_cast<float>(view.halfHeight - view.yScale * (p.y / (p.z + PickEpsilon)) +
                              view.yOffset);
}

// Whether the screen point (x, y) lies within the rectangle that bounds the
// projected points of object as last drawn: the picture of the button itself.
// An object without points, or with a point at or behind the camera, holds none.
bool InProjectedBox(const View& view, const ObjectInstance& object, float x, float y) {
    const Mesh* mesh = object.mesh;
    if (!mesh || !mesh->points || mesh->pointCount < 1)
        return false;
    float left = 0.0f, right = 0.0f, top = 0.0f, bottom = 0.0f;
    for (int i = 0; i < mesh->pointCount; ++i) {
        const Vector3 world = object.matrix.TransformPoint(mesh->points[i]);
        const Vector3 p = view.viewMatrix.TransformPoint(world);
        if (!(p.z > 0.0f))
            return false;
        const float sx = ScreenX(view, p);
        const float sy = ScreenY(view, p);
        if (i == 0) {
            left = right = sx;
            top = bottom = sy;
        }
        left = std::min(left, sx);
        right = std::max(right, sx);
        top = std::min(top, sy);
        bottom = std::max(bottom, sy);
    }
    return x >= left && x <= right && y >= top && y <= bottom;
}

} // namespace

bool UpdateInterface() {
    SceneItem* cursor = buttonItems[SlotCursor];
    if (!cursor)
        return true;

    // 0.01 scene units per pixel; moving the mouse down moves the cursor down.
    if (MotionKey* key = FirstKey(cursor)) {
        key->value[0] =
            Clamp(key->value[0] + mouseDeltaX * CursorUnitsPerPixel, CursorLeft, CursorRight);
        key->value[1] =
            Clamp(key->value[1] - mouseDeltaY * CursorUnitsPerPixel, CursorBottom, CursorTop);
    }

    if (showMode == ShowMode::Interactive) {
        if (mouseButtons & LeftButton) {
            // A button stays selected while the left button is held, even when
            // the cursor leaves it; until one is hit, picking is tried each frame.
            if (selected == -1)
                selected = PickButton();
            if (selected >= 0 && selected < ParameterCount) {
                DragSlider(selected, cursor);
            } else {
                switch (selected) {
                case SlotColour:
                    showMode = ShowMode::ColourStart;
                    break;
                case SlotAnim:
                    showMode = ShowMode::AnimStart;
                    break;
                case SlotReset:
                    theEffect.Reset();
                    break;
                case SlotAbout:
                    showMode = ShowMode::AboutStart;
                    break;
                case SlotQuit:
                    return false;
                default:
                    break;
                }
            }
        } else {
            selected = -1;
            ShowButton(SlotCursor, 1);
        }
    }

    mouseDeltaX = 0;
    mouseDeltaY = 0;
    return true;
}

int32_t PickButton() {
    SceneItem* cursor = buttonItems[SlotCursor];
    const MotionKey* cursorKey = FirstKey(cursor);
    if (!cursorKey)
        return -1;
    const View& view = optionsScene.view;
    // The cursor's x and y as just moved, its depth as last drawn.
    const Vector3 cursorPoint{cursorKey->value[0], cursorKey->value[1],
                              cursor->object.GetPosition().z};
    const Vector3 c = view.viewMatrix.TransformPoint(cursorPoint);
    const float cursorX = ScreenX(view, c);
    const float cursorY = ScreenY(view, c);

    for (int32_t i = 0; i < SlotCursor; ++i) {
        const SceneItem* item = buttonItems[i];
        if (!item)
            continue;
        const Vector3 b = view.viewMatrix.TransformPoint(item->object.GetPosition());
        const float r = item->object.radius;
        // The bounding radius projected at the button's depth; behind the camera
        // the extent is negative and nothing is hit.
        const float rx = r * view.xScale / b.z;
        const float ry = r * view.yScale / b.z;
        const float dx = std::fabs(std::trunc(ScreenX(view, b) - cursorX));
        const float dy = std::fabs(std::trunc(ScreenY(view, b) - cursorY));
        // The square reaches past a plate that is not square (past a 46 x 22
        // pixel plate by some 14 pixels above and below): a press counts only
        // on the button's own picture as well.
        if (dx < rx && dy < ry && InProjectedBox(view, item->object, cursorX, cursorY))
            return i;
    }
    return -1;
}

void ApplySlider(int32_t index, float y) {
    if (index < 0 || index >= ParameterCount)
        return;
    sliderTable[index].set(theEffect, ValueFromKnob(index, y));
}

void SyncKnobs() {
    // Num's value is the number of copies; Twist's knob stays where it was dragged.
    for (int32_t index = 0; index < ParameterCount; ++index) {
        const SliderRow& row = sliderTable[index];
        if (row.knob != KnobSync::Follows)
            continue;
        if (MotionKey* key = FirstKey(buttonItems[index]))
            key->value[1] = KnobFromValue(index, row.get(theEffect));
    }
}

} // namespace options

using namespace options;

bool OptionsSetUp(bool watchOnly) {
    showMode = watchOnly ? ShowMode::WatchOnly : ShowMode::Interactive;
    theEffect.drifting = watchOnly;
    for (SceneItem*& item : buttonItems)
        item = nullptr;
    if (!theEffect.Start())
        return false;

    if (watchOnly) {
        theEffect.view.Setup(showWidth, showHeight, 60, 0, 0);
    } else {
        // A view narrower than the screen whose picture is shifted to the left,
        // leaving room for the options scene on the right.
        const int32_t d = showWidth - showHeight + 7;
        theEffect.view.Setup(static_cast<int16_t>(showWidth - d), showHeight, 60, -(d / 2), 0);
    }

    if (!optionsScene.Load("scenes\\ZT-Options.lws", showWidth, showHeight, buttonNames,
                           buttonItems)) {
        for (SceneItem*& item : buttonItems)
            item = nullptr;
        // The watch-only show never draws or reads the options scene, so the saver
        // goes on without it; the interactive screen cannot.
        if (!watchOnly)
            return false;
    }

    grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
    grDepthBufferFunction(GR_CMP_LESS);
    grDepthMask(FXTRUE);
    ready = 1;

    ShowButton(HiddenKnob, 0);
    if (watchOnly)
        ShowButton(SlotCursor, 0);
    return true;
}

bool OptionsFrame() {
    if (!ready)
        return true;

    if (showMode == ShowMode::WatchOnly) {
        grBufferClear(0, 0, 0xFFFF);
        grDepthMask(FXFALSE);
        grDepthBufferMode(GR_DEPTHBUFFER_DISABLE);
        theEffect.Update();
        grBufferSwap(1);
        return true;
    }

    if (!UpdateInterface())
        return false; // Quit: nothing drawn, the last picture stays while the window closes
    SyncKnobs();

    // The effect glows additively without depth; the scene then lies over it,
    // opaque and depth-tested against itself only.
    grBufferClear(0, 0, 0xFFFF);
    grDepthMask(FXFALSE);
    grDepthBufferMode(GR_DEPTHBUFFER_DISABLE);
    theEffect.Update();
    grDepthMask(FXTRUE);
    grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ZERO, GR_BLEND_ZERO);
    grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
    const int32_t r = optionsScene.DrawFrame();

    // Frame events: the end of a stretch, the About hold, the end of the scene.
    if (r > AboutHoldFrame) {
        if (r == AboutEndFrame || r == ColourEndFrame || r == AnimEndFrame) {
            optionsScene.SetFrameStep(0.0f);
            optionsScene.SetCurrentFrame(optionsScene.firstFrame);
            showMode = ShowMode::Interactive;
        }
    } else if (r == AboutHoldFrame) {
        optionsScene.SetFrameStep(0.0f);
        showMode = ShowMode::AboutHold;
    } else if (r == 0) {
        optionsScene.SetCurrentFrame(optionsScene.firstFrame);
    }

    // Mode actions, from the mode as it now stands.
    switch (showMode) {
    case ShowMode::AboutStart:
        optionsScene.SetCurrentFrame(0.0f);
        optionsScene.SetFrameStep(1.0f);
        showMode = ShowMode::Playing;
        break;
    case ShowMode::AboutHold:
        if (mouseButtons != 0)
            optionsScene.SetFrameStep(1.0f);
        showMode = ShowMode::Playing;
        break;
    case ShowMode::ColourStart:
        optionsScene.SetCurrentFrame(ColourStartFrame);
        optionsScene.SetFrameStep(1.0f);
        showMode = ShowMode::Playing;
        break;
    case ShowMode::AnimStart:
        optionsScene.SetCurrentFrame(AnimStartFrame);
        optionsScene.SetFrameStep(1.0f);
        showMode = ShowMode::Playing;
        break;
    default:
        break;
    }

    grBufferSwap(1);
    return true;
}

void OptionsRelease() {
    theEffect.Release();
    optionsScene.Unload();
    for (SceneItem*& item : buttonItems)
        item = nullptr;
    selected = -1;
    ready = 0;
}
