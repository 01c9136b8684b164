// The options screen: the top of the show. The director sets it up once and runs
// one frame of it per displayed frame; it shows the effect alone (the saver) or
// the effect beside the interactive options scene of sliders and buttons.
#pragma once

#include <cstdint>

// What the options screen is doing; the window procedure reads it to decide
// whether mouse input is taken at all.
enum class ShowMode : int32_t {
    Playing = 0,     // a stretch of the scene's animation plays; clicks are not taken
    WatchOnly = 1,   // only the effect is drawn; the mouse is ignored
    Interactive = 2, // the screen takes clicks
    AboutStart = 3,  // About was pressed; acted on at the end of the frame
    AboutHold = 4,   // the About stretch stands at frame 39 until a button is held
    ColourStart = 5, // Colour was pressed; acted on at the end of the frame
    AnimStart = 6,   // Anim was pressed; acted on at the end of the frame
};

extern ShowMode showMode;

// Starts the effect and, unless watchOnly, loads the options scene. False when
// the content cannot be loaded; the director then idles.
bool OptionsSetUp(bool watchOnly);
// Runs and draws one frame; false when the user pressed Quit (nothing drawn).
bool OptionsFrame();
// Releases the effect and unloads the options scene; safe without a set-up.
void OptionsRelease();
