#include "shell/window.h"

#include "effect/mouse_input.h"
#include "effect/options.h"
#include "shell/saver.h"

#include <gtest/gtest.h>

#include <deque>
#include <tuple>
#include <utility>

namespace {

// A stand-in system driven by the test.
struct FakeSystem {
    DWORD ticks = 1000;
    POINT cursor = {300, 200};
    std::deque<MSG> queue;
    int destroyed = 0, passwordAsks = 0, warps = 0, screenshots = 0, dumps = 0, defaultCalls = 0;
    bool passwordAnswer = false;
    POINT cursorDuringPassword = {0, 0};
};
FakeSystem fake;
HWND const testWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));

ShellServices FakeServices() {
    ShellServices s;
    s.tickCount = []() -> DWORD { return fake.ticks; };
    s.cursorPos = [](POINT* p) -> BOOL { return *p = fake.cursor, TRUE; };
    s.postMessage = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> BOOL {
        return fake.queue.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}}), TRUE;
    };
    s.destroyWindow = [](HWND) -> BOOL { return ++fake.destroyed, TRUE; };
    s.clientRect = [](HWND, RECT* r) -> BOOL { return *r = RECT{0, 0, 1024, 768}, TRUE; };
    s.setCursorPos = [](int x, int y) -> BOOL { return ++fake.warps, fake.cursor = {x, y}, TRUE; };
    s.hideCursor = s.releaseCursorClip = []() {};
    s.postQuit = [](int) {};
    s.verifyPassword = [](HWND) -> bool {
        ++fake.passwordAsks;
        fake.cursor = fake.cursorDuringPassword; // the user moved the mouse in the dialog
        return fake.passwordAnswer;
    };
    s.takeScreenshot = []() { ++fake.screenshots; };
    s.dumpParameters = []() { ++fake.dumps; };
    s.defaultProc = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return ++fake.defaultCalls, 77; };
    return s;
}

class WindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        shellServices = saved;
        showMode = savedShowMode;
        screenSaver = ScreenSaver();
    }
    void Create(RunMode mode) {
        fake = FakeSystem();
        shellServices = FakeServices();
        screenSaver = ScreenSaver();
        screenSaver.passwordDelay = 15;
        screenSaver.mouseThreshold = 50;
        mouseDeltaX = mouseDeltaY = 0, mouseButtons = 0, skipFirstMouse = 1;
        screenSaver.mode = mode;
        WindowProc(testWindow, WM_CREATE, 0, 0);
        fake.defaultCalls = 0; // WM_CREATE itself goes on to the default processing
    }
    void Pump() {
        for (; !fake.queue.empty(); fake.queue.pop_front()) {
            MSG m = fake.queue.front();
            WindowProc(m.hwnd, m.message, m.wParam, m.lParam);
        }
    }
    void Send(UINT message, WPARAM wParam = 0, LONG x = 0, LONG y = 0) {
        if (message == WM_MOUSEMOVE)
            fake.cursor = POINT{x, y};
        WindowProc(testWindow, message, wParam, MAKELPARAM(x, y));
    }
    ShellServices saved = shellServices;
    ShowMode savedShowMode = showMode;
};

// One row per closing rule (cursor starts at 300, 200; threshold 50; busy: a modal dialog).
TEST_F(WindowTest, ClosingInputByMode) {
    const RunMode S = RunMode::Saver, C = RunMode::Configure;
    const struct {
        RunMode mode;
        int busy;
        UINT message;
        WPARAM wParam;
        LONG x, y;
        bool closes;
    } cases[] = {
        {S, 0, WM_MOUSEMOVE, 0, 350, 150, false}, // 50 on both axes
        {S, 0, WM_MOUSEMOVE, 0, 300, 251, true},  // 51 down
        {S, 0, WM_KEYDOWN, 'A', 0, 0, true},
        {S, 0, WM_SYSKEYDOWN, VK_F10, 0, 0, false},
        {S, 0, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0, 0, true},
        {S, 1, WM_KEYDOWN, 'A', 0, 0, false},
        {C, 0, WM_KEYDOWN, 'A', 0, 0, false},
        {C, 0, WM_KEYDOWN, VK_ESCAPE, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Create(c.mode);
        showMode = ShowMode::Interactive;
        screenSaver.busy = c.busy;
        Send(c.message, c.wParam, c.x, c.y);
        ASSERT_EQ(fake.queue.size(), c.closes ? 1u : 0u);
        EXPECT_TRUE(!c.closes || fake.queue.front().message == WM_CLOSE);
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
        SCOPED_TRACE(&c - cases);
        Create(RunMode::Saver);
        screenSaver.passwordDelay = c.delay;
        fake.ticks += c.elapsed;
        fake.passwordAnswer = c.answer;
        Send(c.message, c.message == WM_KEYDOWN ? 'A' : MK_LBUTTON);
        Pump();
        EXPECT_EQ(std::make_tuple(fake.passwordAsks, fake.destroyed, screenSaver.busy),
                  std::make_tuple(c.asks, c.destroyed, 0));
    }
}

// Escape past the delay asks twice (its close and the input's); a refusal takes a new reference.
TEST_F(WindowTest, EscapeAfterDelayAsksTwiceAndRefusalTakesANewReference) {
    Create(RunMode::Saver);
    fake.ticks += 20000;
    fake.cursorDuringPassword = POINT{900, 700};
    EXPECT_EQ(WindowProc(testWindow, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(fake.queue.size(), 2u);
    Pump();
    EXPECT_EQ(fake.passwordAsks, 2);
    EXPECT_EQ(fake.destroyed, 0);
    Send(WM_MOUSEMOVE, 0, 920, 710);
    EXPECT_TRUE(fake.queue.empty());
}

TEST_F(WindowTest, ScreenSaveCommandAndUnaskedClosesSwallowedOnlyInSaverMode) {
    Create(RunMode::Saver);
    EXPECT_EQ(WindowProc(testWindow, WM_CLOSE, 0, 0), 0); // no input asked for it
    EXPECT_EQ(fake.destroyed + fake.defaultCalls, 0);
    EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_SCREENSAVE + 1, 0), 1) << "whole values";
    screenSaver.mode = RunMode::Preview;
    EXPECT_EQ(SaverFilter(testWindow, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 1);
    EXPECT_EQ(SaverFilter(testWindow, WM_CLOSE, 0, 0), 1);
}

TEST_F(WindowTest, CommandKeys) {
    Create(RunMode::Saver);
    Send(WM_KEYDOWN, VK_F12);
    Send(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(std::make_pair(fake.screenshots, fake.dumps), std::make_pair(1, 1));
}

TEST_F(WindowTest, MouseRecentresAndAccumulatesInConfigure) {
    Create(RunMode::Configure);
    showMode = ShowMode::Interactive;
    Send(WM_MOUSEMOVE, 0, 100, 100); // the first message only centres the pointer
    EXPECT_EQ(std::make_tuple(mouseDeltaX, fake.cursor.x, fake.cursor.y),
              std::make_tuple(0, LONG(512), LONG(384)));
    // Later ones add their offset from the centre; the warp's own message adds nothing.
    WindowProc(testWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(520, 380));
    WindowProc(testWindow, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, MAKELPARAM(512, 384));
    EXPECT_EQ(std::make_tuple(mouseDeltaX, mouseDeltaY, mouseButtons, fake.warps),
              std::make_tuple(8, -4, 3u, 2));
    WindowProc(testWindow, WM_LBUTTONUP, 0, MAKELPARAM(500, 400));
    EXPECT_EQ(std::make_tuple(mouseDeltaX, mouseDeltaY, mouseButtons), std::make_tuple(-4, 12, 0u));
}

// The saver never warps the pointer (a warp would read as movement), nor a watch-only screen.
TEST_F(WindowTest, MouseIsLeftAloneOutsideTheInteractiveScreen) {
    for (const auto& [run, mode] : {std::make_pair(RunMode::Saver, ShowMode::Interactive),
                                    std::make_pair(RunMode::Configure, ShowMode::WatchOnly)}) {
        Create(run);
        showMode = mode;
        WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        WindowProc(testWindow, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
        EXPECT_EQ(std::make_pair(fake.warps, mouseDeltaX), std::make_pair(0, 0)) << int(run);
    }
}

} // namespace
