// The software board's presenter on Windows: stretches each 565 frame into the
// window's client area with GDI, smoothly (HALFTONE), aspect kept, black around
// it. Linked into the program itself (solvane_win32_main), which installs it as
// the board's presenter factory before the entry runs.
#include "glide/presenter.h"
#include "win32/picture_fit.h"

#include <windows.h>

namespace {

class GdiPresenter final : public glide::Presenter {
public:
    explicit GdiPresenter(HWND window) : window(window) {}

    void Present(const uint16_t* pixels, int width, int height, int stridePixels) override {
        RECT client;
        if (pixels == nullptr || !GetClientRect(window, &client)) {
            return;
        }
        const int clientWidth = client.right - client.left;
        const int clientHeight = client.bottom - client.top;
        win32::PictureArea area = win32::FitPicture(clientWidth, clientHeight, width, height);
        if (area.width <= 0 || area.height <= 0) {
            return;
        }

        // A 16-bit DIB with explicit 565 masks; a negative height means top-down rows.
        struct {
            BITMAPINFOHEADER header;
            DWORD masks[3];
        } info = {};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = stridePixels;
        info.header.biHeight = -height;
        info.header.biPlanes = 1;
        info.header.biBitCount = 16;
        info.header.biCompression = BI_BITFIELDS;
        info.masks[0] = 0xF800;
        info.masks[1] = 0x07E0;
        info.masks[2] = 0x001F;

        HDC dc = GetDC(window);
        if (!dc) {
            return;
        }
        HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        const int right = area.x + area.width;
        const int bottom = area.y + area.height;
        RECT bars[4] = {{0, 0, clientWidth, area.y},
                        {0, bottom, clientWidth, clientHeight},
                        {0, area.y, area.x, bottom},
                        {right, area.y, clientWidth, bottom}};
        for (const RECT& bar : bars) {
            if (bar.right > bar.left && bar.bottom > bar.top) {
                FillRect(dc, &bar, black);
            }
        }
        // HALFTONE averages the source pixels each target pixel covers, as the
        // Linux presenter's linear filter does; it needs the brush origin set.
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, area.x, area.y, area.width, area.height, 0, 0, width, height, pixels,
                      reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
        ReleaseDC(window, dc);
    }

private:
    HWND window;
};

// A null window runs headless.
std::unique_ptr<glide::Presenter> MakeGdiPresenter(GrWindowHandle_t window) {
    if (!window) {
        return nullptr;
    }
    return std::make_unique<GdiPresenter>(reinterpret_cast<HWND>(window));
}

// Installed before WinMain: the board's factory is a plain pointer, constant-
// initialised, so this constructor cannot run before it exists.
struct InstallGdiPresenter {
    InstallGdiPresenter() { glide::SetPresenterFactory(MakeGdiPresenter); }
} installGdiPresenter;

} // namespace
