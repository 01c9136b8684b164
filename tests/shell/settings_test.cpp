#include "shell/settings.h"

#include "shell/saver.h"
#include "tests/support/scratch_folder.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdint>

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
    void StoreNumber(const char* name, int32_t value) { Store(name, REG_DWORD, &value, 4); }
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

// Stored values replace the defaults, zero included; the type is not checked, but a
// value of more than four bytes keeps its default.
TEST_F(SettingsTest, StoredValuesReplaceTheDefaults) {
    StoreNumber("Mouse Threshold", 0);
    StoreNumber("Mute Sound", 1);
    Store("Password Delay", REG_BINARY, "\x2C\x01\0", 4); // 300 little-endian
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 300);
    EXPECT_EQ(screenSaver.mouseThreshold, 0);
    EXPECT_EQ(screenSaver.muteSound, 1);
    StoreNumber("Password Delay", 0);
    Store("Mouse Threshold", REG_BINARY, "\1\2\3\4\5\6\7\x08", 8);
    ReadSettings();
    EXPECT_EQ(screenSaver.passwordDelay, 0);
    EXPECT_EQ(screenSaver.mouseThreshold, 50);
}

} // namespace
