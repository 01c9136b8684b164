#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

namespace {

struct LineCase {
    const char* line;
    RunMode mode;
    bool foreground;
    long parent;
};

TEST(CommandLine, RunModeTable) {
    const LineCase cases[] = {
        {"solvane.scr", RunMode::Configure, false, 0},
        {"\"C:\\Program Files\\solvane.scr\"  ", RunMode::Configure, false, 0},
        {"\"C:\\Program Files\\solvane.scr\" /s", RunMode::Saver, false, 0},
        {"solvane.scr /S", RunMode::Saver, false, 0},
        {"solvane.scr -s", RunMode::Saver, false, 0},
        {"solvane.scr s", RunMode::Saver, false, 0},
        {"solvane.scr /screensaver", RunMode::Saver, false, 0},
        {"solvane.scr /c", RunMode::Configure, true, 0},
        {"solvane.scr /c:1234", RunMode::Configure, false, 1234},
        {"solvane.scr /C 1234", RunMode::Configure, false, 1234},
        {"solvane.scr /c:0", RunMode::Configure, false, 0},
        {"solvane.scr /c: :  77", RunMode::Configure, false, 77},
        {"solvane.scr /p 1234", RunMode::Preview, false, 1234},
        {"solvane.scr /l 1234", RunMode::Preview, false, 1234},
        {"solvane.scr /p", RunMode::Preview, false, 0},
        {"solvane.scr /a 1234", RunMode::ChangePassword, false, 1234},
        {"solvane.scr -vtune", RunMode::Other, false, 0},
        {"solvane.scr -vtune /s", RunMode::Other, false, 0},
        {"solvane.scr /x", RunMode::Other, false, 0},
        {"solvane.scr /", RunMode::Other, false, 0},
        // Odd input is read safely; an unterminated quote swallows the whole line
        // as the program name.
        {nullptr, RunMode::Configure, false, 0},
        {"", RunMode::Configure, false, 0},
        {"\"C:\\odd /s", RunMode::Configure, false, 0},
        {"x /p 99999999999999999999999999", RunMode::Preview, false, LONG_MAX}, // clamped
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line != nullptr ? c.line : "(null)");
        CommandLineChoice choice = ParseCommandLine(c.line);
        EXPECT_EQ(choice.mode, c.mode);
        EXPECT_EQ(choice.parentIsForeground, c.foreground);
        EXPECT_EQ(choice.parentNumber, c.parent);
    }
}

TEST(CommandLine, VtuneSwitchNeedsSixCharactersAtTheStart) {
    EXPECT_TRUE(IsVtuneSwitch("-vtune") && IsVtuneSwitch("-VTune /s"));
    EXPECT_FALSE(IsVtuneSwitch("-vtun") || IsVtuneSwitch(" -vtune") || IsVtuneSwitch(nullptr));
}

TEST(CommandLine, ArchivePathBesideTheProgram) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Program Files\\Saver\\solvane.scr\" /s", "C:\\Program Files\\Saver\\slv.dat"},
        {"C:\\WINDOWS\\SOLVANE.SCR /s", "C:\\WINDOWS\\slv.dat"},
        {"/home/u/bin/solvane -x", "/home/u/bin/slv.dat"},
        {"solvane.scr /s", "slv.dat"},
        {"", "slv.dat"},
    };
    char path[ArchivePathSize];
    for (const auto& c : cases) {
        ASSERT_TRUE(BuildArchivePath(c.first, path, sizeof path)) << c.first;
        EXPECT_STREQ(path, c.second);
    }
}

// A folder of 392 characters + "slv.dat" + terminator fits the 400 bytes exactly; one
// more character, a program path too long to hold its folder, or a tiny buffer are
// refused with an empty result rather than cut.
TEST(CommandLine, ArchivePathThatDoesNotFitIsRefusedNotCut) {
    char path[ArchivePathSize];
    const std::string folder = "C:\\" + std::string(388, 'd') + "\\";
    ASSERT_TRUE(BuildArchivePath((folder + "s.scr").c_str(), path, sizeof path));
    EXPECT_EQ(std::string(path), folder + "slv.dat");
    for (const std::string& line :
         {"C:\\" + std::string(389, 'd') + "\\s.scr", "C:\\a\\" + std::string(500, 'p')}) {
        EXPECT_FALSE(BuildArchivePath(line.c_str(), path, sizeof path));
        EXPECT_STREQ(path, "");
    }
    char tiny[4];
    EXPECT_FALSE(BuildArchivePath("a.scr", tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "");
}

} // namespace
