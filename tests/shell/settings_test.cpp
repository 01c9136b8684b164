#include "shell/settings.h"

#include "shell/entry.h"
#include "shell/saver.h"
#include "tests/support/scratch_folder.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace {

// Each test gets its own registry file in a fresh folder.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch.path.empty());
        win32::SetRegistryFile(scratch.PathOf("registry.ini"));
        screenSaver = ScreenSaver();
    }
    void TearDown() override {
        win32::SetRegistryFile("");
        screenSaver = ScreenSaver();
    }
    // Writes registry.ini with the saver's key holding lines (.reg export lines).
    void StoreLines(const std::string& lines) {
        testsupport::WriteWhole(scratch.PathOf("registry.ini"),
                                std::string("[HKEY_CURRENT_USER\\") + SaverSettingsKey + "]\n" +
                                    lines);
        win32::SetRegistryFile(scratch.PathOf("registry.ini")); // read the file anew
    }
    testsupport::ScratchFolder scratch;
};

// Without a key: the defaults, and Mute Sound is not touched.
TEST_F(SettingsTest, DefaultsWithoutAKey) {
    screenSaver.passwordDelay = screenSaver.mouseThreshold = 99;
    screenSaver.muteSound = 7;
    screenSaver.busy = 1;
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 15);
    EXPECT_EQ(screenSaver.mouseThreshold, 50);
    EXPECT_EQ(screenSaver.muteSound, 7);
    EXPECT_EQ(screenSaver.busy, 0);
}

// Stored values replace the defaults, zero included, whatever their type.
TEST_F(SettingsTest, StoredValuesReplaceTheDefaults) {
    StoreLines("\"Mouse Threshold\"=dword:00000000\n"
               "\"Mute Sound\"=dword:00000001\n"
               "\"Password Delay\"=hex:2c,01,00,00\n"); // 300 little-endian
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 300);
    EXPECT_EQ(screenSaver.mouseThreshold, 0);
    EXPECT_EQ(screenSaver.muteSound, 1);
}

// A registry.ini written by hand, as a user edits it: decimals, hex dwords, stray
// lines and other sections are read the way the saver reads them; a value that
// does not parse, or is longer than four bytes, keeps its default.
TEST_F(SettingsTest, AHandWrittenFileIsReadAsTheSaverReadsIt) {
    const std::string section = std::string("[HKEY_CURRENT_USER\\") + SaverSettingsKey + "]\n";
    testsupport::WriteWhole(scratch.PathOf("registry.ini"),
                            "; my settings\nstray=1\n" + section +
                                "\"Password Delay\"=0\n"
                                "  Mouse Threshold = dword:0000000a  \n"
                                "\"Mute Sound\"=dword:zz\n"
                                "\"Broken\n"
                                "[HKEY_CURRENT_USER\\Other]\n"
                                "\"Mouse Threshold\"=99\n");
    screenSaver.muteSound = 4;
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 0);
    EXPECT_EQ(screenSaver.mouseThreshold, 10);
    EXPECT_EQ(screenSaver.muteSound, 4);

    // The type is not looked at: "12" and its terminator are 3 bytes, read as they are.
    testsupport::WriteWhole(scratch.PathOf("registry.ini"),
                            section + "\"Mouse Threshold\"=hex:01,02,03,04,05\n"
                                      "\"Password Delay\"=\"12\"\n");
    win32::SetRegistryFile(scratch.PathOf("registry.ini")); // read the file anew
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 0x3231);
    EXPECT_EQ(screenSaver.mouseThreshold, 50) << "5 bytes do not fit in 4";
}

// The program's own settings dialog procedure, through the layer's dialog with a
// stand-in for the person: Ok ends it with 1; Cancel and closing the box with 0.
TEST(SettingsDialog, OkEndsWithOneAndCancelOrClosingWithZero) {
    static int pressed;
    win32::SetBoxAnswerer([](const char*, const char*, const int*, int) { return pressed; });
    for (const auto& [button, result] :
         {std::pair<int, INT_PTR>{IDOK, 1}, {IDCANCEL, 0}, {-1, 0}}) {
        pressed = button;
        EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(101), nullptr, SettingsDialogProc, 0),
                  result)
            << "button " << button;
    }
    win32::SetBoxAnswerer(nullptr);
}

} // namespace
