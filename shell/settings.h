// The saver's closing settings, kept by the display control panel in the
// current user's registry: the password delay, the mouse threshold and the mute
// flag. Read into screenSaver; missing values keep their defaults.
#pragma once

// The key under HKEY_CURRENT_USER that holds the values.
constexpr const char* SaverSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";

// passwordDelay = 15 s, mouseThreshold = 50 px and busy = 0, then each of
// "Password Delay", "Mouse Threshold", "Mute Sound" that can be read as a
// 4-byte number replaces its field. muteSound keeps its value when missing.
void ReadSettings();
