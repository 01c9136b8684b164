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
    long parentNumber = 0;           // the window number that followed the switch, else 0
};

// Reads the switch of processLine, the full process command line with the
// program name first. Numbers that overflow are clamped, never undefined.
CommandLineChoice ParseCommandLine(const char* processLine);

// Sets screenSaver's mode and parentWindow from processLine (asking for the
// foreground window where the choice says so), then reads the settings.
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
