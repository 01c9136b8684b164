// Fatal error reports and diagnostic trace output. A report keeps only the last
// error's text and runs the hook the program installed (the shell asks its main
// window to close); the program shows the text once when the show ends. Nothing
// here shows a message or knows of windows.
#pragma once

// The last report, "" when nothing was reported. Callers may test its first byte
// to learn that a report was made (the scene parser stops then).
extern char reportText[256];

// Records a fatal error from source module moduleName ("Startup", "Scene") at
// line, replacing any earlier report, then calls the report hook. message is a
// printf format filled from the further arguments; the module name is never read
// as a format, and a text longer than reportText is cut.
void ReportError(const char* moduleName, long line, const char* message, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// What a report must also do, beyond keeping its text; null (the start) for
// nothing. The program asks its main window to close here.
using ReportHook = void (*)();
void SetReportHook(ReportHook hook);

// Diagnostic text (frame statistics, scene summary, parameter dump). Writes
// nothing unless the environment variable SOLVANE_TRACE is "1" at the first call,
// which sends it to stderr.
void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Whether Trace writes anywhere; lets callers skip building costly texts.
bool TraceEnabled();
