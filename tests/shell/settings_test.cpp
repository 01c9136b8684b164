#include "shell/settings.h"

#include "shell/saver.h"
#include "tests/support/scratch_folder.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

namespace {

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
    // Writes registry.ini as before + the saver's key + lines, and reads it anew.
    void Store(const std::string& lines, const std::string& before = "") {
        testsupport::WriteWhole(scratch.PathOf("registry.ini"),
                                before + "[HKEY_CURRENT_USER\\" + SaverSettingsKey + "]\n" + lines);
        win32::SetRegistryFile(scratch.PathOf("registry.ini"));
    }
    testsupport::ScratchFolder scratch;
};

// Without a key: the defaults, and Mute Sound is not touched.
TEST_F(SettingsTest, DefaultsWithoutAKey) {
    screenSaver.passwordDelay = screenSaver.mouseThreshold = 99;
    screenSaver.muteSound = 7;
    ReadSettings();
    EXPECT_EQ(std::make_tuple(screenSaver.passwordDelay, screenSaver.mouseThreshold,
                              screenSaver.muteSound),
              std::make_tuple(15, 50, 7));
}

// Values of up to 4 bytes replace the defaults whatever their type ("12" is 3 bytes).
TEST_F(SettingsTest, StoredValuesReplaceTheDefaultsWhateverTheirType) {
    Store("\"Mouse Threshold\"=hex:01,02,03,04,05\n\"Password Delay\"=\"12\"\n"
          "\"Mute Sound\"=dword:00000000\n");
    screenSaver.muteSound = 4;
    ReadSettings();
    EXPECT_EQ(std::make_tuple(screenSaver.passwordDelay, screenSaver.mouseThreshold,
                              screenSaver.muteSound),
              std::make_tuple(0x3231, 50, 0));
}

// A hand-edited file: decimals, spaces, stray lines and other sections; bad values ignored.
TEST_F(SettingsTest, AHandWrittenFileIsReadAsTheSaverReadsIt) {
    Store("\"Password Delay\"=0\n"
          "  Mouse Threshold = dword:0000000a  \n"
          "\"Mute Sound\"=dword:zz\n"
          "\"Broken\n"
          "[HKEY_CURRENT_USER\\Other]\n"
          "\"Mouse Threshold\"=99\n",
          "; my settings\nstray=1\n");
    screenSaver.muteSound = 4;
    ReadSettings();
    EXPECT_EQ(std::make_tuple(screenSaver.passwordDelay, screenSaver.mouseThreshold,
                              screenSaver.muteSound),
              std::make_tuple(0, 10, 4));
}

} // namespace
