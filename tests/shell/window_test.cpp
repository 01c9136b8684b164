#include "shell/window.h"

#include "effect/options.h"
#include "shell/mouse.h"
#include "shell/saver.h"

#include <gtest/gtest.h>

#include <deque>
#include <utility>

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
        fake.queue.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
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

std::pair<int, int> MouseDelta() {
    return {mouseDeltaX, mouseDeltaY};
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = shellServices;
        savedShowMode = showMode;
        Reset();
    }
    // A fresh fake system and saver, for each case of a table as for each test.
    void Reset() {
        fake = FakeSystem();
        fake.ticks = 1000;
        fake.cursor = POINT{300, 200};
        shellServices = FakeServices();
        screenSaver = ScreenSaver();
        screenSaver.passwordDelay = 15;
        screenSaver.mouseThreshold = 50;
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
    const struct {
        int32_t threshold;
        LONG x, y; // from the reference (300, 200)
        bool closes;
    } moves[] = {
        {50, 350, 150, false},                      // 50 on both axes
        {50, 300, 251, true},                       // 51 down
        {50, 249, 200, true},                       // 51 left
        {0, 300, 200, false},  {0, 301, 200, true}, // a zero threshold closes on one pixel
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(testing::Message() << m.threshold << ": " << m.x << "," << m.y);
        Reset();
        Create(RunMode::Saver);
        screenSaver.mouseThreshold = m.threshold;
        MoveCursorTo(m.x, m.y);
        EXPECT_EQ(screenSaver.closeRequested, m.closes ? 1 : 0);
        ASSERT_EQ(fake.queue.size(), m.closes ? 1u : 0u);
        if (m.closes) {
            EXPECT_EQ(fake.queue.front().message, static_cast<UINT>(WM_CLOSE));
            EXPECT_EQ(fake.queue.front().hwnd, testWindow);
        }
    }
}

TEST_F(WindowTest, PasswordIsAskedOnlyPastTheDelay) {
    const struct {
        int32_t delay; // seconds
        DWORD elapsed; // milliseconds since the saver started
        UINT message;
        bool answer;
        int asks, destroyed;
    } cases[] = {
        {15, 15000, WM_KEYDOWN, false, 0, 1}, // exactly the delay: not yet past it
        {15, 15001, WM_LBUTTONDOWN, true, 1, 1},
        {-1, 1, WM_KEYDOWN, false, 1, 0},          // negative: at once, rather than never
        {3000000, 60000, WM_KEYDOWN, false, 0, 1}, // milliseconds past 2^31 still mean "not yet"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.delay << " s, " << c.elapsed << " ms");
        Reset();
        Create(RunMode::Saver);
        screenSaver.passwordDelay = c.delay;
        fake.ticks += c.elapsed;
        fake.passwordAnswer = c.answer;
        WindowProc(testWindow, c.message, c.message == WM_KEYDOWN ? 'A' : MK_LBUTTON, 0);
        Pump();
        EXPECT_EQ(fake.passwordAsks, c.asks);
        EXPECT_EQ(fake.destroyed, c.destroyed);
        EXPECT_EQ(screenSaver.busy, 0);
    }
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
    EXPECT_EQ(std::make_pair(screenSaver.cursorRef.x, screenSaver.cursorRef.y),
              std::make_pair(LONG(900), LONG(700)));
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

// Which input asks to close, by run mode; while a modal dialog is up none does.
TEST_F(WindowTest, ClosingInputByMode) {
    const struct {
        RunMode mode;
        int busy;
        UINT message;
        WPARAM wParam;
        bool closes;
    } cases[] = {
        {RunMode::Saver, 0, WM_KEYDOWN, 'A', true},
        {RunMode::Saver, 0, WM_KEYDOWN, VK_F12, true}, // a screenshot, and closing input
        {RunMode::Saver, 0, WM_SYSKEYDOWN, VK_F10, false},
        {RunMode::Saver, 0, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), false},
        {RunMode::Saver, 0, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), true},
        {RunMode::Saver, 1, WM_KEYDOWN, 'A', false},
        {RunMode::Saver, 1, WM_MOUSEMOVE, 0, false},
        {RunMode::Saver, 1, WM_ACTIVATE, WA_INACTIVE, false},
        {RunMode::Configure, 0, WM_ACTIVATE, WA_INACTIVE, false},
        {RunMode::Configure, 0, WM_KEYDOWN, 'A', false},
        {RunMode::Configure, 0, WM_LBUTTONDOWN, MK_LBUTTON, false},
        {RunMode::Configure, 0, WM_KEYDOWN, VK_ESCAPE, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << int(c.mode) << " " << c.busy << " " << c.message << " " << c.wParam);
        Reset();
        Create(c.mode);
        showMode = ShowMode::Interactive;
        screenSaver.busy = c.busy;
        fake.cursor = POINT{1000, 700};
        WindowProc(testWindow, c.message, c.wParam, MAKELPARAM(1000, 700));
        EXPECT_EQ(fake.queue.size(), c.closes ? 1u : 0u);
        if (c.mode == RunMode::Saver) {
            EXPECT_EQ(screenSaver.closeRequested, c.closes ? 1 : 0);
        }
    }
}

TEST_F(WindowTest, ScreenSaveCommandAndUnaskedClosesSwallowedOnlyInSaverMode) {
    Create(RunMode::Saver);
    EXPECT_EQ(WindowProc(testWindow, WM_CLOSE, 0, 0), 0); // no input asked for it
    EXPECT_EQ(fake.destroyed, 0);
    EXPECT_EQ(fake.defaultCalls, 0);
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

TEST_F(WindowTest, CommandKeys) {
    Create(RunMode::Saver);
    WindowProc(testWindow, WM_KEYDOWN, VK_F12, 0);
    WindowProc(testWindow, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(fake.screenshots, 1);
    EXPECT_EQ(fake.dumps, 1);
    Reset();
    Create(RunMode::Configure);
    WindowProc(testWindow, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(fake.defaultCalls, 1);
    WindowProc(testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_EQ(fake.defaultCalls, 2) << "WM_CLOSE goes to the default processing";
}

TEST_F(WindowTest, MouseRecentresAndAccumulatesInConfigure) {
    Create(RunMode::Configure);
    showMode = ShowMode::Interactive;
    // The first message only centres the pointer.
    WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    EXPECT_EQ(mouseDeltaX, 0);
    EXPECT_EQ(fake.warps, 1);
    EXPECT_EQ(std::make_pair(fake.cursor.x, fake.cursor.y), std::make_pair(LONG(512), LONG(384)));
    // Later ones add their offset from the centre and centre again.
    WindowProc(testWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(520, 380));
    EXPECT_EQ(MouseDelta(), std::make_pair(8, -4));
    EXPECT_EQ(mouseButtons, static_cast<uint32_t>(MK_LBUTTON));
    EXPECT_EQ(fake.warps, 2);
    // The message the warp causes arrives at the centre and adds nothing.
    WindowProc(testWindow, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, MAKELPARAM(512, 384));
    EXPECT_EQ(MouseDelta(), std::make_pair(8, -4));
    EXPECT_EQ(mouseButtons, 3u);
    EXPECT_EQ(fake.warps, 2);
    WindowProc(testWindow, WM_LBUTTONUP, 0, MAKELPARAM(500, 400));
    EXPECT_EQ(MouseDelta(), std::make_pair(-4, 12));
    EXPECT_EQ(mouseButtons, 0u);
}

TEST_F(WindowTest, MouseIsLeftAloneOutsideTheInteractiveScreen) {
    // The saver must never warp the pointer, whatever the options screen's mode:
    // a warp would read as movement and end it.
    for (ShowMode mode : {ShowMode::Playing, ShowMode::Interactive, ShowMode::WatchOnly}) {
        for (RunMode run : {RunMode::Saver, RunMode::Other, RunMode::Preview}) {
            Reset();
            Create(run);
            showMode = mode;
            WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
            WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
            EXPECT_EQ(fake.warps, 0);
            EXPECT_EQ(mouseDeltaX, 0);
        }
    }
    Reset();
    Create(RunMode::Configure);
    showMode = ShowMode::WatchOnly;
    WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(fake.warps, 0);
}

} // namespace
