#include "shell/main_window.h"
#include "shell/report.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The heading, then the message; percent signs in names and quoted text print
// literally; a long text is cut to the buffer; only the last report survives.
TEST(Report, HeadingThenFormattedMessageCutToTheBuffer) {
    ReportError("Scene", 12, "Bad key count %d in \"%s\"", 3, "scenes\\a.lws");
    EXPECT_STREQ(reportText,
                 "Error in module \"Scene\" at line 12:\n\nBad key count 3 in \"scenes\\a.lws\"");
    ReportError("Sc%sne%n", -7, "Unknown line: %s", "Motion 100% %s %n %d");
    EXPECT_STREQ(reportText,
                 "Error in module \"Sc%sne%n\" at line -7:\n\nUnknown line: Motion 100% %s %n %d");
    ReportError("Scene", 1, "%s", std::string(1000, 'x').c_str());
    EXPECT_EQ(std::strlen(reportText), sizeof reportText - 1);
    EXPECT_EQ(std::strncmp(reportText, "Error in module", 15), 0);
    ReportError(std::string(600, 'm').c_str(), 1, "tail %s", "text");
    EXPECT_EQ(std::strlen(reportText), sizeof reportText - 1);
    reportText[0] = 0;
}

// With a main window the report asks it to close; without one nothing is posted.
TEST(Report, AsksTheMainWindowToClose) {
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
    EXPECT_EQ(message.wParam + message.lParam, 0);
    reportText[0] = 0;
    win32::ResetWindowsForTests();
}

} // namespace
