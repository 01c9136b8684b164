// The Windows presenter: stretches each 565 frame into the window's client area with
// GDI, keeping 4:3 with black bars. Compiled only for Windows.
#include "glide/presenter.h"

#include <windows.h>

namespace glide {

namespace {

class GdiPresenter final : public Presenter {
public:
    explicit GdiPresenter(HWND window) : window(window) {}

    void Present(const uint16_t* pixels, int width, int height, int stridePixels) override {
        RECT client;
        if (!GetClientRect(window, &client)) {
            return;
        }
        const int clientWidth = client.right - client.left;
        const int clientHeight = client.bottom - client.top;
        if (clientWidth <= 0 || clientHeight <= 0) {
            return;
        }
        // The largest 4:3 rectangle that fits, centred.
        int drawWidth = clientWidth, drawHeight = clientWidth * 3 / 4;
        if (drawHeight > clientHeight) {
            drawHeight = clientHeight;
            drawWidth = clientHeight * 4 / 3;
        }
        const int left = (clientWidth - drawWidth) / 2, top = (clientHeight - drawHeight) / 2;

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
        RECT bars[4] = {{0, 0, clientWidth, top},
                        {0, top + drawHeight, clientWidth, clientHeight},
                        {0, top, left, top + drawHeight},
                        {left + drawWidth, top, clientWidth, top + drawHeight}};
        for (const RECT& bar : bars) {
            if (bar.right > bar.left && bar.bottom > bar.top) {
                FillRect(dc, &bar, black);
            }
        }
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, left, top, drawWidth, drawHeight, 0, 0, width, height, pixels,
                      reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
        ReleaseDC(window, dc);
    }

private:
    HWND window;
};

} // namespace

// The default presenter factory on Windows; a null window runs headless.
std::unique_ptr<Presenter> MakeGdiPresenter(GrWindowHandle_t window) {
    if (!window) {
        return nullptr;
    }
    return std::make_unique<GdiPresenter>(reinterpret_cast<HWND>(window));
}

} // namespace glide
