// The registry file through the registry calls; how the saver reads its numbers
// from hand-written files is tested in tests/shell/settings_test.cpp.
#include "tests/support/scratch_folder.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

const char* saverKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const std::string saverSection =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers]\n";

// Names match without regard to case; a buffer too small is refused with the size
// needed; a file too large is not read.
TEST(Registry, ValuesAreReadByNameAndAShortBufferGetsTheSizeNeeded) {
    testsupport::ScratchFolder folder;
    const std::string file = folder.PathOf("solvane/registry.ini");
    win32::SetRegistryFile(file);
    testsupport::WriteWhole(file, saverSection + "\"Mouse Threshold\"=dword:0000002a\n");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    LONG number = 0;
    DWORD size = 4;
    auto query = [&] {
        return RegQueryValueExA(key, "mouse threshold", nullptr, nullptr,
                                reinterpret_cast<BYTE*>(&number), &size);
    };
    EXPECT_EQ(query(), ERROR_SUCCESS);
    EXPECT_EQ(number, 42);
    size = 2;
    EXPECT_EQ(query(), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    RegCloseKey(key);

    testsupport::WriteWhole(file,
                            saverSection + "\"Mouse Threshold\"=7\n" + std::string(2 << 20, ';'));
    win32::SetRegistryFile(file); // read the file anew
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    win32::SetRegistryFile("");
}

TEST(RegistryLocation, FollowsAnAbsoluteXdgConfigHomeElseHome) {
    const char* saved[2] = {std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")};
    const std::string kept[2] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : ""};
    setenv("HOME", "/home/u", 1);
    const char* rows[][2] = {{"/cfg", "/cfg/solvane/registry.ini"},
                             {"relative", "/home/u/.config/solvane/registry.ini"},
                             {nullptr, "/home/u/.config/solvane/registry.ini"}};
    for (const auto& [xdg, file] : rows) {
        xdg ? setenv("XDG_CONFIG_HOME", xdg, 1) : unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(win32::DefaultRegistryFile(), file) << (xdg ? xdg : "unset");
    }
    saved[0] ? setenv("XDG_CONFIG_HOME", kept[0].c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    saved[1] ? setenv("HOME", kept[1].c_str(), 1) : unsetenv("HOME");
}

} // namespace
