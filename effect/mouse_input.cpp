// The options screen's mouse input, written by the program's window procedure.
#include "effect/mouse_input.h"

int32_t mouseDeltaX = 0;
int32_t mouseDeltaY = 0;
uint32_t mouseButtons = 0;
int32_t skipFirstMouse = 1;
