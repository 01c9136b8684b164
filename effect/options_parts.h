// The options screen's inner steps and state, for the screen itself and its
// tests: the button table bound from the options scene, the selection, and the
// per-frame steps of OptionsFrame. Nothing else calls these.
#pragma once

#include "effect/options.h"
#include "effect/param_table.h"
#include "scene/scene.h"

#include <cstdint>

namespace options {

// Slots of buttonItems: first the slider knobs in parameter order (0 to 17),
// then the push buttons and the cursor.
enum ButtonSlot : int32_t {
    SlotLastKnob = ParameterCount - 1,
#define SOLVANE_BUTTON_SLOT(name) Slot##name,
    SOLVANE_PUSH_BUTTONS(SOLVANE_BUTTON_SLOT)
#undef SOLVANE_BUTTON_SLOT
        SlotCursor,
};
constexpr int32_t ButtonCount = SlotCursor + 1;

// The object base names of the 24 slots, null-terminated.
extern const char* const buttonNames[ButtonCount + 1];
// The scene items carrying those objects; null before a set-up and after a failed one.
extern SceneItem* buttonItems[ButtonCount];
// The button held down, -1 for none.
extern int32_t selected;
// 1 once OptionsSetUp has succeeded.
extern int32_t ready;
// The one options scene, kept for the whole run.
extern Scene optionsScene;

// Cursor limits in scene units (not symmetric), inclusive.
constexpr float CursorLeft = -3.8875f;
constexpr float CursorRight = 3.9025f;
constexpr float CursorBottom = -2.9175f;
constexpr float CursorTop = 2.9225f;

// Moves the cursor by the mouse, drags the selected slider or acts on the
// selected button, then consumes the mouse deltas. False when Quit is held.
bool UpdateInterface();
// The first button (0 to 22) under the cursor, or -1: the cursor must lie both
// within the square of the button's bounding radius projected at its depth
// about its projected centre, and within the bounding box of its projected
// points (its picture). Hidden buttons take part.
int32_t PickButton();
// Sets the parameter of slider index from a knob at height y.
void ApplySlider(int32_t index, float y);
// Puts the knobs of sliders 1 to 17 at the heights of the effect's values.
void SyncKnobs();

} // namespace options
