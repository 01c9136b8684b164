// Window classes, windows and the thread's message queue over SDL2. Sent messages
// call the window procedure at once; posted messages and input wait in two fixed
// queues. PeekMessageA first turns pending SDL events into messages, then returns
// posted messages, then WM_QUIT, then input, in the order Windows uses.
#include "glide/screen.h" // header-only: the platform layer links no toolkit
#include "win32/key_map.h"
#include "win32/platform.h"
#include "win32/sdl_state.h"
#include "win32/x11_host.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <string>
#include <strings.h>
#include <vector>

namespace {

struct WindowClass {
    std::string name;
    WNDCLASSA attributes;
};

struct Window {
    WNDPROC procedure = nullptr;
    HCURSOR classCursor = nullptr;
    DWORD style = 0;
    SDL_Window* sdl = nullptr;
    int width = 0; // client size in pixels
    int height = 0;
    bool visible = false;
    bool destroying = false;
    win32::detail::DetachHook detach = nullptr;
    void* detachUser = nullptr;

    HWND Handle() { return reinterpret_cast<HWND>(this); }
};

// Fixed-capacity message queue; messages are taken from any position because the
// caller may filter by window and message range.
class MessageQueue {
public:
    static const int capacity = 512;

    bool PushBack(const MSG& msg) {
        if (count == capacity) {
            return false;
        }
        items[count++] = msg;
        return true;
    }
    bool PushFront(const MSG& msg) {
        if (count == capacity) {
            return false;
        }
        std::memmove(&items[1], &items[0], sizeof(MSG) * count);
        items[0] = msg;
        ++count;
        return true;
    }
    MSG* Last() { return count > 0 ? &items[count - 1] : nullptr; }
    int Find(HWND window, UINT filterMin, UINT filterMax) const;
    void RemoveAt(int index) {
        std::memmove(&items[index], &items[index + 1], sizeof(MSG) * (count - index - 1));
        --count;
    }
    void RemoveWindow(HWND window) {
        int kept = 0;
        for (int i = 0; i < count; ++i) {
            if (items[i].hwnd != window) {
                items[kept++] = items[i];
            }
        }
        count = kept;
    }
    bool Empty() const { return count == 0; }
    void Clear() { count = 0; }
    const MSG& At(int index) const { return items[index]; }

private:
    MSG items[capacity];
    int count = 0;
};

bool Matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && msg.hwnd != window) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) {
        return true;
    }
    return msg.message >= filterMin && msg.message <= filterMax;
}

int MessageQueue::Find(HWND window, UINT filterMin, UINT filterMax) const {
    for (int i = 0; i < count; ++i) {
        if (Matches(items[i], window, filterMin, filterMax)) {
            return i;
        }
    }
    return -1;
}

std::vector<WindowClass> classes;
std::vector<std::unique_ptr<Window>> windows;
MessageQueue posted;
MessageQueue input;
bool quitPosted = false;
int quitCode = 0;
HWND activeWindow = nullptr;
HWND focusLost = nullptr; // lost the input focus in the batch of events being read
POINT cursor = {0, 0};    // last position reported by a mouse message (screen)
bool cursorKnown = false;

Window* LookUp(HWND handle) {
    if (handle == nullptr) {
        return nullptr;
    }
    for (const auto& window : windows) {
        if (window->Handle() == handle) {
            return window.get();
        }
    }
    return nullptr;
}

WindowClass* FindClass(LPCSTR name) {
    if (name == nullptr || IS_INTRESOURCE(name)) {
        return nullptr;
    }
    for (WindowClass& windowClass : classes) {
        if (strcasecmp(windowClass.name.c_str(), name) == 0) {
            return &windowClass;
        }
    }
    return nullptr;
}

Window* WindowOfSdl(Uint32 windowId) {
    SDL_Window* sdl = windowId != 0 ? SDL_GetWindowFromID(windowId) : nullptr;
    for (const auto& window : windows) {
        if (sdl != nullptr && window->sdl == sdl) {
            return window.get();
        }
    }
    // Keyboard events without a focus window go where Windows would send them.
    return LookUp(win32::detail::PrimaryWindow());
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg;
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    msg.pt = cursor;
    return msg;
}

// Queues a mouse or key message. Consecutive mouse moves collapse into the latest
// one, as Windows keeps at most one unread WM_MOUSEMOVE behind the last input.
void QueueInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG* last = input.Last();
    if (message == WM_MOUSEMOVE && last != nullptr && last->message == WM_MOUSEMOVE &&
        last->hwnd == window && last->wParam == wParam) {
        last->lParam = lParam;
        last->time = GetTickCount();
        last->pt = cursor;
        return;
    }
    input.PushBack(MakeMessage(window, message, wParam, lParam));
}

WPARAM MouseKeyFlags(Uint32 buttons) {
    WPARAM flags = 0;
    if (buttons & SDL_BUTTON_LMASK) {
        flags |= MK_LBUTTON;
    }
    if (buttons & SDL_BUTTON_RMASK) {
        flags |= MK_RBUTTON;
    }
    if (buttons & SDL_BUTTON_MMASK) {
        flags |= MK_MBUTTON;
    }
    SDL_Keymod mods = SDL_GetModState();
    if (mods & KMOD_SHIFT) {
        flags |= MK_SHIFT;
    }
    if (mods & KMOD_CTRL) {
        flags |= MK_CONTROL;
    }
    return flags;
}

// Sends the activation messages when the application's active window changes:
// WM_ACTIVATEAPP first and WM_ACTIVATE after it on activation, the reverse on
// deactivation, as Windows orders them.
void Activate(HWND handle, bool active) {
    if (active) {
        if (activeWindow == handle) {
            return;
        }
        HWND previous = activeWindow;
        activeWindow = handle;
        if (previous == nullptr) {
            SendMessageA(handle, WM_ACTIVATEAPP, TRUE, 0);
        }
        SendMessageA(handle, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
        SendMessageA(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    } else {
        if (activeWindow != handle) {
            return;
        }
        activeWindow = nullptr;
        SendMessageA(handle, WM_ACTIVATE, WA_INACTIVE, 0);
        SendMessageA(handle, WM_ACTIVATEAPP, FALSE, 0);
        SendMessageA(handle, WM_KILLFOCUS, 0, 0);
    }
}

void MouseMessage(Window* window, UINT message, int clientX, int clientY, Uint32 buttons) {
    HWND handle = window->Handle();
    POINT origin = win32::detail::ClientOrigin(handle);
    POINT position = {origin.x + clientX, origin.y + clientY};
    if (message == WM_MOUSEMOVE && cursorKnown && position.x == cursor.x &&
        position.y == cursor.y) {
        return; // already reported, e.g. the motion caused by SetCursorPos
    }
    cursor = position;
    cursorKnown = true;
    QueueInput(handle, message, MouseKeyFlags(buttons), MAKELPARAM(clientX, clientY));
}

void TranslateButton(const SDL_MouseButtonEvent& event) {
    Window* window = WindowOfSdl(event.windowID);
    if (window == nullptr) {
        return;
    }
    bool down = event.type == SDL_MOUSEBUTTONDOWN;
    UINT message;
    switch (event.button) {
    case SDL_BUTTON_LEFT:
        message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        break;
    case SDL_BUTTON_RIGHT:
        message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        break;
    case SDL_BUTTON_MIDDLE:
        message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        break;
    default:
        return;
    }
    // The key flags describe the buttons after the change.
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    Uint32 mask = SDL_BUTTON(event.button);
    buttons = down ? (buttons | mask) : (buttons & ~mask);
    // A press always reaches the queue, even at the position last reported.
    cursorKnown = false;
    MouseMessage(window, message, event.x, event.y, buttons);
}

void TranslateKey(const SDL_KeyboardEvent& event) {
    Window* window = WindowOfSdl(event.windowID);
    if (window == nullptr) {
        return;
    }
    bool released = event.type == SDL_KEYUP;
    UINT virtualKey = win32::VirtualKeyFromSdl(event.keysym.sym, event.keysym.scancode);
    bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    bool ctrl = (event.keysym.mod & KMOD_CTRL) != 0;
    bool system = win32::IsSystemKey(virtualKey, alt, ctrl);
    UINT message =
        system ? (released ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (released ? WM_KEYUP : WM_KEYDOWN);
    QueueInput(window->Handle(), message, virtualKey,
               win32::KeyMessageLParam(alt && !ctrl, event.repeat != 0, released));
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
    Window* window = WindowOfSdl(event.windowID);
    if (window == nullptr || window->sdl != SDL_GetWindowFromID(event.windowID)) {
        return;
    }
    HWND handle = window->Handle();
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (focusLost == handle) {
            focusLost = nullptr; // back within the same batch: no change
        }
        Activate(handle, true);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        focusLost = handle; // decided once the batch of events is read
        break;
    case SDL_WINDOWEVENT_CLOSE:
        PostMessageA(handle, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (window->width == event.data1 && window->height == event.data2) {
            break;
        }
        window->width = event.data1;
        window->height = event.data2;
        SendMessageA(handle, WM_SIZE, 0, MAKELPARAM(event.data1, event.data2));
        break;
    default:
        break;
    }
}

void TranslateEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION: {
        Window* window = WindowOfSdl(event.motion.windowID);
        if (window != nullptr) {
            MouseMessage(window, WM_MOUSEMOVE, event.motion.x, event.motion.y, event.motion.state);
        }
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(event.button);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key);
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        break;
    default:
        break; // SDL_QUIT follows the window's close, which is handled above
    }
}

// A window manager may take the focus away and give it back while it maps a
// full-screen window; Windows never shows such a flicker, and a saver would end
// on it. So a focus loss counts only if the focus has not come back by the end
// of the events waiting together with it.
void DecideFocusLoss() {
    HWND lost = focusLost;
    focusLost = nullptr;
    if (lost != nullptr) {
        Activate(lost, false);
    }
}

void PumpEvents() {
    if (win32::TakeTerminationRequest()) {
        PostQuitMessage(0);
    }
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        TranslateEvent(event);
    }
    DecideFocusLoss();
}

bool TakeMessage(MessageQueue& queue, LPMSG msg, HWND window, UINT filterMin, UINT filterMax,
                 UINT remove) {
    int index = queue.Find(window, filterMin, filterMax);
    if (index < 0) {
        return false;
    }
    *msg = queue.At(index);
    if (remove & PM_REMOVE) {
        queue.RemoveAt(index);
    }
    return true;
}

HGDIOBJ StockObject(int index) {
    static int stockObjects[20];
    if (index < 0 || index >= 20) {
        return nullptr;
    }
    return &stockObjects[index];
}

// SDL's video drivers that open no window anyone can see.
bool DrawsNowhere(const char* driver) {
    return driver != nullptr &&
           (strcasecmp(driver, "dummy") == 0 || strcasecmp(driver, "offscreen") == 0);
}

} // namespace

namespace win32::detail {

bool VideoReady() {
    static int state = 0; // 0 untried, 1 running, -1 no display
    if (state == 0) {
        // Signals keep their default action: SDL would turn SIGTERM into a quit
        // event that a running saver swallows.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        state = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 ? 1 : -1;
        // Without a display SDL falls back to a driver that draws nowhere; a show
        // nobody can see or close must not start. Tests ask for such a driver.
        if (state == 1 && DrawsNowhere(SDL_GetCurrentVideoDriver()) &&
            !DrawsNowhere(std::getenv("SDL_VIDEODRIVER")) &&
            !DrawsNowhere(SDL_GetHint(SDL_HINT_VIDEODRIVER))) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            state = -1;
        }
    }
    return state == 1;
}

bool Headless() {
    return DrawsNowhere(std::getenv("SDL_VIDEODRIVER")) ||
           DrawsNowhere(SDL_GetHint(SDL_HINT_VIDEODRIVER)) ||
           DrawsNowhere(SDL_GetCurrentVideoDriver());
}

SDL_Window* SdlWindowOf(HWND handle) {
    Window* window = LookUp(handle);
    return window != nullptr ? window->sdl : nullptr;
}

POINT ClientOrigin(HWND handle) {
    POINT origin = {0, 0};
    Window* window = LookUp(handle);
    if (window != nullptr && window->sdl != nullptr) {
        int x = 0;
        int y = 0;
        SDL_GetWindowPosition(window->sdl, &x, &y);
        origin.x = x;
        origin.y = y;
    }
    return origin;
}

HWND PrimaryWindow() {
    if (activeWindow != nullptr) {
        return activeWindow;
    }
    for (const auto& window : windows) {
        if (window->visible && !window->destroying) {
            return window->Handle();
        }
    }
    for (const auto& window : windows) {
        if (!window->destroying) {
            return window->Handle();
        }
    }
    return nullptr;
}

void SetDetachHook(HWND handle, DetachHook hook, void* user) {
    Window* window = LookUp(handle);
    if (window != nullptr) {
        window->detach = hook;
        window->detachUser = hook != nullptr ? user : nullptr;
    }
}

void CursorMovedTo(int screenX, int screenY) {
    if (cursorKnown && cursor.x == screenX && cursor.y == screenY) {
        return;
    }
    cursor = {screenX, screenY};
    cursorKnown = true;
    HWND handle = PrimaryWindow();
    Window* window = LookUp(handle);
    if (window == nullptr || !window->visible) {
        return;
    }
    POINT origin = ClientOrigin(handle);
    int clientX = screenX - origin.x;
    int clientY = screenY - origin.y;
    if (clientX < 0 || clientY < 0 || clientX >= window->width || clientY >= window->height) {
        return;
    }
    Uint32 buttons = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetMouseState(nullptr, nullptr) : 0;
    QueueInput(handle, WM_MOUSEMOVE, MouseKeyFlags(buttons), MAKELPARAM(clientX, clientY));
}

POINT LastCursorPosition() {
    return cursor;
}

} // namespace win32::detail

namespace win32 {

void ResetWindowsForTests() {
    while (!windows.empty()) {
        DestroyWindow(windows.back()->Handle());
    }
    classes.clear();
    posted.Clear();
    input.Clear();
    quitPosted = false;
    quitCode = 0;
    activeWindow = nullptr;
    focusLost = nullptr;
    cursorKnown = false;
    cursor = {0, 0};
    PumpEvents();
    input.Clear();
}

} // namespace win32

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        IS_INTRESOURCE(windowClass->lpszClassName) || windowClass->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(windowClass->lpszClassName) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass entry{windowClass->lpszClassName, *windowClass};
    entry.attributes.lpszClassName = nullptr; // the copy's name lives in entry.name
    entry.attributes.lpszMenuName = nullptr;
    classes.push_back(entry);
    return static_cast<ATOM>(0xC000 + classes.size());
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    WindowClass* windowClass = FindClass(className);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (!win32::detail::VideoReady()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (x == CW_USEDEFAULT) {
        x = y = SDL_WINDOWPOS_CENTERED;
    }
    if (width == CW_USEDEFAULT || width <= 0 || height <= 0) {
        width = screen::width;
        height = screen::height;
    }

    // A pop-up covering the whole screen is the full-screen window of the show.
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (style & WS_POPUP) {
        flags |= SDL_WINDOW_BORDERLESS;
        SDL_DisplayMode desktop;
        if (x == 0 && y == 0 && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && width >= desktop.w &&
            height >= desktop.h) {
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        }
    }
    const char* title = windowName != nullptr ? windowName : "";
    SDL_Window* sdl = SDL_CreateWindow(title, x, y, width, height, flags);
    if (sdl == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }

    auto window = std::make_unique<Window>();
    window->procedure = windowClass->attributes.lpfnWndProc;
    window->classCursor = windowClass->attributes.hCursor;
    window->style = style;
    window->sdl = sdl;
    window->width = width;
    window->height = height;
    HWND handle = window->Handle();
    windows.push_back(std::move(window));

    CREATESTRUCTA create;
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (!SendMessageA(handle, WM_NCCREATE, 0, createParam) ||
        SendMessageA(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (LookUp(handle) != nullptr && (style & WS_VISIBLE)) {
        ShowWindow(handle, SW_SHOW);
    }
    return LookUp(handle) != nullptr ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = LookUp(handle);
    if (window == nullptr || window->destroying) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    window->destroying = true;
    Activate(handle, false);
    SendMessageA(handle, WM_DESTROY, 0, 0);
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    if (window->detach != nullptr) {
        window->detach(window->detachUser);
    }
    SDL_DestroyWindow(window->sdl);
    posted.RemoveWindow(handle);
    input.RemoveWindow(handle);
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].get() == window) {
            windows.erase(windows.begin() + static_cast<long>(i));
            break;
        }
    }
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) {
    return LookUp(handle) != nullptr ||
           win32::detail::ForeignWindowExists(reinterpret_cast<uintptr_t>(handle));
}

HWND WINAPI GetDesktopWindow(void) {
    return reinterpret_cast<HWND>(win32::detail::ForeignRootWindow());
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* window = LookUp(handle);
    if (window == nullptr) {
        return FALSE;
    }
    bool wasVisible = window->visible;
    if (command == SW_HIDE) {
        if (wasVisible) {
            SendMessageA(handle, WM_SHOWWINDOW, FALSE, 0);
            SDL_HideWindow(window->sdl);
            window->visible = false;
            Activate(handle, false);
        }
        return wasVisible;
    }
    if (!wasVisible) {
        SendMessageA(handle, WM_SHOWWINDOW, TRUE, 0);
        if (LookUp(handle) == nullptr) {
            return FALSE;
        }
        SDL_ShowWindow(window->sdl);
        SDL_RaiseWindow(window->sdl);
        window->visible = true;
    }
    if (command != SW_SHOWNA) {
        Activate(handle, true);
    }
    if (!wasVisible && LookUp(handle) != nullptr) {
        SendMessageA(handle, WM_SIZE, 0, MAKELPARAM(window->width, window->height));
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    // The picture comes from the presenter; there is no invalid region to paint.
    return LookUp(handle) != nullptr;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    Window* window = LookUp(handle);
    if (window == nullptr || rect == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    rect->left = 0;
    rect->top = 0;
    rect->right = window->width;
    rect->bottom = window->height;
    return TRUE;
}

HWND WINAPI GetForegroundWindow(void) {
    return activeWindow;
}

int WINAPI GetSystemMetrics(int index) {
    if ((index != SM_CXSCREEN && index != SM_CYSCREEN) || !win32::detail::VideoReady()) {
        return 0;
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        return 0;
    }
    return index == SM_CXSCREEN ? desktop.w : desktop.h;
}

HGDIOBJ WINAPI GetStockObject(int object) {
    return StockObject(object);
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendMessageA(handle, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 asks the window to close through the system menu's command.
        if (wParam == VK_F4 && (static_cast<DWORD>(lParam) & (1u << 29))) {
            PostMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SETCURSOR: {
        Window* window = LookUp(handle);
        if (window != nullptr && LOWORD(lParam) == HTCLIENT && window->classCursor != nullptr) {
            SetCursor(window->classCursor);
            return TRUE;
        }
        return FALSE;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return 0;
    }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    if (msg == nullptr) {
        return FALSE;
    }
    PumpEvents();
    if (TakeMessage(posted, msg, window, filterMin, filterMax, remove)) {
        return TRUE;
    }
    if (quitPosted && window == nullptr &&
        Matches(MakeMessage(nullptr, WM_QUIT, 0, 0), nullptr, filterMin, filterMax)) {
        *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0);
        if (remove & PM_REMOVE) {
            quitPosted = false;
        }
        return TRUE;
    }
    if (!TakeMessage(input, msg, window, filterMin, filterMax, remove)) {
        return FALSE; // the loop waits with MsgWaitForMultipleObjects, never here
    }
    // Taking mouse input lets the window choose the cursor first, as Windows does.
    if ((remove & PM_REMOVE) && msg->message >= WM_MOUSEMOVE && msg->message <= WM_MBUTTONUP) {
        SendMessageA(msg->hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(msg->hwnd),
                     MAKELPARAM(HTCLIENT, msg->message));
    }
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr) {
        return FALSE;
    }
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
        return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    }
    bool shift = SDL_WasInit(SDL_INIT_EVENTS) && (SDL_GetModState() & KMOD_SHIFT) != 0;
    char character = win32::CharacterFromVirtualKey(static_cast<UINT>(msg->wParam), shift);
    if (character != 0) {
        UINT charMessage = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        posted.PushFront(MakeMessage(msg->hwnd, charMessage, static_cast<unsigned char>(character),
                                     msg->lParam));
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) {
        return 0;
    }
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handle != nullptr && LookUp(handle) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!posted.PushBack(MakeMessage(handle, message, wParam, lParam))) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = LookUp(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return window->procedure(handle, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}

BOOL WINAPI WaitMessage(void) {
    // Wakes at the next event, or after a while so the caller looks again.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    return TRUE;
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds,
                                       DWORD) {
    if (count != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    PumpEvents();
    if (!posted.Empty() || !input.Empty() || quitPosted) {
        return WAIT_OBJECT_0;
    }
    // SDL and poll take a signed count of milliseconds; INFINITE becomes -1.
    int timeout = milliseconds > 0x7FFFFFFFu ? -1 : static_cast<int>(milliseconds);
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        // No window of ours, so no events: only the time or a signal ends the wait.
        poll(nullptr, 0, timeout);
    } else {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, timeout)) {
            TranslateEvent(event);
        }
    }
    PumpEvents(); // also decides a focus loss the first event brought, and signals
    return !posted.Empty() || !input.Empty() || quitPosted ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}
