#include "shell/window.h"

#include "effect/options.h"
#include "shell/mouse.h"
#include "shell/saver.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// A stand-in system: a clock, a cursor, a message queue and a window that can
// be destroyed, all driven by the test.
struct FakeSystem {
    DWORD ticks = 0;
    POINT cursor = {0, 0};
    std::deque<MSG> queue;
    int destroyed = 0;
    int passwordAsks = 0;
    bool passwordAnswer = false;
    POINT cursorDuringPassword = {0, 0};
    int warps = 0;
    POINT lastWarp = {0, 0};
    int screenshots = 0;
    int dumps = 0;
    int defaultCalls = 0;
};
FakeSystem fake;
HWND const testWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));

ShellServices FakeServices() {
    ShellServices s;
    s.tickCount = []() -> DWORD { return fake.ticks; };
    s.cursorPos = [](POINT* p) -> BOOL {
        *p = fake.cursor;
        return TRUE;
    };
    s.postMessage = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> BOOL {
        MSG m = {};
        m.hwnd = window;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        fake.queue.push_back(m);
        return TRUE;
    };
    s.destroyWindow = [](HWND) -> BOOL {
        ++fake.destroyed;
        return TRUE;
    };
    s.clientRect = [](HWND, RECT* r) -> BOOL {
        *r = RECT{0, 0, 1024, 768};
        return TRUE;
    };
    s.setCursorPos = [](int x, int y) -> BOOL {
        ++fake.warps;
        fake.lastWarp = POINT{x, y};
        fake.cursor = POINT{x, y};
        return TRUE;
    };
    s.hideCursor = []() {};
    s.releaseCursorClip = []() {};
    s.postQuit = [](int) {};
    s.verifyPassword = [](HWND) -> bool {
        ++fake.passwordAsks;
        fake.cursor = fake.cursorDuringPassword; // the user moved the mouse in the dialog
        return fake.passwordAnswer;
    };
    s.takeScreenshot = []() { ++fake.screenshots; };
    s.dumpParameters = []() { ++fake.dumps; };
    s.defaultProc = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
        ++fake.defaultCalls;
        return 77;
    };
    return s;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake = FakeSystem();
        fake.ticks = 1000;
        fake.cursor = POINT{300, 200};
        saved = shellServices;
        shellServices = FakeServices();
        screenSaver = ScreenSaver();
        screenSaver.passwordDelay = 15;
        screenSaver.mouseThreshold = 50;
        savedShowMode = showMode;
        mouseDeltaX = mouseDeltaY = 0;
        mouseButtons = 0;
        skipFirstMouse = 1;
    }
    void TearDown() override {
        shellServices = saved;
        showMode = savedShowMode;
        screenSaver = ScreenSaver();
    }
    void Create(RunMode mode) {
        screenSaver.mode = mode;
        WindowProc(testWindow, WM_CREATE, 0, 0);
        fake.defaultCalls = 0; // WM_CREATE itself goes on to the default processing
    }
    // Runs the queued messages through the window procedure, as the loop would.
    void Pump() {
        while (!fake.queue.empty()) {
            MSG m = fake.queue.front();
            fake.queue.pop_front();
            WindowProc(m.hwnd, m.message, m.wParam, m.lParam);
        }
    }
    void MoveCursorTo(LONG x, LONG y) {
        fake.cursor = POINT{x, y};
        WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
    ShellServices saved;
    ShowMode savedShowMode;
};

TEST_F(WindowTest, SaverMouseThresholdIsExclusive) {
    Create(RunMode::Saver);
    MoveCursorTo(350, 150); // 50 on both axes
    EXPECT_EQ(screenSaver.closeRequested, 0);
    EXPECT_TRUE(fake.queue.empty());
    MoveCursorTo(300, 251); // 51 down
    EXPECT_EQ(screenSaver.closeRequested, 1);
    SetUp();
    Create(RunMode::Saver);
    MoveCursorTo(249, 200); // 51 left
    EXPECT_EQ(screenSaver.closeRequested, 1);
    ASSERT_EQ(fake.queue.size(), 1u);
    EXPECT_EQ(fake.queue.front().message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(fake.queue.front().hwnd, testWindow);
}

TEST_F(WindowTest, ZeroThresholdClosesOnOnePixel) {
    Create(RunMode::Saver);
    screenSaver.mouseThreshold = 0;
    MoveCursorTo(300, 200);
    EXPECT_EQ(screenSaver.closeRequested, 0);
    MoveCursorTo(301, 200);
    EXPECT_EQ(screenSaver.closeRequested, 1);
}

TEST_F(WindowTest, KeyWithinDelayClosesWithoutPassword) {
    Create(RunMode::Saver);
    fake.ticks += 15000; // exactly the delay: not yet past it
    WindowProc(testWindow, WM_KEYDOWN, 'A', 0);
    Pump();
    EXPECT_EQ(fake.passwordAsks, 0);
    EXPECT_EQ(fake.destroyed, 1);
}

TEST_F(WindowTest, KeyAfterDelayAsksForThePassword) {
    Create(RunMode::Saver);
    fake.ticks += 15001;
    fake.passwordAnswer = true;
    WindowProc(testWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Pump();
    EXPECT_EQ(fake.passwordAsks, 1);
    EXPECT_EQ(fake.destroyed, 1);
    EXPECT_EQ(screenSaver.busy, 0);
}

TEST_F(WindowTest, PasswordDelayOutsideItsRangeNeverWraps) {
    // A negative delay asks at once, rather than turning into "never ask".
    Create(RunMode::Saver);
    screenSaver.passwordDelay = -1;
    fake.ticks += 1;
    WindowProc(testWindow, WM_KEYDOWN, 'A', 0);
    Pump();
    EXPECT_EQ(fake.passwordAsks, 1);
    // A delay whose milliseconds pass 2^31 still means "not yet".
    SetUp();
    Create(RunMode::Saver);
    screenSaver.passwordDelay = 3000000;
    fake.ticks += 60000;
    WindowProc(testWindow, WM_KEYDOWN, 'A', 0);
    Pump();
    EXPECT_EQ(fake.passwordAsks, 0);
    EXPECT_EQ(fake.destroyed, 1);
}

TEST_F(WindowTest, RefusedPasswordKeepsTheSaverAndTakesANewReference) {
    Create(RunMode::Saver);
    fake.ticks += 60000;
    fake.cursorDuringPassword = POINT{900, 700};
    WindowProc(testWindow, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    Pump();
    EXPECT_EQ(fake.passwordAsks, 1);
    EXPECT_EQ(fake.destroyed, 0);
    EXPECT_EQ(screenSaver.closeRequested, 1) << "never cleared";
    EXPECT_EQ(screenSaver.cursorRef.x, 900);
    EXPECT_EQ(screenSaver.cursorRef.y, 700);
    // Small movement near the new reference does not close...
    MoveCursorTo(920, 710);
    EXPECT_TRUE(fake.queue.empty());
    // ...the next closing input asks again.
    WindowProc(testWindow, WM_MBUTTONDOWN, MK_MBUTTON, 0);
    Pump();
    EXPECT_EQ(fake.passwordAsks, 2);
}

TEST_F(WindowTest, EscapeAfterDelayAsksTwiceWhenCancelled) {
    Create(RunMode::Saver);
    fake.ticks += 20000;
    LRESULT result = WindowProc(testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(fake.queue.size(), 2u); // RequestClose's and Escape's own
    Pump();
    EXPECT_EQ(fake.passwordAsks, 2);
    EXPECT_EQ(fake.destroyed, 0);
}

TEST_F(WindowTest, SaverSwallowsClosesThatInputDidNotRequest) {
    Create(RunMode::Saver);
    EXPECT_EQ(WindowProc(testWindow, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(fake.destroyed, 0);
    EXPECT_EQ(fake.defaultCalls, 0);
}

TEST_F(WindowTest, InputDuringAModalDialogDoesNotClose) {
    Create(RunMode::Saver);
    screenSaver.busy = 1;
    WindowProc(testWindow, WM_KEYDOWN, 'A', 0);
    MoveCursorTo(1000, 700);
    WindowProc(testWindow, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(screenSaver.closeRequested, 0);
    EXPECT_TRUE(fake.queue.empty());
}

TEST_F(WindowTest, DeactivationClosesOnlyTheSaver) {
    Create(RunMode::Saver);
    WindowProc(testWindow, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    EXPECT_EQ(screenSaver.closeRequested, 0);
    WindowProc(testWindow, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    EXPECT_EQ(screenSaver.closeRequested, 1);

    SetUp();
    Create(RunMode::Configure);
    WindowProc(testWindow, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(screenSaver.closeRequested, 0);
    EXPECT_EQ(fake.defaultCalls, 1);
}

TEST_F(WindowTest, ScreenSaveCommandSwallowedOnlyInSaverMode) {
    Create(RunMode::Saver);
    EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_SCREENSAVE + 1, 0), 1) << "whole values";
    EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    for (RunMode mode : {RunMode::Configure, RunMode::Preview, RunMode::Other}) {
        screenSaver.mode = mode;
        EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 1);
        EXPECT_EQ(SaverFilter(testWindow, WM_CLOSE, 0, 0), 1);
    }
}

TEST_F(WindowTest, OtherModesCloseOnEscapeOnly) {
    Create(RunMode::Configure);
    showMode = ShowMode::Interactive;
    WindowProc(testWindow, WM_KEYDOWN, 'A', 0);
    WindowProc(testWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(512, 384));
    EXPECT_EQ(screenSaver.closeRequested, 0);
    EXPECT_TRUE(fake.queue.empty());
    WindowProc(testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_EQ(fake.queue.size(), 1u);
    Pump();
    EXPECT_EQ(fake.defaultCalls, 1) << "WM_CLOSE goes to the default processing";
}

TEST_F(WindowTest, CommandKeys) {
    Create(RunMode::Saver);
    WindowProc(testWindow, WM_KEYDOWN, VK_F12, 0);
    EXPECT_EQ(fake.screenshots, 1);
    EXPECT_EQ(screenSaver.closeRequested, 1) << "F12 is also closing input in the saver";
    WindowProc(testWindow, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(fake.dumps, 1);
    // System keys are not closing input.
    SetUp();
    Create(RunMode::Saver);
    WindowProc(testWindow, WM_SYSKEYDOWN, VK_F10, 0);
    EXPECT_EQ(screenSaver.closeRequested, 0);
}

TEST_F(WindowTest, MouseRecentresAndAccumulatesInConfigure) {
    Create(RunMode::Configure);
    showMode = ShowMode::Interactive;
    // The first message only centres the pointer.
    WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    EXPECT_EQ(mouseDeltaX, 0);
    EXPECT_EQ(fake.warps, 1);
    EXPECT_EQ(fake.lastWarp.x, 512);
    EXPECT_EQ(fake.lastWarp.y, 384);
    // Later ones add their offset from the centre and centre again.
    WindowProc(testWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(520, 380));
    EXPECT_EQ(mouseDeltaX, 8);
    EXPECT_EQ(mouseDeltaY, -4);
    EXPECT_EQ(mouseButtons, static_cast<uint32_t>(MK_LBUTTON));
    EXPECT_EQ(fake.warps, 2);
    // The message the warp causes arrives at the centre and adds nothing.
    WindowProc(testWindow, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, MAKELPARAM(512, 384));
    EXPECT_EQ(mouseDeltaX, 8);
    EXPECT_EQ(mouseDeltaY, -4);
    EXPECT_EQ(mouseButtons, 3u);
    EXPECT_EQ(fake.warps, 2);
    WindowProc(testWindow, WM_LBUTTONUP, 0, MAKELPARAM(500, 400));
    EXPECT_EQ(mouseDeltaX, -4);
    EXPECT_EQ(mouseDeltaY, 12);
    EXPECT_EQ(mouseButtons, 0u);
}

TEST_F(WindowTest, MouseIsLeftAloneOutsideTheInteractiveScreen) {
    // The saver must never warp the pointer, whatever the options screen's mode:
    // a warp would read as movement and end it.
    for (ShowMode mode : {ShowMode::Playing, ShowMode::Interactive, ShowMode::WatchOnly}) {
        for (RunMode run : {RunMode::Saver, RunMode::Other, RunMode::Preview}) {
            SetUp();
            Create(run);
            showMode = mode;
            WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
            WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
            EXPECT_EQ(fake.warps, 0);
            EXPECT_EQ(mouseDeltaX, 0);
        }
    }
    SetUp();
    Create(RunMode::Configure);
    showMode = ShowMode::WatchOnly;
    WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(fake.warps, 0);
}

} // namespace
