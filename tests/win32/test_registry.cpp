// The registry file: defaults when values are missing, values surviving a write
// and a fresh read, hand-written files, and the query's size rules.
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const char* saverKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/solvane-registry-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        file = directory + "/solvane/registry.ini";
        win32::SetRegistryFile(file);
    }
    void TearDown() override {
        win32::SetRegistryFile("");
        std::remove(file.c_str());
        rmdir((directory + "/solvane").c_str());
        rmdir(directory.c_str());
    }

    void WriteFile(const std::string& text) {
        std::string command = "mkdir -p '" + directory + "/solvane'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ofstream(file) << text;
    }
    std::string ReadFile() {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Reads the three settings the way the saver does: defaults first, each value
    // replacing its default only when a 4-byte query succeeds.
    void ReadSettings(LONG& delay, LONG& threshold, LONG& mute) {
        delay = 15;
        threshold = 50;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
            return;
        }
        const char* names[3] = {"Password Delay", "Mouse Threshold", "Mute Sound"};
        LONG* fields[3] = {&delay, &threshold, &mute};
        for (int i = 0; i < 3; ++i) {
            LONG value = 0;
            DWORD size = 4;
            if (RegQueryValueExA(key, names[i], nullptr, nullptr, reinterpret_cast<LPBYTE>(&value),
                                 &size) == ERROR_SUCCESS) {
                *fields[i] = value;
            }
        }
        RegCloseKey(key);
    }

    std::string directory;
    std::string file;
};

TEST_F(Registry, WithoutAFileTheKeyIsMissingAndDefaultsStay) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_ALL_ACCESS, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    LONG delay, threshold, mute = 9;
    ReadSettings(delay, threshold, mute);
    EXPECT_EQ(delay, 15);
    EXPECT_EQ(threshold, 50);
    EXPECT_EQ(mute, 9) << "an unread value keeps what it had";
}

TEST_F(Registry, ValuesWrittenAreReadBackFromTheFile) {
    HKEY key;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, saverKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));
    DWORD threshold = 0;
    ASSERT_EQ(RegSetValueExA(key, "Mouse Threshold", 0, REG_DWORD,
                             reinterpret_cast<BYTE*>(&threshold), 4),
              ERROR_SUCCESS);
    LONG delay = -1;
    ASSERT_EQ(
        RegSetValueExA(key, "Password Delay", 0, REG_DWORD, reinterpret_cast<BYTE*>(&delay), 4),
        ERROR_SUCCESS);
    const char text[] = "say \"hi\" C:\\x";
    ASSERT_EQ(
        RegSetValueExA(key, "Note", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text)),
        ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_NE(ReadFile().find("\"Mouse Threshold\"=dword:00000000"), std::string::npos)
        << ReadFile();

    win32::SetRegistryFile(file); // forget everything held in memory
    LONG readDelay, readThreshold, mute = 0;
    ReadSettings(readDelay, readThreshold, mute);
    EXPECT_EQ(readThreshold, 0);
    EXPECT_EQ(readDelay, -1);

    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char back[64] = {};
    DWORD size = sizeof(back);
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "note", nullptr, &type, reinterpret_cast<BYTE*>(back), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, DWORD(sizeof(text)));
    EXPECT_STREQ(back, text);
    RegCloseKey(key);

    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, saverKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
}

TEST_F(Registry, HandWrittenFileWithDecimalsHexAndMistakes) {
    WriteFile("; my settings\n"
              "stray=1\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers]\n"
              "\"Password Delay\"=0\n"
              "  Mouse Threshold = dword:0000000a  \n"
              "\"Mute Sound\"=dword:zz\n"
              "\"Broken\n"
              "[HKEY_CURRENT_USER\\Other]\n"
              "\"Mouse Threshold\"=99\n");
    LONG delay, threshold, mute = 5;
    ReadSettings(delay, threshold, mute);
    EXPECT_EQ(delay, 0);
    EXPECT_EQ(threshold, 10);
    EXPECT_EQ(mute, 5) << "a value that does not parse is missing";
}

TEST_F(Registry, AValueLongerThanTheBufferIsNotRead) {
    WriteFile("[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers]\n"
              "\"Mouse Threshold\"=hex:01,02,03,04,05\n"
              "\"Password Delay\"=\"12\"\n");
    LONG delay, threshold, mute = 0;
    ReadSettings(delay, threshold, mute);
    EXPECT_EQ(threshold, 50) << "5 bytes do not fit in 4";
    // The type is not looked at: "12" and its terminator are 3 bytes, read as they are.
    EXPECT_EQ(delay, 0x3231);

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD value = 0;
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueExA(key, "Mouse Threshold", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&value), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 5u);
    size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Mouse Threshold", nullptr, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);
    RegCloseKey(key);
}

TEST_F(Registry, ClosedOrUnknownHandlesAreRefused) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Solvane", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    DWORD size = 4;
    DWORD value;
    EXPECT_EQ(RegQueryValueExA(key, "x", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    // A parent of an existing key exists too.
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(Registry, AFileTooLargeToReadIsNeitherReadNorOverwritten) {
    WriteFile("[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers]\n"
              "\"Mouse Threshold\"=7\n" +
              std::string(2 << 20, ';'));
    LONG delay, threshold, mute = 0;
    ReadSettings(delay, threshold, mute);
    EXPECT_EQ(threshold, 50);
    HKEY key;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Solvane", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_GT(ReadFile().size(), size_t(2 << 20)) << "the file was left alone";
}

TEST(RegistryLocation, FollowsXdgConfigHomeElseHome) {
    std::string savedXdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(win32::DefaultRegistryFile(), "/cfg/solvane/registry.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored, as the XDG rules say
    EXPECT_EQ(win32::DefaultRegistryFile(), "/home/u/.config/solvane/registry.ini");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(win32::DefaultRegistryFile(), "/home/u/.config/solvane/registry.ini");
    if (savedXdg.empty()) {
        unsetenv("XDG_CONFIG_HOME");
    } else {
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    }
    setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
