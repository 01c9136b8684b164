// What the Linux platform layer offers beyond the Win32 names: building the
// Windows-style command line for main(), the registry file's location, the SDL
// presenter, and the hooks that let tests run the layer without a display.
// Nothing here exists on Windows; the shell never includes it.
#pragma once

#include "win32/win32.h"

#include <memory>
#include <string>

namespace glide {
class Presenter;
}

namespace win32 {

// ---- Command line (command_line.cpp) ----

// The command line Windows would pass for this process: the program path with
// '/' written as '\' (quoted when it holds a blank or a tab), then each argument,
// quoted as CommandLineToArgvW reads it back when it holds blanks, tabs or quotes
// or is empty.
std::string BuildCommandLine(const std::string& programPath, int argc, const char* const* argv);
// The text after the program name and the blanks behind it, as WinMain receives it.
const char* SkipProgramName(const char* commandLine);
// The program's real path (/proc/self/exe), or fallback when it cannot be read.
std::string ProgramPath(const char* fallback);
// Replaces what GetCommandLineA returns (main does this before WinMain).
void SetCommandLine(const std::string& commandLine);

// ---- Registry file (registry_file.cpp) ----

// $XDG_CONFIG_HOME/solvane/registry.ini, else $HOME/.config/solvane/registry.ini;
// empty when neither variable is set.
std::string DefaultRegistryFile();
// Uses path for the registry from now on; empty restores the default location.
void SetRegistryFile(const std::string& path);
// The file's text without the file, for the fuzz harness: puts the registry that
// text describes in memory as reading the file would (until the next call that
// reads the file).
void ReadRegistryText(const std::string& text);

// ---- Message boxes and dialogs (dialog_sdl.cpp) ----

// Answers message boxes and dialogs in place of a user: gets the caption, the
// text and the buttons' result identifiers, returns the identifier chosen, or -1
// as if the box had been closed. Null restores the normal behaviour: an SDL
// message box, or without a display a line on stderr and the cancelling answer.
using BoxAnswerer = int (*)(const char* caption, const char* text, const int* buttonIds,
                            int buttonCount);
void SetBoxAnswerer(BoxAnswerer answerer);

// ---- Presenter (presenter_sdl.cpp) ----

// The glide::PresenterFactory for our windows: an SDL streaming texture scaled to
// fill the window with the 4:3 picture kept. Null for a handle that is not one of
// our windows or has no SDL window (headless).
std::unique_ptr<glide::Presenter> MakeSdlPresenter(uintptr_t window);
// The factory for windows other X clients own (x11_host.cpp): window is an X
// window number; the picture is scaled into it, aspect kept, black around it.
// Null when no such window exists (or the layer was built without X).
std::unique_ptr<glide::Presenter> MakeForeignPresenter(uintptr_t window);
// Both in turn: ours first, else a foreign window. What main() installs.
std::unique_ptr<glide::Presenter> MakeWindowPresenter(uintptr_t window);

// ---- Signals (main_sdl.cpp, window_sdl.cpp) ----

// Turns SIGTERM and SIGINT into a WM_QUIT that the next message call returns; a
// second one ends the process with the signal's default action.
void CatchTerminationSignals();
// True once, after such a signal arrived; the message calls ask.
bool TakeTerminationRequest();

// ---- Tests (window_sdl.cpp) ----

// Destroys every window, unregisters every class and empties the message queue,
// so that each test starts from a fresh thread state.
void ResetWindowsForTests();

} // namespace win32
