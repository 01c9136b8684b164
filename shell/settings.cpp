// Registry settings of the saver.
#include "shell/settings.h"

#include "shell/saver.h"
#include "glide/bytes.h"

#include <cstdint>

namespace {

constexpr int32_t DefaultPasswordDelay = 15;  // seconds
constexpr int32_t DefaultMouseThreshold = 50; // pixels

// Replaces field with the value when it reads as exactly 4 bytes or fewer;
// the registry type is not checked, as the control panel has stored several.
void QueryNumber(HKEY key, const char* name, int32_t* field) {
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, nullptr, data, &size) != ERROR_SUCCESS)
        return;
    // Little-endian as the registry stores REG_DWORD; shorter data reads as zero-extended.
    ByteReader(data, sizeof data, ByteOrder::Little).I32(field);
}

} // namespace

void ReadSettings() {
    screenSaver.passwordDelay = DefaultPasswordDelay;
    screenSaver.mouseThreshold = DefaultMouseThreshold;
    screenSaver.busy = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SaverSettingsKey, 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return;
    QueryNumber(key, "Password Delay", &screenSaver.passwordDelay);
    QueryNumber(key, "Mouse Threshold", &screenSaver.mouseThreshold);
    QueryNumber(key, "Mute Sound", &screenSaver.muteSound);
    RegCloseKey(key);
}
