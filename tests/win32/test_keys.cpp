// Keyboard translation: virtual-key codes, system keys, key message bits and the
// characters TranslateMessage makes.
#include "win32/key_map.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyMap, KeysTheShellActsOnHaveTheirWindowsCodes) {
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), UINT(VK_ESCAPE));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_RETURN, SDL_SCANCODE_RETURN), UINT(VK_RETURN));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), UINT(VK_RETURN));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_F12, SDL_SCANCODE_F12), UINT(VK_F12));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_F1, SDL_SCANCODE_F1), UINT(VK_F1));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_F10, SDL_SCANCODE_F10), UINT(VK_F10));
}

TEST(KeyMap, LettersFollowTheLayoutAndEveryKeyGivesACode) {
    // On an AZERTY layout the key at Q's place types 'a': Windows reports 'A'.
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_a, SDL_SCANCODE_Q), UINT('A'));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_z, SDL_SCANCODE_Z), UINT('Z'));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_7, SDL_SCANCODE_7), UINT('7'));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_KP_7, SDL_SCANCODE_KP_7), UINT(VK_NUMPAD7));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), UINT(VK_SHIFT));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_RALT, SDL_SCANCODE_RALT), UINT(VK_MENU));
    // A key without a Windows code still arrives (a saver closes on any key).
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), 0xFFu);
}

TEST(KeyMap, SystemKeysAreF10AltAndAltCombinationsWithoutCtrl) {
    EXPECT_TRUE(win32::IsSystemKey(VK_F10, false, false));
    EXPECT_TRUE(win32::IsSystemKey(VK_MENU, true, false));
    EXPECT_TRUE(win32::IsSystemKey('X', true, false));
    EXPECT_TRUE(win32::IsSystemKey(VK_F4, true, false));
    EXPECT_FALSE(win32::IsSystemKey('X', false, false));
    EXPECT_FALSE(win32::IsSystemKey(VK_ESCAPE, false, true));
    EXPECT_FALSE(win32::IsSystemKey('Q', true, true)); // AltGr
}

TEST(KeyMap, KeyMessageBits) {
    EXPECT_EQ(win32::KeyMessageLParam(false, false, false), LPARAM(1));
    EXPECT_EQ(DWORD(win32::KeyMessageLParam(true, false, false)), (1u << 29) | 1u);
    EXPECT_EQ(DWORD(win32::KeyMessageLParam(false, true, false)), (1u << 30) | 1u);
    EXPECT_EQ(DWORD(win32::KeyMessageLParam(false, false, true)), (3u << 30) | 1u);
}

TEST(KeyMap, CharactersOfKeyPresses) {
    EXPECT_EQ(win32::CharacterFromVirtualKey('A', false), 'a');
    EXPECT_EQ(win32::CharacterFromVirtualKey('A', true), 'A');
    EXPECT_EQ(win32::CharacterFromVirtualKey('5', false), '5');
    EXPECT_EQ(win32::CharacterFromVirtualKey(VK_RETURN, false), '\r');
    EXPECT_EQ(win32::CharacterFromVirtualKey(VK_ESCAPE, false), '\x1b');
    EXPECT_EQ(win32::CharacterFromVirtualKey(VK_F12, false), 0);
    EXPECT_EQ(win32::CharacterFromVirtualKey(VK_SHIFT, true), 0);
}

} // namespace
