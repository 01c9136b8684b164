// The screen-saver state of the process: the run mode Windows asked for, the
// owner window it named, the closing settings, and the flags the close rules
// work on. One global instance; the entry, the window procedure and the
// settings reader share it.
#pragma once

#include "win32/win32.h"

#include <cstdint>

// What the command line asked for.
enum class RunMode : int32_t {
    Other = 0,          // an unrecognised switch letter: the show without the saver rules
    Configure = 1,      // the settings dialog, then the interactive options screen
    ChangePassword = 2, // the system's password-change dialog, then the end
    Preview = 3,        // a preview inside the control panel; none is drawn
    Saver = 4,          // the screen saver with its closing rules
    Hosted = 5,         // the saver's show drawn into a window another program owns
                        // (an X screen-saver engine's, a preview pane): no window of
                        // its own, no closing rules, no input; it ends when that
                        // window goes or the process is asked to quit
};

struct ScreenSaver {
    HWND window = nullptr;       // the main window, recorded on WM_CREATE
    HWND parentWindow = nullptr; // owner from the command line, or the foreground window
    int32_t passwordDelay = 0;   // seconds after creation before closing asks for the password
    int32_t mouseThreshold = 0;  // pixels the cursor may move on either axis without closing
    int32_t muteSound = 0;       // read and kept; the show has no sound
    POINT cursorRef = {0, 0};    // screen position mouse movement is measured from
    DWORD startTicks = 0;        // GetTickCount() when the window was created, milliseconds
    int32_t busy = 0;           // 1 while a modal dialog of the saver is open: input does not close
    int32_t closeRequested = 0; // 1 once closing input arrived; never cleared
    RunMode mode = RunMode::Other;
};

extern ScreenSaver screenSaver;

// 1 when the command line begins with "-vtune": frames are not paced.
extern int16_t vtune;
// The application's activation state (WM_ACTIVATEAPP); the loop runs the
// director only while it is non-zero. 1 at start.
extern int16_t appActive;
