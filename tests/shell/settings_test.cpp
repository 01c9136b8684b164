#include "shell/settings.h"

#include "shell/saver.h"
#include "tests/support/scratch_folder.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <string>

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
    void Store(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SaverSettingsKey, 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void StoreNumber(const char* name, int32_t value) {
        Store(name, REG_DWORD, &value, sizeof value);
    }
    testsupport::ScratchFolder scratch;
};

TEST_F(SettingsTest, DefaultsWithoutAKey) {
    screenSaver.passwordDelay = 99;
    screenSaver.mouseThreshold = 99;
    screenSaver.muteSound = 7;
    screenSaver.busy = 1;
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 15);
    EXPECT_EQ(screenSaver.mouseThreshold, 50);
    EXPECT_EQ(screenSaver.muteSound, 7) << "not touched when missing";
    EXPECT_EQ(screenSaver.busy, 0);
}

// Stored values replace the defaults, zero included; the type is not checked, but a
// value of more than four bytes keeps its default.
TEST_F(SettingsTest, StoredValuesReplaceTheDefaults) {
    StoreNumber("Mouse Threshold", 0);
    StoreNumber("Mute Sound", 1);
    const unsigned char four[4] = {0x2C, 0x01, 0, 0}; // 300 little-endian
    Store("Password Delay", REG_BINARY, four, sizeof four);
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 300);
    EXPECT_EQ(screenSaver.mouseThreshold, 0);
    EXPECT_EQ(screenSaver.muteSound, 1);

    StoreNumber("Password Delay", 0);
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    Store("Mouse Threshold", REG_BINARY, eight, sizeof eight);
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 0);
    EXPECT_EQ(screenSaver.mouseThreshold, 50);
}

} // namespace
