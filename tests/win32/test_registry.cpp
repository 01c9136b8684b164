// The registry file through the registry calls: values surviving a write and a
// fresh read, and files too large to read, which are never overwritten. A missing
// file and hand-written files are tested through the saver's own reader
// (tests/shell/settings_test.cpp).
#include "tests/support/scratch_folder.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

const char* saverKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const std::string saverSection =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers]\n";

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.path.empty());
        win32::SetRegistryFile(file);
    }
    void TearDown() override { win32::SetRegistryFile(""); }

    static LONG Set(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
        return RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    }
    static LONG Query(HKEY key, const char* name, void* data, DWORD& size, DWORD* type = nullptr) {
        return RegQueryValueExA(key, name, nullptr, type, static_cast<BYTE*>(data), &size);
    }

    testsupport::ScratchFolder folder;
    std::string file = folder.PathOf("solvane/registry.ini");
};

TEST_F(Registry, ValuesWrittenAreReadBackFromTheFile) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, saverKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD threshold = 0;
    LONG delay = -1;
    const char text[] = "say \"hi\" C:\\x";
    ASSERT_EQ(Set(key, "Mouse Threshold", REG_DWORD, &threshold, 4), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, "Password Delay", REG_DWORD, &delay, 4), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, "Note", REG_SZ, text, sizeof(text)), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    std::string written = testsupport::ReadWhole(file);
    EXPECT_NE(written.find("\"Mouse Threshold\"=dword:00000000"), std::string::npos) << written;

    win32::SetRegistryFile(file); // forget everything held in memory
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    LONG number = 99;
    DWORD numberSize = 4;
    ASSERT_EQ(Query(key, "Password Delay", &number, numberSize), ERROR_SUCCESS);
    EXPECT_EQ(number, -1);
    char back[64] = {};
    DWORD size = sizeof(back);
    DWORD type = 0;
    ASSERT_EQ(Query(key, "note", back, size, &type), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, DWORD(sizeof(text)));
    EXPECT_STREQ(back, text);
    RegCloseKey(key);
}

TEST_F(Registry, AFileTooLargeToReadIsNeitherReadNorOverwritten) {
    testsupport::WriteWhole(file,
                            saverSection + "\"Mouse Threshold\"=7\n" + std::string(2 << 20, ';'));
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Solvane", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_GT(testsupport::ReadWhole(file).size(), size_t(2 << 20)) << "the file was left alone";
}

TEST(RegistryLocation, FollowsAnAbsoluteXdgConfigHomeElseHome) {
    const char* names[2] = {"XDG_CONFIG_HOME", "HOME"};
    const char* saved[2] = {std::getenv(names[0]), std::getenv(names[1])};
    std::string kept[2] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : ""};
    setenv("HOME", "/home/u", 1);
    const char* rows[][2] = {{"/cfg", "/cfg/solvane/registry.ini"},
                             {"relative", "/home/u/.config/solvane/registry.ini"},
                             {nullptr, "/home/u/.config/solvane/registry.ini"}};
    for (const auto& [xdg, file] : rows) {
        xdg ? setenv(names[0], xdg, 1) : unsetenv(names[0]);
        EXPECT_EQ(win32::DefaultRegistryFile(), file) << (xdg ? xdg : "unset");
    }
    for (int i = 0; i < 2; ++i)
        saved[i] ? setenv(names[i], kept[i].c_str(), 1) : unsetenv(names[i]);
}

} // namespace
