// The process's screen-saver state.
#include "shell/saver.h"

ScreenSaver screenSaver;
int16_t vtune = 0;
int16_t appActive = 1;
