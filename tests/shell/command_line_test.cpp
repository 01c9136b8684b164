#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>

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
        {"solvane.scr   ", RunMode::Configure, false, 0},
        {"\"C:\\Program Files\\solvane.scr\"", RunMode::Configure, false, 0},
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
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        CommandLineChoice choice = ParseCommandLine(c.line);
        EXPECT_EQ(choice.mode, c.mode);
        EXPECT_EQ(choice.parentIsForeground, c.foreground);
        EXPECT_EQ(choice.parentNumber, c.parent);
    }
}

TEST(CommandLine, OddInputIsReadSafely) {
    EXPECT_EQ(ParseCommandLine(nullptr).mode, RunMode::Configure);
    EXPECT_EQ(ParseCommandLine("").mode, RunMode::Configure);
    // An unterminated quote swallows the whole line as the program name.
    EXPECT_EQ(ParseCommandLine("\"C:\\odd /s").mode, RunMode::Configure);
    // A window number too large for long is clamped instead of overflowing.
    CommandLineChoice huge = ParseCommandLine("x /p 99999999999999999999999999");
    EXPECT_EQ(huge.mode, RunMode::Preview);
    EXPECT_GT(huge.parentNumber, 0);
}

TEST(CommandLine, VtuneSwitchNeedsSixCharactersAtTheStart) {
    EXPECT_TRUE(IsVtuneSwitch("-vtune"));
    EXPECT_TRUE(IsVtuneSwitch("-VTune /s"));
    EXPECT_FALSE(IsVtuneSwitch("-vtun"));
    EXPECT_FALSE(IsVtuneSwitch(" -vtune"));
    EXPECT_FALSE(IsVtuneSwitch("/s"));
    EXPECT_FALSE(IsVtuneSwitch(nullptr));
}

TEST(CommandLine, ArchivePathBesideTheProgram) {
    char path[ArchivePathSize];
    ASSERT_TRUE(
        BuildArchivePath("\"C:\\Program Files\\Saver\\solvane.scr\" /s", path, sizeof path));
    EXPECT_STREQ(path, "C:\\Program Files\\Saver\\slv.dat");
    ASSERT_TRUE(BuildArchivePath("C:\\WINDOWS\\SOLVANE.SCR /s", path, sizeof path));
    EXPECT_STREQ(path, "C:\\WINDOWS\\slv.dat");
    ASSERT_TRUE(BuildArchivePath("/home/u/bin/solvane -x", path, sizeof path));
    EXPECT_STREQ(path, "/home/u/bin/slv.dat");
    ASSERT_TRUE(BuildArchivePath("solvane.scr /s", path, sizeof path));
    EXPECT_STREQ(path, "slv.dat");
    ASSERT_TRUE(BuildArchivePath("", path, sizeof path));
    EXPECT_STREQ(path, "slv.dat");
}

TEST(CommandLine, ArchivePathThatDoesNotFitIsRefusedNotCut) {
    char path[ArchivePathSize];
    // Folder of 392 characters + "slv.dat" + terminator = 400 bytes: fits exactly.
    std::string folder = "C:\\" + std::string(388, 'd') + "\\";
    ASSERT_EQ(folder.size(), 392u);
    ASSERT_TRUE(BuildArchivePath((folder + "s.scr").c_str(), path, sizeof path));
    EXPECT_EQ(std::string(path), folder + "slv.dat");
    // One more character in the folder and the result would not fit.
    std::string longer = "C:\\" + std::string(389, 'd') + "\\";
    EXPECT_FALSE(BuildArchivePath((longer + "s.scr").c_str(), path, sizeof path));
    EXPECT_STREQ(path, "");
    // A program path of 400 characters or more cannot be trusted to hold its folder.
    std::string program = "C:\\a\\" + std::string(500, 'p');
    EXPECT_FALSE(BuildArchivePath(program.c_str(), path, sizeof path));
    char tiny[4];
    EXPECT_FALSE(BuildArchivePath("a.scr", tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "");
}

} // namespace
