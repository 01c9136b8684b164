#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

namespace {

TEST(CommandLine, RunModeTable) {
    const struct {
        const char* line;
        RunMode mode;
        bool foreground;
        long parent;
    } cases[] = {
        {"solvane.scr", RunMode::Configure, false, 0},
        {"\"C:\\Program Files\\solvane.scr\" /s", RunMode::Saver, false, 0},
        {"solvane.scr s", RunMode::Saver, false, 0},
        {"solvane.scr /c", RunMode::Configure, true, 0},
        {"solvane.scr /C: :  77", RunMode::Configure, false, 77},
        {"solvane.scr /p 1234", RunMode::Preview, false, 1234},
        {"solvane.scr /a 1234", RunMode::ChangePassword, false, 1234},
        {"solvane.scr -vtune /s", RunMode::Other, false, 0},
        {nullptr, RunMode::Configure, false, 0},
        {"\"C:\\odd /s", RunMode::Configure, false, 0}, // an unterminated quote: all program name
        {"x /p 99999999999999999999999999", RunMode::Preview, false, LONG_MAX}, // clamped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line != nullptr ? c.line : "(null)");
        CommandLineChoice choice = ParseCommandLine(c.line);
        EXPECT_EQ(choice.mode, c.mode);
        EXPECT_EQ(choice.parentIsForeground, c.foreground);
        EXPECT_EQ(choice.parentNumber, c.parent);
    }
}

// XScreenSaver's options win wherever they stand; a window number is all digits, else 0.
TEST(CommandLine, ScreenSaverEngineOptionsChooseTheHostedShow) {
    const auto expectHosted = [](const char* line, bool fromEnvironment, long number) {
        SCOPED_TRACE(line);
        const CommandLineChoice choice = ParseCommandLine(line);
        EXPECT_EQ(choice.mode, RunMode::Hosted);
        EXPECT_EQ(choice.hostFromEnvironment, fromEnvironment);
        EXPECT_EQ(choice.parentNumber, number);
        EXPECT_EQ(choice.badHostNumber, !fromEnvironment && number == 0);
    };
    for (const char* line : {"solvane -root", "solvane /s --root"})
        expectHosted(line, true, 0);
    const std::pair<const char*, long> numbered[] = {
        {"solvane -window-id 0x1e00003", 0x1e00003},
        {"solvane --window-id 31457283", 31457283},
        {"solvane -fps --window-id 0X2A -root", 42},
        {"\"/usr/lib/solvane/solvane\" \"-window-id\" \"77\"", 77},
        {"solvane -window-id", 0},
        {"solvane -window-id 12x", 0},
        {"solvane -window-id -5", 0},
        {"solvane -window-id 0x100000000", 0},
    };
    for (const auto& [line, number] : numbered)
        expectHosted(line, false, number);
    // Near misses keep their Windows meaning: "-r..." and "-w..." are other letters.
    for (const char* line : {"solvane -ROOT", "solvane -window"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ParseCommandLine(line).mode, RunMode::Other);
    }
    EXPECT_EQ(ParseWindowNumber("4294967295"), 4294967295ul);
}

TEST(CommandLine, VtuneSwitchNeedsSixCharactersAtTheStart) {
    EXPECT_TRUE(IsVtuneSwitch("-vtune") && IsVtuneSwitch("-VTune /s"));
    EXPECT_FALSE(IsVtuneSwitch("-vtun") || IsVtuneSwitch(" -vtune") || IsVtuneSwitch(nullptr));
}

TEST(CommandLine, ArchivePathBesideTheProgram) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Program Files\\Saver\\solvane.scr\" /s", "C:\\Program Files\\Saver\\slv.dat"},
        {"/home/u/bin/solvane -x", "/home/u/bin/slv.dat"},
        {"solvane.scr /s", "slv.dat"},
    };
    char path[ArchivePathSize];
    for (const auto& c : cases) {
        ASSERT_TRUE(BuildArchivePath(c.first, path, sizeof path)) << c.first;
        EXPECT_STREQ(path, c.second);
    }
}

// A 392-character folder + "slv.dat" fits 400 bytes exactly; longer is refused, not cut.
TEST(CommandLine, ArchivePathThatDoesNotFitIsRefusedNotCut) {
    char path[ArchivePathSize];
    const std::string folder = "C:\\" + std::string(388, 'd') + "\\";
    ASSERT_TRUE(BuildArchivePath((folder + "s.scr").c_str(), path, sizeof path));
    EXPECT_EQ(std::string(path), folder + "slv.dat");
    EXPECT_FALSE(
        BuildArchivePath(("C:\\" + std::string(389, 'd') + "\\s.scr").c_str(), path, sizeof path));
    EXPECT_STREQ(path, "");
    char tiny[4];
    EXPECT_FALSE(BuildArchivePath("a.scr", tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "");
}

} // namespace
