// The smaller services: version, missing libraries, the saver-running flag, the
// clocks, the presenter's picture placement, and the dialog table against the
// Windows resource script.
#include "resources/dialogs.h"
#include "win32/picture_fit.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

TEST(System, VersionNeedsItsSizeAndReportsTheNtPlatform) {
    OSVERSIONINFOA info = {};
    EXPECT_FALSE(GetVersionExA(&info)) << "size field not set";
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(sizeof(info), 148u);
    EXPECT_EQ(info.dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
}

TEST(System, PasswordServicesAreNotThere) {
    EXPECT_EQ(LoadLibraryA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadLibraryA("MPR.DLL"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "VerifyScreenSavePwd"), nullptr);
}

TEST(System, SaverRunningFlagHandsBackItsPreviousState) {
    BOOL previous = 5;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SCREENSAVERRUNNING, TRUE, &previous, 0));
    EXPECT_EQ(previous, FALSE);
    ASSERT_TRUE(SystemParametersInfoA(SPI_SCREENSAVERRUNNING, FALSE, &previous, 0));
    EXPECT_EQ(previous, TRUE);
    EXPECT_TRUE(SystemParametersInfoA(SPI_SCREENSAVERRUNNING, FALSE, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoA(0x1234, 0, nullptr, 0));
}

TEST(System, ClocksAdvanceTogetherAcrossASleep) {
    DWORD ticks = GetTickCount();
    DWORD timer = timeGetTime();
    EXPECT_EQ(timeBeginPeriod(1), UINT(TIMERR_NOERROR));
    Sleep(20);
    EXPECT_EQ(timeEndPeriod(1), UINT(TIMERR_NOERROR));
    EXPECT_GE(DWORD(GetTickCount() - ticks), 20u);
    EXPECT_GE(DWORD(timeGetTime() - timer), 20u);
}

TEST(PictureFit, KeepsTheAspectWithBarsOnTheLongSide) {
    win32::PictureArea same = win32::FitPicture(1024, 768, 640, 480);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.y, 0);
    EXPECT_EQ(same.width, 1024);
    EXPECT_EQ(same.height, 768);
    win32::PictureArea wide = win32::FitPicture(1920, 1080, 640, 480);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.height, 1080);
    win32::PictureArea tall = win32::FitPicture(1280, 1024, 640, 480);
    EXPECT_EQ(tall.y, 32);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 960);
    win32::PictureArea none = win32::FitPicture(0, 768, 640, 480);
    EXPECT_EQ(none.width, 0);
}

std::string ReadSource(const std::string& path) {
    std::ifstream file(std::string(SOLVANE_SOURCE_DIR) + "/" + path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The resource script with texts.h's macros and the Windows identifiers put in.
std::string ExpandedScript() {
    std::map<std::string, std::string> macros = {{"IDOK", "1"}, {"IDCANCEL", "2"}};
    std::regex define(R"(#define\s+(\w+)\s+(.+))");
    std::istringstream header(ReadSource("resources/texts.h"));
    std::string line;
    std::smatch match;
    while (std::getline(header, line)) {
        if (std::regex_match(line, match, define)) {
            macros[match[1]] = match[2];
        }
    }
    std::string script = ReadSource("resources/solvane.rc");
    for (const auto& [name, value] : macros) {
        script = std::regex_replace(script, std::regex("\\b" + name + "\\b"), value);
    }
    return script;
}

TEST(Resources, TheLinuxTableMatchesTheWindowsScriptItemByItem) {
    std::string script = ExpandedScript();
    const resources::DialogTemplate* dialog = resources::FindDialog(101);
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(script.find("101 DIALOG 0, 0, " + std::to_string(dialog->width) + ", " +
                          std::to_string(dialog->height)),
              std::string::npos);
    EXPECT_NE(script.find("CAPTION \"" + std::string(dialog->caption) + "\""), std::string::npos);
    EXPECT_NE(script.find("FONT 8, \"" + std::string(dialog->fontName) + "\""), std::string::npos);

    std::regex item(
        R"((PUSHBUTTON|CTEXT|GROUPBOX)\s+\"([^\"]*)\",\s*(-?\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))");
    auto begin = std::sregex_iterator(script.begin(), script.end(), item);
    int index = 0;
    for (auto it = begin; it != std::sregex_iterator(); ++it, ++index) {
        ASSERT_LT(index, dialog->itemCount);
        const resources::DialogItem& expected = dialog->items[index];
        const std::smatch& found = *it;
        const char* kinds[] = {"PUSHBUTTON", "CTEXT", "GROUPBOX"};
        EXPECT_EQ(found[1].str(), kinds[static_cast<int>(expected.kind)]) << "item " << index;
        EXPECT_EQ(found[2].str(), expected.text) << "item " << index;
        EXPECT_EQ(std::stoi(found[3]), expected.id) << "item " << index;
        EXPECT_EQ(std::stoi(found[4]), expected.x) << "item " << index;
        EXPECT_EQ(std::stoi(found[5]), expected.y) << "item " << index;
        EXPECT_EQ(std::stoi(found[6]), expected.width) << "item " << index;
        EXPECT_EQ(std::stoi(found[7]), expected.height) << "item " << index;
    }
    EXPECT_EQ(index, dialog->itemCount);
    EXPECT_STREQ(resources::FindString(1), "Solvane");
    EXPECT_NE(script.find("1 \"Solvane\""), std::string::npos) << "the string table's entry 1";
}

} // namespace
