// Window procedure, screen-saver close rules and relative mouse input.
#include "shell/window.h"

#include "effect/mouse_input.h"
#include "effect/options.h"
#include "effect/params.h"
#include "shell/main_window.h"
#include "shell/password.h"
#include "shell/saver.h"
#include "shell/screenshot.h"

#include <cstdint>

ShellServices DefaultShellServices() {
    ShellServices services;
    services.tickCount = []() -> DWORD { return GetTickCount(); };
    services.cursorPos = [](POINT* point) -> BOOL { return GetCursorPos(point); };
    services.postMessage = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> BOOL {
        return PostMessageA(window, message, wParam, lParam);
    };
    services.destroyWindow = [](HWND window) -> BOOL { return DestroyWindow(window); };
    services.clientRect = [](HWND window, RECT* rect) -> BOOL {
        return GetClientRect(window, rect);
    };
    services.setCursorPos = [](int x, int y) -> BOOL { return SetCursorPos(x, y); };
    services.hideCursor = []() { SetCursor(nullptr); };
    services.releaseCursorClip = []() { ClipCursor(nullptr); };
    services.postQuit = [](int exitCode) { PostQuitMessage(exitCode); };
    services.verifyPassword = [](HWND window) -> bool { return VerifyPassword(window); };
    services.takeScreenshot = []() { TakeScreenshot(); };
    services.dumpParameters = []() { DumpParameters(); };
    services.defaultProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return DefWindowProcA(window, message, wParam, lParam);
    };
    return services;
}

ShellServices shellServices = DefaultShellServices();

HWND mainWindow = nullptr;

void CloseMainWindowOnReport() {
    if (mainWindow != nullptr)
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}

void RequestClose() {
    screenSaver.closeRequested = 1;
    shellServices.postMessage(screenSaver.window, WM_CLOSE, 0, 0);
}

namespace {

// WM_CLOSE under the saver rules: only a close that input requested ends the
// saver, after the password once the delay has passed. Always swallowed.
void SaverClose(HWND window) {
    if (screenSaver.closeRequested != 1 || screenSaver.busy != 0)
        return;
    bool allow = true;
    uint32_t elapsed = shellServices.tickCount() - screenSaver.startTicks;
    // In 64 bits, so a huge delay cannot wrap into "no delay".
    if (static_cast<int64_t>(elapsed) > static_cast<int64_t>(screenSaver.passwordDelay) * 1000) {
        screenSaver.busy = 1;
        allow = shellServices.verifyPassword(window);
        screenSaver.busy = 0;
        // Movement inside the password dialog must not count afterwards.
        shellServices.cursorPos(&screenSaver.cursorRef);
    }
    if (allow)
        shellServices.destroyWindow(window);
}

bool MovedBeyondThreshold() {
    POINT now = screenSaver.cursorRef;
    if (!shellServices.cursorPos(&now))
        return false;
    int64_t dx = static_cast<int64_t>(now.x) - screenSaver.cursorRef.x;
    int64_t dy = static_cast<int64_t>(now.y) - screenSaver.cursorRef.y;
    if (dx < 0)
        dx = -dx;
    if (dy < 0)
        dy = -dy;
    return dx > screenSaver.mouseThreshold || dy > screenSaver.mouseThreshold;
}

} // namespace

int SaverFilter(HWND window, UINT message, WPARAM wParam, LPARAM) {
    bool saverRules = screenSaver.mode == RunMode::Saver;
    switch (message) {
    case WM_CREATE:
        screenSaver.window = window;
        shellServices.cursorPos(&screenSaver.cursorRef);
        screenSaver.startTicks = shellServices.tickCount();
        return 1;
    case WM_ACTIVATE:
        if (saverRules && screenSaver.busy == 0 && LOWORD(wParam) == WA_INACTIVE)
            RequestClose();
        return 1;
    case WM_CLOSE:
        if (!saverRules)
            return 1;
        SaverClose(window);
        return 0;
    case WM_SYSCOMMAND:
        if (saverRules && (wParam == SC_SCREENSAVE || wParam == SC_CLOSE))
            return 0;
        return 1;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (saverRules && screenSaver.busy == 0)
            RequestClose();
        return 1;
    case WM_MOUSEMOVE:
        if (saverRules && screenSaver.busy == 0 && MovedBeyondThreshold())
            RequestClose();
        return 1;
    default:
        return 1;
    }
}

void MouseInput(HWND window, int x, int y, WPARAM keys) {
    // Only the interactive options screen takes the mouse. Checking the run mode
    // as well keeps the pointer still before the options screen has chosen its
    // mode: a warp would count as movement and end the saver.
    if (screenSaver.mode != RunMode::Configure || showMode == ShowMode::WatchOnly)
        return;
    RECT rect = {0, 0, 0, 0};
    shellServices.clientRect(window, &rect);
    int cx = (rect.right - rect.left) / 2;
    int cy = (rect.bottom - rect.top) / 2;
    if (skipFirstMouse == 0) {
        mouseDeltaX += x - cx;
        mouseDeltaY += y - cy;
        mouseButtons = static_cast<uint32_t>(keys & (MK_LBUTTON | MK_RBUTTON));
    }
    // The client centre doubles as a screen position: the window covers the
    // screen from (0, 0).
    if (x != cx || y != cy)
        shellServices.setCursorPos(cx, cy);
    skipFirstMouse = 0;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    int pass = SaverFilter(window, message, wParam, lParam);
    switch (message) {
    case WM_ACTIVATEAPP:
        appActive = static_cast<int16_t>(LOWORD(wParam));
        shellServices.releaseCursorClip();
        return 0;
    case WM_DESTROY:
        shellServices.postQuit(0);
        return 0;
    case WM_SETCURSOR:
        shellServices.hideCursor();
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN)
            shellServices.dumpParameters();
        else if (wParam == VK_ESCAPE)
            shellServices.postMessage(window, WM_CLOSE, 0, 0);
        else if (wParam == VK_F12)
            shellServices.takeScreenshot();
        return 0;
    case WM_CHAR:
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        MouseInput(window, LOWORD(lParam), HIWORD(lParam), wParam);
        return 0;
    default:
        if (pass == 0)
            return 0;
        return shellServices.defaultProc(window, message, wParam, lParam);
    }
}
