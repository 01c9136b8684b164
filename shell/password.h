// The Windows 9x screen-saver password services, loaded at run time so the
// program also starts where they are missing: checking the password before the
// saver closes, and changing it. Each call loads and frees its library.
#pragma once

#include "win32/win32.h"

// True when the saver may close: no password set, the right one given, Windows
// NT (which locks the workstation itself), or no password service at all.
bool VerifyPassword(HWND window);

// Runs the system's dialog that changes the saver password, owned by
// parentWindow; does nothing where the service is missing.
void ChangeSaverPassword(HWND parentWindow);
