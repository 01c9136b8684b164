// The Windows-style command line main() builds, read back by the rules Windows
// programs use: the program name up to its closing quote or first blank, then
// the arguments by CommandLineToArgvW's quoting rules.
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// CommandLineToArgvW's reading of the arguments after the program name.
std::vector<std::string> SplitArguments(const char* text) {
    std::vector<std::string> arguments;
    const char* p = text;
    while (true) {
        while (*p == ' ' || *p == '\t') {
            ++p;
        }
        if (*p == 0) {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        while (*p != 0 && (quoted || (*p != ' ' && *p != '\t'))) {
            if (*p == '\\') {
                size_t backslashes = 0;
                while (*p == '\\') {
                    ++backslashes;
                    ++p;
                }
                if (*p == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument += '"';
                        ++p;
                    }
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (*p == '"') {
                quoted = !quoted;
                ++p;
            } else {
                argument += *p++;
            }
        }
        arguments.push_back(argument);
    }
}

std::string Build(const std::string& program, std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "argv0");
    return win32::BuildCommandLine(program, static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, ProgramPathIsWrittenWithBackslashesAndQuotedOnlyForBlanks) {
    EXPECT_EQ(Build("/opt/solvane/bin/solvane", {}), "\\opt\\solvane\\bin\\solvane");
    EXPECT_EQ(Build("/home/a user/bin/solvane", {"/s"}), "\"\\home\\a user\\bin\\solvane\" /s");
    EXPECT_EQ(Build("/tmp/tab\there/solvane", {}), "\"\\tmp\\tab\there\\solvane\"");
}

TEST(CommandLine, SkippingTheProgramNameGivesWhatWinMainReceives) {
    std::string line = Build("/home/a user/solvane", {"/c:1234"});
    EXPECT_STREQ(win32::SkipProgramName(line.c_str()), "/c:1234");
    EXPECT_STREQ(win32::SkipProgramName("\"C:\\a b\\x.scr\"   /s  "), "/s  ");
    EXPECT_STREQ(win32::SkipProgramName("C:\\x.scr"), "");
    EXPECT_STREQ(win32::SkipProgramName("\"C:\\unterminated"), "");
    EXPECT_STREQ(win32::SkipProgramName(nullptr), "");
}

TEST(CommandLine, ArgumentsSurviveTheWindowsQuotingRules) {
    std::vector<const char*> arguments = {"/s",          "two words", "",         "say \"hi\"",
                                          "back\\slash", "end\\",     "a\\\\\"b", "tab\there"};
    std::string line = Build("/bin/solvane", arguments);
    std::vector<std::string> read = SplitArguments(win32::SkipProgramName(line.c_str()));
    ASSERT_EQ(read.size(), arguments.size()) << line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        EXPECT_EQ(read[i], arguments[i]) << line;
    }
    // Plain switches are left as they are, so the entry sees "/s" and "-vtune".
    EXPECT_EQ(Build("/bin/solvane", {"-vtune", "/s"}), "\\bin\\solvane -vtune /s");
}

TEST(CommandLine, GetCommandLineReturnsTheLineMainSet) {
    win32::SetCommandLine("\\bin\\solvane /s");
    EXPECT_STREQ(GetCommandLineA(), "\\bin\\solvane /s");
}

TEST(CommandLine, ProgramPathIsTheRealExecutable) {
    std::string path = win32::ProgramPath("ignored");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path[0], '/');
    EXPECT_NE(path.find("test_win32"), std::string::npos);
}

} // namespace
