// The mouse cursor over SDL2: position, visibility and confinement. Positions are
// screen pixels; the full-screen window's client area starts at the screen origin.
#include "win32/sdl_state.h"

#include <SDL_syswm.h>
#ifdef SOLVANE_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace {

// The one cursor shape there is: the system's arrow. SetCursor(nullptr) hides it.
HICON__ arrowCursor;
HCURSOR currentCursor = &arrowCursor;

void ApplyVisibility() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        bool visible = currentCursor != nullptr;
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
}

// Asks the X server where the pointer is. SDL's own global query may answer from
// a cache that synthetic (XTEST) or warped moves do not refresh.
bool QueryX11Pointer(LPPOINT point) {
#ifdef SOLVANE_HAVE_X11
    SDL_Window* window = win32::detail::SdlWindowOf(win32::detail::PrimaryWindow());
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    Display* display = info.info.x11.display;
    ::Window root;
    ::Window child;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY,
                       &windowX, &windowY, &mask)) {
        return false;
    }
    point->x = rootX;
    point->y = rootY;
    return true;
#else
    (void)point;
    return false;
#endif
}

} // namespace

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (point == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (win32::detail::VideoReady() && !win32::detail::Headless()) {
        if (QueryX11Pointer(point)) {
            return TRUE;
        }
        int x = 0;
        int y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        point->x = x;
        point->y = y;
    } else {
        *point = win32::detail::LastCursorPosition();
    }
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    if (win32::detail::VideoReady() && !win32::detail::Headless()) {
        if (SDL_WarpMouseGlobal(x, y) != 0) {
            return FALSE;
        }
    }
    // Windows reports the move as a WM_MOUSEMOVE at the new position; the motion
    // event SDL delivers for the warp is recognised and not reported again.
    win32::detail::CursorMovedTo(x, y);
    return TRUE;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR previous = currentCursor;
    currentCursor = cursor;
    if (previous != cursor) {
        ApplyVisibility();
    }
    return previous;
}

BOOL WINAPI ClipCursor(const RECT* rect) {
    SDL_Window* window = win32::detail::SdlWindowOf(win32::detail::PrimaryWindow());
    if (window == nullptr) {
        return rect == nullptr; // releasing nothing succeeds
    }
    if (rect == nullptr) {
        SDL_SetWindowMouseRect(window, nullptr);
        return TRUE;
    }
    POINT origin = win32::detail::ClientOrigin(win32::detail::PrimaryWindow());
    SDL_Rect area = {
        static_cast<int>(rect->left - origin.x), static_cast<int>(rect->top - origin.y),
        static_cast<int>(rect->right - rect->left), static_cast<int>(rect->bottom - rect->top)};
    return SDL_SetWindowMouseRect(window, &area) == 0;
}
