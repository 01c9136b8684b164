// The Windows-style command line main() builds, and the dialog table against the
// Windows resource script.
#include "resources/dialogs.h"
#include "tests/support/scratch_folder.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
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

// WinMain receives what follows the program name (up to its closing quote or first blank).
TEST(CommandLine, SkippingTheProgramNameGivesWhatWinMainReceives) {
    std::string line = Build("/home/a user/solvane", {"/c:1234"});
    EXPECT_STREQ(win32::SkipProgramName(line.c_str()), "/c:1234");
    EXPECT_STREQ(win32::SkipProgramName("\"C:\\a b\\x.scr\"   /s  "), "/s  ");
    EXPECT_STREQ(win32::SkipProgramName("\"C:\\unterminated"), "");
    EXPECT_STREQ(win32::SkipProgramName(nullptr), "");
    EXPECT_EQ(win32::ProgramPath("ignored").find("/"), 0u) << "the real executable, not argv[0]";
}

// The resource script with texts.h's macros and the Windows identifiers put in.
std::string ExpandedScript() {
    std::map<std::string, std::string> macros = {{"IDOK", "1"}, {"IDCANCEL", "2"}};
    std::regex define(R"(#define\s+(\w+)\s+(.+))");
    std::istringstream header(
        testsupport::ReadWhole(std::string(SOLVANE_SOURCE_DIR) + "/resources/texts.h"));
    std::string line;
    std::smatch match;
    while (std::getline(header, line))
        if (std::regex_match(line, match, define))
            macros[match[1]] = match[2];
    std::string script =
        testsupport::ReadWhole(std::string(SOLVANE_SOURCE_DIR) + "/resources/solvane.rc");
    for (const auto& [name, value] : macros)
        script = std::regex_replace(script, std::regex("\\b" + name + "\\b"), value);
    return script;
}

TEST(Resources, TheLinuxTableMatchesTheWindowsScriptItemByItem) {
    std::string script = ExpandedScript();
    const resources::DialogTemplate* dialog = resources::FindDialog(101);
    ASSERT_NE(dialog, nullptr);
    for (const std::string& expected :
         {"101 DIALOG 0, 0, " + std::to_string(dialog->width) + ", " +
              std::to_string(dialog->height),
          "CAPTION \"" + std::string(dialog->caption) + "\"",
          "FONT 8, \"" + std::string(dialog->fontName) + "\"", std::string("1 \"Solvane\"")})
        EXPECT_NE(script.find(expected), std::string::npos) << expected;
    EXPECT_STREQ(resources::FindString(1), "Solvane");

    std::regex item(
        R"((PUSHBUTTON|CTEXT|GROUPBOX)\s+\"([^\"]*)\",\s*(-?\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))");
    const char* kinds[] = {"PUSHBUTTON", "CTEXT", "GROUPBOX"};
    int index = 0;
    for (auto it = std::sregex_iterator(script.begin(), script.end(), item);
         it != std::sregex_iterator(); ++it, ++index) {
        ASSERT_LT(index, dialog->itemCount);
        const resources::DialogItem& e = dialog->items[index];
        const std::smatch& found = *it;
        EXPECT_EQ(std::make_tuple(found[1].str(), found[2].str(), std::stoi(found[3]),
                                  std::stoi(found[4]), std::stoi(found[5]), std::stoi(found[6]),
                                  std::stoi(found[7])),
                  std::make_tuple(std::string(kinds[static_cast<int>(e.kind)]), std::string(e.text),
                                  e.id, e.x, e.y, e.width, e.height))
            << "item " << index;
    }
    EXPECT_EQ(index, dialog->itemCount);
}

} // namespace
