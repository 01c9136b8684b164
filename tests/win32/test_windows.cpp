// Windows and the message queue on SDL's dummy driver, as the shell relies on
// them, and the SDL presenter drawing into a window.
#include "glide/presenter.h"
#include "win32/key_map.h"
#include "win32/picture_fit.h"
#include "win32/platform.h"
#include "win32/sdl_state.h"

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace {

std::vector<MSG> seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back({window, message, wParam, lParam, 0, {}});
    if (message != WM_DESTROY)
        return DefWindowProcA(window, message, wParam, lParam);
    PostQuitMessage(7);
    return 0;
}

// The messages seen so far; without the cursor and focus chatter unless `all`.
std::vector<UINT> Seen(bool all = false) {
    std::vector<UINT> messages;
    for (const MSG& s : seen)
        if (all || (s.message != WM_SETCURSOR && s.message != WM_SETFOCUS &&
                    s.message != WM_KILLFOCUS && s.message != WM_NCDESTROY))
            messages.push_back(s.message);
    return messages;
}

class Windows : public ::testing::Test {
protected:
    void SetUp() override {
        win32::ResetWindowsForTests();
        seen.clear();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.lpszClassName = "Glide demo";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
    }
    void TearDown() override { win32::ResetWindowsForTests(); }

    // A window of the given size; when shown, active, its queue drained and nothing recorded.
    HWND MakeWindow(bool show = true, int width = GetSystemMetrics(SM_CXSCREEN),
                    int height = GetSystemMetrics(SM_CYSCREEN)) {
        HWND window = CreateWindowExA(0, "Glide demo", "Glide demo", WS_POPUP, 0, 0, width, height,
                                      nullptr, nullptr, nullptr, nullptr);
        if (show)
            ShowWindow(window, SW_SHOWNORMAL), Drain(), seen.clear();
        return window;
    }

    // Takes every waiting message, dispatching all but WM_QUIT.
    std::vector<MSG> Drain() {
        std::vector<MSG> taken;
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            if (taken.push_back(msg), msg.message != WM_QUIT)
                TranslateMessage(&msg), DispatchMessageA(&msg);
        return taken;
    }

    static Uint32 IdOf(HWND window) { return SDL_GetWindowID(win32::detail::SdlWindowOf(window)); }
    template <typename Field> static void Push(Field SDL_Event::*field, const Field& value) {
        SDL_Event event = {};
        event.*field = value;
        SDL_PushEvent(&event);
    }
    static void PushKey(HWND window, SDL_Keycode key, SDL_Scancode code, Uint16 mods,
                        Uint32 type = SDL_KEYDOWN) {
        Uint8 state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        Push(&SDL_Event::key, {type, 0, IdOf(window), state, 0, 0, 0, {code, key, mods, 0}});
    }
    static void PushWindowEvent(HWND window, Uint8 what) {
        Push(&SDL_Event::window, {SDL_WINDOWEVENT, 0, IdOf(window), what, 0, 0, 0, 0, 0});
    }
};

TEST_F(Windows, CreatingShowingAndClosingSendTheirMessagesInOrder) {
    HWND window = MakeWindow(false);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Seen(true), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));

    seen.clear();
    EXPECT_FALSE(ShowWindow(window, SW_SHOWNORMAL)); // was hidden
    EXPECT_EQ(Seen(), (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_ACTIVATE, WM_SIZE}));
    EXPECT_EQ(std::make_pair(seen[1].wParam, WPARAM(LOWORD(seen[2].wParam))),
              std::make_pair(WPARAM(TRUE), WPARAM(WA_ACTIVE)));
    EXPECT_EQ(GetForegroundWindow(), window);

    PostMessageA(window, WM_USER, 0, 0);
    seen.clear();
    SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    EXPECT_TRUE(IsWindow(window)) << "SC_SCREENSAVE does not close";
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Seen(), (std::vector<UINT>{WM_SYSCOMMAND, WM_SYSCOMMAND, WM_CLOSE, WM_ACTIVATE,
                                         WM_ACTIVATEAPP, WM_DESTROY}));
    std::vector<MSG> taken = Drain();
    ASSERT_EQ(taken.size(), 1u) << "the posted message went with its window";
    EXPECT_EQ(std::make_pair(taken[0].message, taken[0].wParam),
              std::make_pair(UINT(WM_QUIT), WPARAM(7)));

    window = MakeWindow(); // Alt+F4 takes the same way through the system command
    PushKey(window, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);
    Drain();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Seen(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_ACTIVATE,
                                         WM_ACTIVATEAPP, WM_DESTROY}));
}

// Posted messages come before WM_QUIT, WM_QUIT before input; the window manager's
// close arrives as WM_CLOSE, whose default handling quits.
TEST_F(Windows, PostedMessagesComeFirstThenQuitThenInput) {
    using Order = std::vector<std::pair<UINT, WPARAM>>;
    auto order = [this] {
        Order taken;
        for (const MSG& msg : Drain())
            taken.emplace_back(msg.message, msg.message == WM_QUIT ? msg.wParam : 0);
        return taken;
    };
    HWND window = MakeWindow();
    PushKey(window, SDLK_x, SDL_SCANCODE_X, KMOD_NONE);
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostQuitMessage(3);
    PostMessageA(window, WM_USER + 2, 0, 0);
    EXPECT_EQ(
        order(),
        (Order{{WM_USER + 1, 0}, {WM_USER + 2, 0}, {WM_QUIT, 3}, {WM_KEYDOWN, 0}, {WM_CHAR, 0}}));
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(order(), (Order{{WM_CLOSE, 0}, {WM_QUIT, 7}}));
    EXPECT_FALSE(IsWindow(window));
}

// Between frames: the wait lasts (on both clocks), ends on a message; SIGTERM is WM_QUIT 0.
TEST_F(Windows, WaitingSleepsUntilAMessageOrTheTimeAndSignalsBecomeQuit) {
    HWND window = MakeWindow();
    const DWORD ticks = GetTickCount(), timer = timeGetTime();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT), WAIT_TIMEOUT);
    EXPECT_GE(GetTickCount() - ticks, 29u) << "the wait returned early";
    EXPECT_GE(timeGetTime() - timer, 29u);

    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
    Drain();

    win32::CatchTerminationSignals();
    raise(SIGTERM);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
    std::vector<MSG> taken = Drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(std::make_pair(taken[0].message, taken[0].wParam),
              std::make_pair(UINT(WM_QUIT), WPARAM(0)));
    signal(SIGTERM, SIG_DFL);
}

TEST_F(Windows, KeysBecomeKeyMessagesAndAltOrF10SystemKeys) {
    HWND window = MakeWindow();
    PushKey(window, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE);
    PushKey(window, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, SDL_KEYUP);
    PushKey(window, SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE);
    PushKey(window, SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE);
    PushKey(window, SDLK_x, SDL_SCANCODE_X, KMOD_LALT);
    PushKey(window, SDLK_q, SDL_SCANCODE_Q, KMOD_LALT | KMOD_LCTRL); // AltGr
    Drain();
    ASSERT_EQ(Seen(true),
              (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_SYSKEYDOWN,
                                 WM_SYSKEYDOWN, WM_SYSCHAR, WM_KEYDOWN, WM_CHAR}));
    const WPARAM keys[][2] = {{0, VK_ESCAPE}, {1, 0x1B}, {3, VK_F12},
                              {4, VK_F10},    {5, 'X'},  {7, 'Q'}};
    for (const auto& [index, key] : keys)
        EXPECT_EQ(seen[index].wParam, key) << "message " << index;
    EXPECT_NE(DWORD(seen[5].lParam) & (1u << 29), 0u) << "the context bit of an Alt-held key";
}

TEST_F(Windows, MouseInputHasClientCoordinatesAndButtonFlagsAndAWarpMovesOnce) {
    HWND window = MakeWindow();
    Push(&SDL_Event::motion,
         {SDL_MOUSEMOTION, 0, IdOf(window), 0, SDL_BUTTON_LMASK, 100, 50, 0, 0});
    Push(&SDL_Event::button,
         {SDL_MOUSEBUTTONDOWN, 0, IdOf(window), 0, SDL_BUTTON_RIGHT, SDL_PRESSED, 1, 0, 100, 50});
    Drain();
    ASSERT_EQ(Seen(true),
              (std::vector<UINT>{WM_SETCURSOR, WM_MOUSEMOVE, WM_SETCURSOR, WM_RBUTTONDOWN}));
    EXPECT_EQ(seen[0].lParam, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(seen[1].lParam, MAKELPARAM(100, 50));
    EXPECT_EQ(seen[1].wParam & (MK_LBUTTON | MK_RBUTTON), WPARAM(MK_LBUTTON));
    EXPECT_NE(seen[3].wParam & MK_RBUTTON, 0u) << "a press's flags include its own button";

    seen.clear(); // the shell re-centres the pointer: the warp is reported once
    ASSERT_TRUE(SetCursorPos(512, 384));
    // The motion event the warp itself causes.
    Push(&SDL_Event::motion, {SDL_MOUSEMOTION, 0, IdOf(window), 0, 0, 512, 384, 0, 0});
    Drain();
    SetCursorPos(512, 384); // no move, no message
    Drain();
    ASSERT_EQ(Seen(), (std::vector<UINT>{WM_MOUSEMOVE}));
    EXPECT_EQ(seen.back().lParam, MAKELPARAM(512, 384));
}

TEST_F(Windows, FocusChangesActivateOnceAndAFlickerIsNoChange) {
    HWND window = MakeWindow();
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST); // lost and regained together
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    Drain();
    EXPECT_TRUE(Seen().empty());
    EXPECT_EQ(GetForegroundWindow(), window);

    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED); // already active
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    Drain();
    EXPECT_EQ(Seen(), (std::vector<UINT>{WM_ACTIVATE, WM_ACTIVATEAPP}));
    EXPECT_EQ(std::make_pair(WPARAM(LOWORD(seen[0].wParam)), seen[1].wParam),
              std::make_pair(WPARAM(WA_INACTIVE), WPARAM(FALSE)));
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    seen.clear();
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    Drain();
    EXPECT_EQ(Seen(), (std::vector<UINT>{WM_ACTIVATEAPP, WM_ACTIVATE}));
    EXPECT_EQ(seen[0].wParam, WPARAM(TRUE));
}

// Letters go by the layout (AZERTY's key at Q is 'A'); a key without a code is 0xFF.
TEST(KeyMap, EnterOnBothKeysLettersByTheLayoutAndKeysWithoutACode) {
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), UINT(VK_RETURN));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_a, SDL_SCANCODE_Q), UINT('A'));
    EXPECT_EQ(win32::VirtualKeyFromSdl(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), 0xFFu);
}

TEST(PictureFit, KeepsTheAspectWithBarsOnTheLongSide) {
    const int rows[][6] = {// window width, height; picture x, y, width, height
                           {1920, 1080, 240, 0, 1440, 1080},
                           {1280, 1024, 0, 32, 1280, 960}};
    for (const auto& [width, height, x, y, fitWidth, fitHeight] : rows) {
        win32::PictureArea area = win32::FitPicture(width, height, 640, 480);
        EXPECT_EQ((std::vector<int>{area.x, area.y, area.width, area.height}),
                  (std::vector<int>{x, y, fitWidth, fitHeight}))
            << width << " x " << height;
    }
    EXPECT_EQ(win32::FitPicture(0, 768, 640, 480).width, 0);
}

// 200 x 100 is wider than 4:3: the picture is 133 x 100 with bars of 33. A window
// destroyed first leaves the presenter harmless.
TEST_F(Windows, ThePresentersPictureFillsTheHeightBetweenBlackBars) {
    HWND window = MakeWindow(true, 200, 100);
    auto presenter = win32::MakeSdlPresenter(reinterpret_cast<uintptr_t>(window));
    ASSERT_NE(presenter, nullptr);
    const int stride = 80; // rows farther apart than their width
    std::vector<uint16_t> pixels(stride * 48, 0xFFFF);
    presenter->Present(pixels.data(), 64, 48, stride);

    SDL_Renderer* renderer = SDL_GetRenderer(win32::detail::SdlWindowOf(window));
    ASSERT_NE(renderer, nullptr);
    std::vector<uint32_t> shown(200 * 100);
    ASSERT_EQ(
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shown.data(), 200 * 4), 0)
        << SDL_GetError();
    const int rows[][3] = {
        {5, 50, 0}, {194, 50, 0}, {100, 50, 0xFFFFFF}, {100, 0, 0xFFFFFF}, {100, 99, 0xFFFFFF}};
    for (const auto& [x, y, rgb] : rows)
        EXPECT_EQ(shown[y * 200 + x] & 0xFFFFFF, uint32_t(rgb)) << x << ", " << y;

    ASSERT_TRUE(DestroyWindow(window));
    presenter->Present(pixels.data(), 64, 48, stride); // dropped, nothing to draw into
    presenter.reset();
    EXPECT_EQ(win32::MakeSdlPresenter(reinterpret_cast<uintptr_t>(window)), nullptr);
}

} // namespace
