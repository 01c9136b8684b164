// Command-line rules of the screen-saver conventions.
#include "shell/command_line.h"

#include "shell/settings.h"
#include "toolkit/text.h"

#include <cctype>
#include <cerrno>
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

// Copies the blank-separated token at p (quotes dropped) into token and returns
// the position after it; a token longer than the buffer is cut, which no option
// or window number survives.
const char* NextToken(const char* p, char* token, size_t tokenSize) {
    while (IsBlank(*p))
        ++p;
    size_t length = 0;
    bool quoted = false;
    for (; *p != 0 && (quoted || !IsBlank(*p)); ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (length + 1 < tokenSize) {
            token[length++] = *p;
        }
    }
    token[length] = 0;
    return p;
}

// The X screen-saver options anywhere among arguments; false when there are none.
bool ReadHostOptions(const char* arguments, CommandLineChoice* choice) {
    char token[64];
    const char* p = arguments;
    while (*(p = NextToken(p, token, sizeof token)) != 0 || token[0] != 0) {
        if (std::strcmp(token, "-root") == 0 || std::strcmp(token, "--root") == 0) {
            choice->mode = RunMode::Hosted;
            choice->hostFromEnvironment = true;
            return true;
        }
        if (std::strcmp(token, "-window-id") == 0 || std::strcmp(token, "--window-id") == 0) {
            choice->mode = RunMode::Hosted;
            NextToken(p, token, sizeof token);
            unsigned long number = ParseWindowNumber(token);
            choice->parentNumber = static_cast<long>(number);
            choice->badHostNumber = number == 0;
            return true;
        }
    }
    return false;
}

} // namespace

unsigned long ParseWindowNumber(const char* text) {
    if (text == nullptr || *text == 0)
        return 0;
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    // strtoul would take a sign or blanks in front: only digits may start it.
    bool digit = base == 16 ? std::isxdigit(static_cast<unsigned char>(*text)) != 0
                            : std::isdigit(static_cast<unsigned char>(*text)) != 0;
    if (!digit)
        return 0;
    errno = 0;
    char* end = nullptr;
    unsigned long long number = std::strtoull(text, &end, base);
    if (errno != 0 || *end != 0 || number > 0xFFFFFFFFull)
        return 0;
    return static_cast<unsigned long>(number);
}

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
    if (ReadHostOptions(p, &choice))
        return choice;
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
    if (choice.parentIsForeground) {
        screenSaver.parentWindow = GetForegroundWindow();
    } else if (choice.hostFromEnvironment) {
        // An X screen-saver engine names its window in the environment; without
        // one, "-root" means the desktop itself.
        const char* named = std::getenv("XSCREENSAVER_WINDOW");
        if (named != nullptr)
            screenSaver.parentWindow =
                reinterpret_cast<HWND>(static_cast<uintptr_t>(ParseWindowNumber(named)));
        else
            screenSaver.parentWindow = GetDesktopWindow();
    } else {
        screenSaver.parentWindow =
            reinterpret_cast<HWND>(static_cast<intptr_t>(choice.parentNumber));
    }
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
