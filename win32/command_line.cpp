// The Windows-style command line of the process on Linux: built once by main()
// from the program's real path and argv, and returned by GetCommandLineA.
#include "win32/platform.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

std::vector<char> commandLine; // with its terminating 0; empty until first needed

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Appends one argument so that CommandLineToArgvW reads it back unchanged:
// backslashes count only in front of a quote, where they are doubled.
void AppendArgument(std::string& line, const char* argument) {
    std::string text = argument;
    bool quote = text.empty() || text.find_first_of(" \t\n\v\"") != std::string::npos;
    if (!quote) {
        line += text;
        return;
    }
    line += '"';
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            line.append(backslashes * 2 + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

} // namespace

namespace win32 {

std::string BuildCommandLine(const std::string& programPath, int argc, const char* const* argv) {
    std::string program = programPath;
    for (char& c : program) {
        if (c == '/') {
            c = '\\';
        }
    }
    std::string line;
    // The program name is read up to the closing quote or the first blank,
    // without escapes: quotes go round it only when it needs them.
    if (program.find_first_of(" \t") != std::string::npos || program.empty()) {
        line = "\"" + program + "\"";
    } else {
        line = program;
    }
    for (int i = 1; i < argc; ++i) {
        line += ' ';
        AppendArgument(line, argv[i] != nullptr ? argv[i] : "");
    }
    return line;
}

const char* SkipProgramName(const char* line) {
    if (line == nullptr) {
        return "";
    }
    if (*line == '"') {
        ++line;
        while (*line != 0 && *line != '"') {
            ++line;
        }
        if (*line == '"') {
            ++line;
        }
    } else {
        while (*line != 0 && !IsBlank(*line)) {
            ++line;
        }
    }
    while (IsBlank(*line)) {
        ++line;
    }
    return line;
}

std::string ProgramPath(const char* fallback) {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length > 0 && static_cast<size_t>(length) < buffer.size() - 1) {
        return std::string(buffer.data(), static_cast<size_t>(length));
    }
    if (fallback == nullptr) {
        return std::string();
    }
    char* resolved = realpath(fallback, nullptr);
    if (resolved == nullptr) {
        return fallback;
    }
    std::string path = resolved;
    std::free(resolved);
    return path;
}

void SetCommandLine(const std::string& line) {
    commandLine.assign(line.c_str(), line.c_str() + line.size() + 1);
}

} // namespace win32

LPSTR WINAPI GetCommandLineA(void) {
    if (commandLine.empty()) {
        win32::SetCommandLine(win32::BuildCommandLine(win32::ProgramPath(nullptr), 0, nullptr));
    }
    return commandLine.data();
}
