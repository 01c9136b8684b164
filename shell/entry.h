// The program's frame: reading the run mode, opening the archive, the settings
// dialog, start-up (window and Glide), the message loop driving the director,
// and shutdown in a fixed order. WinMain only hands over to RunProgram.
#pragma once

#include "win32/win32.h"

// Caption of every message box the program shows.
constexpr const char* MessageCaption = "Glide demo";

// The whole run: commandLine is the argument text after the program name; the
// process command line is read with GetCommandLineA. Returns the exit code.
int RunProgram(HINSTANCE instance, const char* commandLine);

// The settings dialog's procedure (dialog resource 101): Ok ends it with 1,
// Cancel with 0; it changes no setting.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
