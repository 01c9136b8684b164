// Windows and the message queue on SDL's dummy driver: what is sent when, in what
// order messages come out of the queue, how SDL input becomes messages, and the
// default processing's close rules.
#include "win32/platform.h"
#include "win32/sdl_state.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Seen> seen;
bool refuseCreate = false;
bool quitOnDestroy = true;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back({message, wParam, lParam});
    if (message == WM_CREATE && refuseCreate) {
        return -1;
    }
    if (message == WM_DESTROY && quitOnDestroy) {
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<UINT> AllSeen() {
    std::vector<UINT> messages;
    for (const Seen& s : seen) {
        messages.push_back(s.message);
    }
    return messages;
}

// Messages of interest only: leaves out the cursor and focus chatter.
std::vector<UINT> Interesting() {
    std::vector<UINT> messages;
    for (const Seen& s : seen) {
        if (s.message != WM_SETCURSOR && s.message != WM_SETFOCUS && s.message != WM_KILLFOCUS &&
            s.message != WM_NCDESTROY) {
            messages.push_back(s.message);
        }
    }
    return messages;
}

class MessageQueue : public ::testing::Test {
protected:
    void SetUp() override {
        win32::ResetWindowsForTests();
        seen.clear();
        refuseCreate = false;
        quitOnDestroy = true;
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = "Glide demo";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
    }
    void TearDown() override { win32::ResetWindowsForTests(); }

    HWND MakeWindow() {
        return CreateWindowExA(0, "Glide demo", "Glide demo", WS_POPUP, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                               nullptr, nullptr, nullptr, nullptr);
    }

    // Takes every waiting message, dispatching all but WM_QUIT.
    std::vector<MSG> Drain() {
        std::vector<MSG> taken;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            taken.push_back(msg);
            if (msg.message != WM_QUIT) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        return taken;
    }

    static Uint32 IdOf(HWND window) { return SDL_GetWindowID(win32::detail::SdlWindowOf(window)); }

    static void PushKey(HWND window, SDL_Keycode key, SDL_Scancode scancode, Uint16 mods,
                        Uint32 type = SDL_KEYDOWN) {
        SDL_Event event = {};
        event.type = type;
        event.key.windowID = IdOf(window);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mods;
        SDL_PushEvent(&event);
    }

    static void PushMotion(HWND window, int x, int y, Uint32 buttons = 0) {
        SDL_Event event = {};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = IdOf(window);
        event.motion.x = x;
        event.motion.y = y;
        event.motion.state = buttons;
        SDL_PushEvent(&event);
    }

    static void PushWindowEvent(HWND window, Uint8 what) {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = IdOf(window);
        event.window.event = what;
        SDL_PushEvent(&event);
    }
};

TEST_F(MessageQueue, CreationSendsItsMessagesBeforeReturningAndShowingActivates) {
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(AllSeen(), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "nothing was posted";

    seen.clear();
    EXPECT_FALSE(ShowWindow(window, SW_SHOWNORMAL)); // was hidden
    EXPECT_EQ(Interesting(),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_ACTIVATE, WM_SIZE}));
    EXPECT_EQ(seen[1].wParam, WPARAM(TRUE));
    EXPECT_EQ(LOWORD(seen[2].wParam), WA_ACTIVE);
    EXPECT_EQ(GetForegroundWindow(), window);

    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(MessageQueue, CreateRefusedByTheProcedureDestroysTheWindow) {
    refuseCreate = true;
    EXPECT_EQ(MakeWindow(), nullptr);
    EXPECT_EQ(AllSeen(), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(MessageQueue, PostedMessagesComeFirstThenQuitThenInput) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    Drain();
    PushKey(window, SDLK_x, SDL_SCANCODE_X, KMOD_NONE);
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostQuitMessage(3);
    PostMessageA(window, WM_USER + 2, 0, 0);

    MSG msg;
    std::vector<UINT> order;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        if (msg.message == WM_QUIT) {
            EXPECT_EQ(msg.wParam, WPARAM(3));
        }
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_QUIT, WM_KEYDOWN}));
}

TEST_F(MessageQueue, PeekWithoutRemovingAndWithARangeLeavesTheRest) {
    HWND window = MakeWindow();
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostMessageA(window, WM_USER + 5, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_USER + 2, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 5));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(&msg), WM_USER, 0, 0));
}

TEST_F(MessageQueue, DefaultProcessingClosesOnWmCloseAndTheSystemClose) {
    HWND window = MakeWindow();
    seen.clear();
    SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    EXPECT_TRUE(IsWindow(window)) << "SC_SCREENSAVE does not close";

    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Interesting(),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));

    std::vector<MSG> taken = Drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, UINT(WM_QUIT));
    EXPECT_EQ(taken[0].wParam, WPARAM(7));
}

TEST_F(MessageQueue, DestroyingDeactivatesAndDiscardsTheWindowsMessages) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    PostMessageA(window, WM_CLOSE, 0, 0);
    seen.clear();
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(Interesting(), (std::vector<UINT>{WM_ACTIVATE, WM_ACTIVATEAPP, WM_DESTROY}));
    EXPECT_EQ(LOWORD(seen[0].wParam), WA_INACTIVE);
    EXPECT_EQ(seen[1].wParam, WPARAM(FALSE));
    std::vector<MSG> taken = Drain();
    ASSERT_EQ(taken.size(), 1u) << "the posted WM_CLOSE went with its window";
    EXPECT_EQ(taken[0].message, UINT(WM_QUIT));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
}

TEST_F(MessageQueue, AltF4GoesThroughTheSystemCommand) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    Drain();
    seen.clear();
    PushKey(window, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);
    Drain();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Interesting(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_ACTIVATE,
                                                WM_ACTIVATEAPP, WM_DESTROY}));
}

TEST_F(MessageQueue, KeysBecomeKeyMessagesAndAltOrF10SystemKeys) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    Drain();
    seen.clear();
    PushKey(window, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE);
    PushKey(window, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, SDL_KEYUP);
    PushKey(window, SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE);
    PushKey(window, SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE);
    PushKey(window, SDLK_x, SDL_SCANCODE_X, KMOD_LALT);
    PushKey(window, SDLK_q, SDL_SCANCODE_Q, KMOD_LALT | KMOD_LCTRL);
    Drain();
    ASSERT_EQ(AllSeen(),
              (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_SYSKEYDOWN,
                                 WM_SYSKEYDOWN, WM_SYSCHAR, WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(seen[0].wParam, WPARAM(VK_ESCAPE));
    EXPECT_EQ(seen[1].wParam, WPARAM(0x1B));
    EXPECT_EQ(seen[3].wParam, WPARAM(VK_F12));
    EXPECT_EQ(seen[4].wParam, WPARAM(VK_F10));
    EXPECT_EQ(seen[5].wParam, WPARAM('X'));
    EXPECT_NE(DWORD(seen[5].lParam) & (1u << 29), 0u);
    EXPECT_EQ(seen[7].wParam, WPARAM('Q'));
}

TEST_F(MessageQueue, MouseInputHasClientCoordinatesAndButtonFlags) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    Drain();
    seen.clear();
    PushMotion(window, 100, 50, SDL_BUTTON_LMASK);
    SDL_Event press = {};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.windowID = IdOf(window);
    press.button.button = SDL_BUTTON_RIGHT;
    press.button.state = SDL_PRESSED;
    press.button.x = 100;
    press.button.y = 50;
    SDL_PushEvent(&press);
    Drain();
    ASSERT_EQ(AllSeen(),
              (std::vector<UINT>{WM_SETCURSOR, WM_MOUSEMOVE, WM_SETCURSOR, WM_RBUTTONDOWN}));
    EXPECT_EQ(LOWORD(seen[0].lParam), HTCLIENT);
    EXPECT_EQ(HIWORD(seen[0].lParam), WM_MOUSEMOVE);
    EXPECT_EQ(GET_X_LPARAM(seen[1].lParam), 100);
    EXPECT_EQ(GET_Y_LPARAM(seen[1].lParam), 50);
    EXPECT_EQ(seen[1].wParam & (MK_LBUTTON | MK_RBUTTON), WPARAM(MK_LBUTTON));
    EXPECT_NE(seen[3].wParam & MK_RBUTTON, 0u) << "a press's flags include its own button";
}

TEST_F(MessageQueue, WaitingMovesCollapseIntoTheLatest) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    Drain();
    PushMotion(window, 10, 10);
    PushMotion(window, 20, 10);
    PushMotion(window, 30, 12);
    std::vector<MSG> taken = Drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(taken[0].lParam), 30);
    EXPECT_EQ(GET_Y_LPARAM(taken[0].lParam), 12);
}

TEST_F(MessageQueue, SetCursorPosReportsTheMoveOnceAtTheNewPosition) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    PushMotion(window, 600, 400);
    Drain();
    seen.clear();
    ASSERT_TRUE(SetCursorPos(512, 384));
    PushMotion(window, 512, 384); // the motion event the warp itself causes
    Drain();
    ASSERT_EQ(Interesting(), (std::vector<UINT>{WM_MOUSEMOVE}));
    EXPECT_EQ(GET_X_LPARAM(seen.back().lParam), 512);
    EXPECT_EQ(GET_Y_LPARAM(seen.back().lParam), 384);
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 512);
    EXPECT_EQ(cursor.y, 384);

    seen.clear();
    SetCursorPos(512, 384); // no move, no message
    Drain();
    EXPECT_TRUE(Interesting().empty());
}

TEST_F(MessageQueue, FocusChangesActivateAndDeactivateOnce) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    Drain();
    seen.clear();
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED); // already active
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    Drain();
    EXPECT_EQ(Interesting(), (std::vector<UINT>{WM_ACTIVATE, WM_ACTIVATEAPP}));
    EXPECT_EQ(LOWORD(seen[0].wParam), WA_INACTIVE);
    EXPECT_EQ(seen[1].wParam, WPARAM(FALSE));
    EXPECT_EQ(GetForegroundWindow(), nullptr);

    seen.clear();
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    Drain();
    EXPECT_EQ(Interesting(), (std::vector<UINT>{WM_ACTIVATEAPP, WM_ACTIVATE}));
    EXPECT_EQ(seen[0].wParam, WPARAM(TRUE));
}

TEST_F(MessageQueue, FocusLostAndRegainedTogetherIsNoChange) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    Drain();
    seen.clear();
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    Drain();
    EXPECT_TRUE(Interesting().empty());
    EXPECT_EQ(GetForegroundWindow(), window);
}

TEST_F(MessageQueue, TheWindowManagersCloseArrivesAsWmClose) {
    HWND window = MakeWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    quitOnDestroy = false;
    Drain();
    seen.clear();
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_CLOSE));
    EXPECT_EQ(msg.hwnd, window);
}

TEST_F(MessageQueue, ClassesAreFoundByNameWithoutRegardToCase) {
    WNDCLASSA again = {};
    again.lpfnWndProc = RecordingProc;
    again.lpszClassName = "GLIDE DEMO";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_EQ(CreateWindowExA(0, "no such class", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
}

} // namespace
