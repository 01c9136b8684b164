// Password check and change through PASSWORD.CPL and MPR.DLL.
#include "shell/password.h"

namespace {
typedef BOOL(WINAPI* VerifyScreenSavePwdProc)(HWND window);
typedef DWORD(WINAPI* PwdChangePasswordProc)(LPCSTR provider, HWND parent, DWORD reserved1,
                                             void* reserved2);
} // namespace

bool VerifyPassword(HWND window) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        return true;
    HMODULE library = LoadLibraryA("PASSWORD.CPL");
    if (library == nullptr)
        return true;
    bool result = true;
    auto verify = reinterpret_cast<VerifyScreenSavePwdProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "VerifyScreenSavePwd")));
    if (verify != nullptr)
        result = verify(window) != FALSE;
    FreeLibrary(library);
    return result;
}

void ChangeSaverPassword(HWND parentWindow) {
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (library == nullptr)
        return;
    auto change = reinterpret_cast<PwdChangePasswordProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change != nullptr)
        change("SCRSAVE", parentWindow, 0, nullptr);
    FreeLibrary(library);
}
