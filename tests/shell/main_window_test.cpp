#include "shell/main_window.h"
#include "toolkit/report.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// With a main window a report asks it to close; without one nothing is posted.
TEST(Report, AsksTheMainWindowToClose) {
    SetReportHook(CloseMainWindowOnReport);
    setenv("SDL_VIDEODRIVER", "dummy", 1); // the only test here that starts the video
    win32::ResetWindowsForTests();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "report test";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    HWND window = CreateWindowExA(0, "report test", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    ReportError("Startup", 43, "Failed to setup application!");
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    mainWindow = window;
    ReportError("Scene", 9, "Unknown motion");
    mainWindow = nullptr;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_CLOSE));
    reportText[0] = 0;
    SetReportHook(nullptr);
    win32::ResetWindowsForTests();
}

} // namespace
