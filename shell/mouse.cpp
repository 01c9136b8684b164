// Lives in the report library so that the options screen can read the mouse
// without linking the whole shell.
#include "shell/mouse.h"

int32_t mouseDeltaX = 0;
int32_t mouseDeltaY = 0;
uint32_t mouseButtons = 0;
int32_t skipFirstMouse = 1;
