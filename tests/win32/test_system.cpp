// The Windows-style command line main() builds.
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Build(const std::string& program, std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "argv0");
    return win32::BuildCommandLine(program, static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, ProgramPathTakesBackslashesAndArgumentsTheWindowsQuoting) {
    EXPECT_EQ(Build("/opt/solvane/bin/solvane", {}), "\\opt\\solvane\\bin\\solvane");
    EXPECT_EQ(Build("/home/a user/bin/solvane", {"/s"}), "\"\\home\\a user\\bin\\solvane\" /s");
    // Arguments are quoted by the Windows rules: backslashes count only in front
    // of a quote, where they are doubled.
    EXPECT_EQ(Build("/bin/solvane", {"/s", "-vtune", "two words", "", "say \"hi\"", "back\\slash",
                                     "end\\", "a b\\", "a\\\\\"b", "tab\there"}),
              "\\bin\\solvane /s -vtune \"two words\" \"\" \"say \\\"hi\\\"\" back\\slash end\\ "
              "\"a b\\\\\" \"a\\\\\\\\\\\"b\" \"tab\there\"");
}

// WinMain receives what follows the program name: up to its closing quote or
// first blank.
TEST(CommandLine, SkippingTheProgramNameGivesWhatWinMainReceives) {
    std::string line = Build("/home/a user/solvane", {"/c:1234"});
    EXPECT_STREQ(win32::SkipProgramName(line.c_str()), "/c:1234");
    EXPECT_STREQ(win32::SkipProgramName("\"C:\\a b\\x.scr\"   /s  "), "/s  ");
    EXPECT_STREQ(win32::SkipProgramName("\"C:\\unterminated"), "");
    EXPECT_STREQ(win32::SkipProgramName(nullptr), "");
    EXPECT_EQ(win32::ProgramPath("ignored").find("/"), 0u) << "the real executable, not argv[0]";
}

} // namespace
