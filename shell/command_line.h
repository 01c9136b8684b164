// Reading the process command line: the run mode and owner window Windows asks
// for, the "-vtune" switch, and the archive path beside the program. Pure text
// rules; applying them to the saver state is a separate step.
#pragma once

#include "shell/saver.h"

#include <cstddef>

// What the switch of a command line asks for, before any window is looked up.
struct CommandLineChoice {
    RunMode mode = RunMode::Other;
    bool parentIsForeground = false; // "/c" alone: the owner is the foreground window
    bool hostFromEnvironment = false; // "-root": XSCREENSAVER_WINDOW, else the desktop
    bool badHostNumber = false;       // "-window-id" without a usable window number
    long parentNumber = 0;            // the window number that followed the switch, else 0
};

// Reads the switch of processLine, the full process command line with the
// program name first. Numbers that overflow are clamped, never undefined.
// The X screen-saver options come first, anywhere on the line: "-root" or
// "--root" (hostFromEnvironment) and "-window-id ID" or "--window-id ID" (ID
// decimal or 0x hex) choose RunMode::Hosted; otherwise the first argument is the
// Windows switch.
CommandLineChoice ParseCommandLine(const char* processLine);

// A window number as X screen-saver engines write it: decimal, or hexadecimal
// after "0x"; the whole text must be the number, from 1 to 0xFFFFFFFF. 0 when
// it is not one.
unsigned long ParseWindowNumber(const char* text);

// Sets screenSaver's mode and parentWindow from processLine (asking for the
// foreground window where the choice says so; for RunMode::Hosted the window to
// draw into, null when there is none to be had), then reads the settings.
void ApplyCommandLine(const char* processLine);

// True when the first six characters of the entry's argument text are "-vtune"
// in any case.
bool IsVtuneSwitch(const char* arguments);

// Writes into path (pathSize bytes) the archive name beside the program named
// by the first token of processLine: the token's folder (up to and including
// its last '\' or '/') followed by "slv.dat"; just "slv.dat" without a folder.
// False, with path empty, when the program path or the result does not fit:
// a cut path could name some other file.
bool BuildArchivePath(const char* processLine, char* path, size_t pathSize);

// The archive path buffer of the program entry, bytes.
constexpr size_t ArchivePathSize = 400;
