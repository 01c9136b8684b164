// The software board's presenter on Windows: each frame is stretched into the
// window with StretchDIBits from its RGB 565 pixels, aspect kept, black around
// it. Linked into the program itself, so its installer runs before WinMain.
#include "glide/presenter.h"
#include "win32/picture_fit.h"
#include "win32/win32.h"

namespace {

class GdiPresenter : public glide::Presenter {
public:
    explicit GdiPresenter(HWND window) : window(window) {}

    void Present(const uint16_t* pixels, int width, int height, int stridePixels) override {
        if (pixels == nullptr || width <= 0 || height <= 0 || !IsWindow(window)) {
            return;
        }
        RECT client;
        GetClientRect(window, &client);
        win32::PictureArea area = win32::FitPicture(client.right, client.bottom, width, height);

        struct {
            BITMAPINFOHEADER header;
            DWORD masks[3];
        } format = {};
        format.header.biSize = sizeof(BITMAPINFOHEADER);
        format.header.biWidth = stridePixels;
        format.header.biHeight = -height; // rows top to bottom
        format.header.biPlanes = 1;
        format.header.biBitCount = 16;
        format.header.biCompression = BI_BITFIELDS;
        format.masks[0] = 0xF800;
        format.masks[1] = 0x07E0;
        format.masks[2] = 0x001F;

        HDC dc = GetDC(window);
        if (dc == nullptr) {
            return;
        }
        HGDIOBJ black = GetStockObject(BLACK_BRUSH);
        RECT bars[4] = {{0, 0, client.right, area.y},
                        {0, area.y + area.height, client.right, client.bottom},
                        {0, area.y, area.x, area.y + area.height},
                        {area.x + area.width, area.y, client.right, area.y + area.height}};
        for (const RECT& bar : bars) {
            if (bar.right > bar.left && bar.bottom > bar.top) {
                FillRect(dc, &bar, static_cast<HBRUSH>(black));
            }
        }
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, area.x, area.y, area.width, area.height, 0, 0, width, height, pixels,
                      reinterpret_cast<const BITMAPINFO*>(&format), DIB_RGB_COLORS, SRCCOPY);
        ReleaseDC(window, dc);
    }

private:
    HWND window;
};

std::unique_ptr<glide::Presenter> MakeGdiPresenter(GrWindowHandle_t windowHandle) {
    HWND window = reinterpret_cast<HWND>(windowHandle);
    if (!IsWindow(window)) {
        return nullptr;
    }
    return std::make_unique<GdiPresenter>(window);
}

struct PresenterInstaller {
    PresenterInstaller() { glide::SetPresenterFactory(&MakeGdiPresenter); }
} presenterInstaller;

} // namespace
