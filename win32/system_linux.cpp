// Version, run-time libraries, system parameters and the thread's last error on
// Linux. There are no Windows libraries to load: LoadLibraryA finds nothing, so
// callers take the path Windows gives them when a library is missing.
#include "win32/win32.h"

#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/utsname.h>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;
BOOL saverRunning = FALSE;

FILETIME FileTimeOf(const timeval& time) {
    uint64_t units = static_cast<uint64_t>(time.tv_sec) * 10000000u +
                     static_cast<uint64_t>(time.tv_usec) * 10u;
    return {static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

// who is RUSAGE_SELF or RUSAGE_THREAD.
BOOL ResourceTimes(int who, LPFILETIME creation, LPFILETIME exit, LPFILETIME kernel,
                   LPFILETIME user) {
    rusage usage;
    if (kernel == nullptr || user == nullptr || getrusage(who, &usage) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (creation != nullptr)
        *creation = {0, 0};
    if (exit != nullptr)
        *exit = {0, 0};
    *kernel = FileTimeOf(usage.ru_stime);
    *user = FileTimeOf(usage.ru_utime);
    return TRUE;
}

} // namespace

DWORD WINAPI GetLastError(void) {
    return lastError;
}

void WINAPI SetLastError(DWORD error) {
    lastError = error;
}

// Reports the NT platform (the system locks the session itself, as NT does) with
// the kernel's version numbers and "Linux" as the service-pack text.
BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    utsname system;
    if (uname(&system) == 0) {
        std::sscanf(system.release, "%u.%u.%u", &major, &minor, &build);
    }
    info->dwMajorVersion = major;
    info->dwMinorVersion = minor;
    info->dwBuildNumber = build;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    std::strncpy(info->szCSDVersion, "Linux", sizeof(info->szCSDVersion) - 1);
    return TRUE;
}

HMODULE WINAPI LoadLibraryA(LPCSTR) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC WINAPI GetProcAddress(HMODULE, LPCSTR) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    if (module == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

// Only the screen-saver-running flag is kept; pvParam, when given, receives the
// previous state as a BOOL, as on Windows 9x.
BOOL WINAPI SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT) {
    switch (action) {
    case SPI_SETSCREENSAVERRUNNING:
        if (pvParam != nullptr) {
            std::memcpy(pvParam, &saverRunning, sizeof(BOOL));
        }
        saverRunning = uiParam != 0 ? TRUE : FALSE;
        return TRUE;
    case SPI_GETSCREENSAVERRUNNING:
        if (pvParam == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        std::memcpy(pvParam, &saverRunning, sizeof(BOOL));
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

// Windows' pseudo-handles: -1 the process, -2 the calling thread.
HANDLE WINAPI GetCurrentProcess(void) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
}

HANDLE WINAPI GetCurrentThread(void) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));
}

BOOL WINAPI GetProcessTimes(HANDLE process, LPFILETIME creation, LPFILETIME exit,
                            LPFILETIME kernel, LPFILETIME user) {
    return process == GetCurrentProcess() ? ResourceTimes(RUSAGE_SELF, creation, exit, kernel, user)
                                          : FALSE;
}

BOOL WINAPI GetThreadTimes(HANDLE thread, LPFILETIME creation, LPFILETIME exit,
                           LPFILETIME kernel, LPFILETIME user) {
    return thread == GetCurrentThread() ? ResourceTimes(RUSAGE_THREAD, creation, exit, kernel, user)
                                        : FALSE;
}
