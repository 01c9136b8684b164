// Command-line rules of the screen-saver conventions.
#include "shell/command_line.h"

#include "shell/settings.h"
#include "toolkit/text.h"

#include <cstdlib>
#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The program name at the start of line: [first, last) without its quotes.
// Returns the position just after the name (on the closing quote or the blank).
const char* ProgramName(const char* line, const char** first, const char** last) {
    const char* p = line;
    if (*p == '"') {
        ++p;
        *first = p;
        while (*p != 0 && *p != '"')
            ++p;
    } else {
        *first = p;
        while (*p != 0 && !IsBlank(*p))
            ++p;
    }
    *last = p;
    return p;
}

// The leading decimal number of text as atol reads it, clamped to the range of
// long instead of overflowing.
long LeadingNumber(const char* text) {
    return std::strtol(text, nullptr, 10);
}

const char* SkipBlanksAndColons(const char* p) {
    while (IsBlank(*p) || *p == ':')
        ++p;
    return p;
}

} // namespace

CommandLineChoice ParseCommandLine(const char* processLine) {
    CommandLineChoice choice;
    if (processLine == nullptr)
        processLine = "";
    const char* first;
    const char* last;
    const char* p = ProgramName(processLine, &first, &last);
    if (*p != 0) {
        ++p; // the closing quote or the blank
        while (IsBlank(*p))
            ++p;
    }
    if (*p == 0) {
        choice.mode = RunMode::Configure;
        return choice;
    }
    if (*p == '-' || *p == '/')
        ++p;
    switch (*p) {
    case 'S':
    case 's':
        choice.mode = RunMode::Saver;
        break;
    case 'C':
    case 'c':
        p = SkipBlanksAndColons(p + 1);
        if (*p != 0)
            choice.parentNumber = LeadingNumber(p);
        else
            choice.parentIsForeground = true;
        choice.mode = RunMode::Configure;
        break;
    case 'P':
    case 'p':
    case 'L':
    case 'l':
        choice.parentNumber = LeadingNumber(SkipBlanksAndColons(p + 1));
        choice.mode = RunMode::Preview;
        break;
    case 'A':
    case 'a':
        choice.parentNumber = LeadingNumber(SkipBlanksAndColons(p + 1));
        choice.mode = RunMode::ChangePassword;
        break;
    default:
        break;
    }
    return choice;
}

void ApplyCommandLine(const char* processLine) {
    CommandLineChoice choice = ParseCommandLine(processLine);
    screenSaver.mode = choice.mode;
    if (choice.parentIsForeground)
        screenSaver.parentWindow = GetForegroundWindow();
    else
        screenSaver.parentWindow =
            reinterpret_cast<HWND>(static_cast<intptr_t>(choice.parentNumber));
    ReadSettings();
}

bool IsVtuneSwitch(const char* arguments) {
    if (arguments == nullptr)
        return false;
    // Compare only as far as the text goes, so a shorter argument is never read past its end.
    return std::strlen(arguments) >= 6 && StrCompareNoCaseN(arguments, "-vtune", 6) == 0;
}

bool BuildArchivePath(const char* processLine, char* path, size_t pathSize) {
    static const char archiveName[] = "slv.dat";
    if (pathSize == 0)
        return false;
    path[0] = 0;
    if (processLine == nullptr)
        processLine = "";
    const char* first;
    const char* last;
    ProgramName(processLine, &first, &last);
    size_t folderLength = 0;
    for (const char* p = first; p < last; ++p) {
        if (*p == '\\' || *p == '/')
            folderLength = static_cast<size_t>(p - first) + 1;
    }
    // The program path itself must fit, or its last separator may have been cut off.
    if (static_cast<size_t>(last - first) >= pathSize)
        return false;
    if (folderLength + sizeof archiveName > pathSize)
        return false;
    std::memcpy(path, first, folderLength);
    std::memcpy(path + folderLength, archiveName, sizeof archiveName);
    return true;
}
