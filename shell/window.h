// The main window's procedure: the screen-saver closing rules (SaverFilter), the
// relative mouse input for the options screen, and the command keys (Enter dump,
// Escape close, F12 screenshot). Every system call it makes goes through
// shellServices, so the rules can be driven without a display.
#pragma once

#include "win32/win32.h"

// The system services the window procedure uses. Defaults call the real ones.
struct ShellServices {
    DWORD (*tickCount)();
    BOOL (*cursorPos)(POINT* point);
    BOOL (*postMessage)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL (*destroyWindow)(HWND window);
    BOOL (*clientRect)(HWND window, RECT* rect);
    BOOL (*setCursorPos)(int x, int y);
    void (*hideCursor)();
    void (*releaseCursorClip)();
    void (*postQuit)(int exitCode);
    bool (*verifyPassword)(HWND window);
    void (*takeScreenshot)();
    void (*dumpParameters)();
    LRESULT (*defaultProc)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

extern ShellServices shellServices;
ShellServices DefaultShellServices();

// Applies the saver rules (in Saver mode) to one message: 1 when it may go on
// to the default processing, 0 when it must be swallowed.
int SaverFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// closeRequested = 1 and WM_CLOSE to the saver's window.
void RequestClose();

// Feeds the options screen from one mouse message: x, y are client pixels,
// keys the message's wParam. Does nothing unless the run mode is Configure and
// the options screen takes the mouse, so that the saver never moves the pointer.
void MouseInput(HWND window, int x, int y, WPARAM keys);

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
