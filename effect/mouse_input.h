// The mouse movement the options screen's 3D cursor reads: the program's window
// procedure adds to the deltas and records the buttons; the options screen reads
// them once per frame and sets the deltas back to 0. Nothing here knows windows.
#pragma once

#include <cstdint>

extern int32_t mouseDeltaX;    // pixels right since last consumed
extern int32_t mouseDeltaY;    // pixels down since last consumed
extern uint32_t mouseButtons;  // bit 0 left, bit 1 right, at the last mouse message
extern int32_t skipFirstMouse; // 1 until the first mouse message has centred the cursor
