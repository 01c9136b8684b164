// Internals shared by the SDL2 files of the Linux layer: the video subsystem, the
// window table and the cursor position the input translation last reported.
// Only win32/*.cpp include this; the shell sees win32.h alone.
#pragma once

#include "win32/win32.h"

#include <SDL.h>

namespace win32::detail {

// Starts SDL's video subsystem once; false when there is no display to open.
bool VideoReady();
// True when message boxes must not appear: the video driver is SDL's dummy or
// offscreen one (tests), so nothing a user could see exists.
bool Headless();

// The SDL window of one of our windows; null for an unknown handle or a window
// that has none.
SDL_Window* SdlWindowOf(HWND window);
// Screen position of the window's client origin (its top-left corner).
POINT ClientOrigin(HWND window);
// The active window, else the first visible one, else any; null when there is none.
HWND PrimaryWindow();

// Something that draws into a window's SDL window (the presenter) and must let go
// of it before the SDL window is destroyed. One per window; null clears it.
using DetachHook = void (*)(void* user);
void SetDetachHook(HWND window, DetachHook hook, void* user);

// The pointer was moved by the program to a screen position: records it, so that
// the motion event the move itself causes is not reported twice, and queues the
// WM_MOUSEMOVE that Windows generates for such a move. Nothing when unchanged.
void CursorMovedTo(int screenX, int screenY);
// The cursor position as the input translation last saw it (screen pixels).
POINT LastCursorPosition();

} // namespace win32::detail
