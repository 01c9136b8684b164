// The registry file through the registry calls: each kind of value read back
// with its type and bytes, and files too large to read. A missing
// file and hand-written files are tested through the saver's own reader
// (tests/shell/settings_test.cpp).
#include "tests/support/scratch_folder.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
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

    static LONG Query(HKEY key, const char* name, void* data, DWORD& size, DWORD* type = nullptr) {
        return RegQueryValueExA(key, name, nullptr, type, static_cast<BYTE*>(data), &size);
    }

    testsupport::ScratchFolder folder;
    std::string file = folder.PathOf("solvane/registry.ini");
};

// Each kind of value a .reg export holds comes back with its type and bytes.
TEST_F(Registry, ValuesOfEveryKindAreReadWithTheirTypeAndBytes) {
    testsupport::WriteWhole(file, saverSection + "\"Mouse Threshold\"=dword:0000002a\n"
                                                 "\"Password Delay\"=dword:ffffffff\n"
                                                 "\"Note\"=\"say \\\"hi\\\" C:\\\\x\"\n"
                                                 "\"Raw\"=hex:01,02,ff\n");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    LONG number = 0;
    DWORD size = 4, type = 0;
    ASSERT_EQ(Query(key, "mouse threshold", &number, size, &type), ERROR_SUCCESS);
    EXPECT_EQ(number, 42);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    size = 4;
    ASSERT_EQ(Query(key, "Password Delay", &number, size), ERROR_SUCCESS);
    EXPECT_EQ(number, -1);
    char text[64] = {};
    size = sizeof text;
    ASSERT_EQ(Query(key, "Note", text, size, &type), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_STREQ(text, "say \"hi\" C:\\x");
    EXPECT_EQ(size, DWORD(std::strlen(text) + 1));
    uint8_t raw[8] = {};
    size = sizeof raw;
    ASSERT_EQ(Query(key, "Raw", raw, size, &type), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(raw[2], 0xFF);
    size = 2; // too small for a dword: refused, with the size it needs
    EXPECT_EQ(Query(key, "Mouse Threshold", &number, size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    RegCloseKey(key);
}

TEST_F(Registry, AFileTooLargeToReadIsNotRead) {
    testsupport::WriteWhole(file,
                            saverSection + "\"Mouse Threshold\"=7\n" + std::string(2 << 20, ';'));
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key), ERROR_SUCCESS);
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
