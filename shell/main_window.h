// The handle of the show's one full-screen window: set by the window set-up,
// read by error reports (to ask it to close), the director and Glide's opening.
// Null in tools and tests, which have no window.
#pragma once

#include "win32/win32.h"

extern HWND mainWindow;

// The report hook the program installs (SetReportHook): a fatal error asks the
// main window, when there is one, to close.
void CloseMainWindowOnReport();
