// Keyboard translation for the Linux layer: SDL keys to Windows virtual-key codes,
// which key presses Windows reports as system keys, and the characters that
// TranslateMessage makes of them. Pure functions, no SDL state.
#pragma once

#include "win32/win32.h"

#include <SDL.h>

namespace win32 {

// Virtual-key code of a key: letters and digits as their upper-case ASCII codes
// (from the layout's key code), the rest by position. Keys Windows has no code
// for give 0xFF, so that they still arrive as key presses.
UINT VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

// Windows reports a key as WM_SYSKEYDOWN/WM_SYSKEYUP when it is F10, Alt itself,
// or any key pressed while Alt is held without Ctrl (Ctrl+Alt is AltGr).
bool IsSystemKey(UINT virtualKey, bool altHeld, bool ctrlHeld);

// lParam of a key message: repeat count 1, the context bit 29 when Alt is held,
// bit 30 when the key was already down (auto-repeat, and every key up), bit 31 on
// release. Bits 16-24 (the PC scan code) stay 0: SDL does not report it.
LPARAM KeyMessageLParam(bool altHeld, bool repeat, bool released);

// The character TranslateMessage posts for a key press, or 0 for none.
char CharacterFromVirtualKey(UINT virtualKey, bool shiftHeld);

} // namespace win32
