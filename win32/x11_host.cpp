// Windows of other X clients: the root window, a screen-saver engine's window, a
// settings program's preview pane. The show may draw into them but owns nothing
// there: no input is selected, nothing is created on them but a graphics context,
// and a window that goes away is noticed at the next question asked about it.
// Everything here runs on the GUI thread over one private X connection.
#include "glide/presenter.h"
#include "glide/pixel.h"
#include "win32/picture_fit.h"
#include "win32/platform.h"
#include "win32/x11_host.h"

#ifdef SOLVANE_HAVE_X11

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

Display* display = nullptr;
bool displayTried = false;

// X numbers its resources in 29 bits; anything larger is not a window number.
constexpr uintptr_t LargestResourceId = 0x1FFFFFFF;

Display* Connection() {
    if (!displayTried) {
        displayTried = true;
        display = XOpenDisplay(nullptr);
    }
    return display;
}

// X reports a bad window asynchronously, through a handler that by default ends
// the process. Calls that may name a vanished window run inside a trap that
// records the error instead.
int trappedErrors = 0;
int CountError(Display*, XErrorEvent*) {
    ++trappedErrors;
    return 0;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display(display) {
        XSync(display, False); // errors of earlier requests are not ours
        trappedErrors = 0;
        previous = XSetErrorHandler(CountError);
    }
    ~ErrorTrap() { XSetErrorHandler(previous); }
    // Waits for the server's answer to everything sent so far; true when none failed.
    bool Clean() {
        XSync(display, False);
        return trappedErrors == 0;
    }

private:
    Display* display;
    int (*previous)(Display*, XErrorEvent*);
};

bool Attributes(::Window window, XWindowAttributes* attributes) {
    Display* x = Connection();
    if (x == nullptr || window == 0 || window > LargestResourceId) {
        return false;
    }
    ErrorTrap trap(x);
    Status got = XGetWindowAttributes(x, window, attributes);
    return trap.Clean() && got != 0;
}

// Number of bits in a channel mask and the position of its lowest bit.
void MaskShape(unsigned long mask, int* bits, int* shift) {
    *bits = 0;
    *shift = 0;
    if (mask == 0) {
        return;
    }
    while ((mask & 1) == 0) {
        mask >>= 1;
        ++*shift;
    }
    while ((mask & 1) != 0) {
        mask >>= 1;
        ++*bits;
    }
}

// One 8-bit channel value placed in a channel mask.
unsigned long Channel(unsigned value8, unsigned long mask) {
    int bits = 0;
    int shift = 0;
    MaskShape(mask, &bits, &shift);
    if (bits == 0) {
        return 0;
    }
    unsigned long value = bits >= 8 ? static_cast<unsigned long>(value8) << (bits - 8)
                                    : static_cast<unsigned long>(value8) >> (8 - bits);
    return (value << shift) & mask;
}

// Draws the board's 640 x 480 picture into a foreign window, scaled to the
// window's current size with its aspect kept and black bars around it. The
// scaling takes the nearest source pixel: cheap enough that presenting a frame on
// a large screen costs less than drawing it.
class ForeignPresenter final : public glide::Presenter {
public:
    ForeignPresenter(Display* display, ::Window window) : display(display), window(window) {
        gc = XCreateGC(display, window, 0, nullptr);
    }
    ~ForeignPresenter() override {
        DropImage();
        if (gc != nullptr) {
            ErrorTrap trap(display); // the window, and with it nothing of ours, may be gone
            XFreeGC(display, gc);
            trap.Clean();
        }
    }

    void Present(const uint16_t* pixels, int width, int height, int stridePixels) override {
        XWindowAttributes attributes;
        if (pixels == nullptr || gc == nullptr || !Attributes(window, &attributes)) {
            return;
        }
        if (attributes.map_state != IsViewable) {
            return;
        }
        win32::PictureArea area =
            win32::FitPicture(attributes.width, attributes.height, width, height);
        if (area.width <= 0 || area.height <= 0 ||
            !Ready(attributes.visual, attributes.depth, area.width, area.height, width, height)) {
            return;
        }
        Scale(pixels, stridePixels);
        ErrorTrap trap(display);
        FillBars(attributes.width, attributes.height, area);
        XPutImage(display, window, gc, image, 0, 0, area.x, area.y,
                  static_cast<unsigned>(area.width), static_cast<unsigned>(area.height));
        trap.Clean(); // also keeps the server no more than one frame behind
    }

private:
    // Remakes the image, the pixel table and the scaling maps when the window's
    // visual or size changed; false for a visual this presenter cannot fill.
    bool Ready(Visual* visual, int depth, int areaWidth, int areaHeight, int pictureWidth,
               int pictureHeight) {
        if (visual != imageVisual || depth != imageDepth) {
            DropImage();
            if (visual == nullptr || visual->c_class != TrueColor) {
                return false; // colour maps of 8-bit displays are not worth keeping alive
            }
            colours.resize(65536);
            for (uint32_t rgb = 0; rgb < 65536; ++rgb) {
                int r, g, b; // 8 bits a channel, as the board widens 565
                glide::ExpandPixel(static_cast<uint16_t>(rgb), &r, &g, &b);
                colours[rgb] = static_cast<uint32_t>(Channel(r, visual->red_mask) |
                                                     Channel(g, visual->green_mask) |
                                                     Channel(b, visual->blue_mask));
            }
            imageVisual = visual;
            imageDepth = depth;
        }
        if (image != nullptr && areaWidth == image->width && areaHeight == image->height &&
            pictureWidth == sourceWidth && pictureHeight == sourceHeight) {
            return true;
        }
        DropImageData();
        image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                             static_cast<unsigned>(areaWidth), static_cast<unsigned>(areaHeight),
                             32, 0);
        if (image == nullptr) {
            return false;
        }
        storage.assign(static_cast<size_t>(image->bytes_per_line) * areaHeight, 0);
        image->data = storage.data();
        // Sample each target pixel's centre.
        columns.resize(static_cast<size_t>(areaWidth));
        for (int x = 0; x < areaWidth; ++x) {
            columns[x] = static_cast<int>((2LL * x + 1) * pictureWidth / (2LL * areaWidth));
        }
        rows.resize(static_cast<size_t>(areaHeight));
        for (int y = 0; y < areaHeight; ++y) {
            rows[y] = static_cast<int>((2LL * y + 1) * pictureHeight / (2LL * areaHeight));
        }
        sourceWidth = pictureWidth;
        sourceHeight = pictureHeight;
        const uint16_t probe = 1;
        bool hostIsLsbFirst = *reinterpret_cast<const uint8_t*>(&probe) == 1;
        nativeOrder = (image->byte_order == LSBFirst) == hostIsLsbFirst;
        return true;
    }

    void Scale(const uint16_t* pixels, int stridePixels) {
        const int width = image->width;
        const int height = image->height;
        const int bitsPerPixel = image->bits_per_pixel;
        for (int y = 0; y < height; ++y) {
            const uint16_t* source = pixels + static_cast<size_t>(rows[y]) * stridePixels;
            char* line = image->data + static_cast<size_t>(y) * image->bytes_per_line;
            if (bitsPerPixel == 32 && nativeOrder) {
                uint32_t* out = reinterpret_cast<uint32_t*>(line);
                for (int x = 0; x < width; ++x) {
                    out[x] = colours[source[columns[x]]];
                }
            } else if (bitsPerPixel == 16 && nativeOrder) {
                uint16_t* out = reinterpret_cast<uint16_t*>(line);
                for (int x = 0; x < width; ++x) {
                    out[x] = static_cast<uint16_t>(colours[source[columns[x]]]);
                }
            } else {
                for (int x = 0; x < width; ++x) {
                    XPutPixel(image, x, y, colours[source[columns[x]]]);
                }
            }
        }
    }

    void FillBars(int windowWidth, int windowHeight, const win32::PictureArea& area) {
        XSetForeground(display, gc, 0); // black in every TrueColor visual
        XRectangle bars[4];
        int count = 0;
        auto add = [&](int x, int y, int w, int h) {
            if (w > 0 && h > 0) {
                bars[count++] = {static_cast<short>(x), static_cast<short>(y),
                                 static_cast<unsigned short>(w), static_cast<unsigned short>(h)};
            }
        };
        add(0, 0, windowWidth, area.y);
        add(0, area.y + area.height, windowWidth, windowHeight - area.y - area.height);
        add(0, area.y, area.x, area.height);
        add(area.x + area.width, area.y, windowWidth - area.x - area.width, area.height);
        if (count > 0) {
            XFillRectangles(display, window, gc, bars, count);
        }
    }

    void DropImageData() {
        if (image != nullptr) {
            image->data = nullptr; // the pixels are storage's, not Xlib's to free
            XDestroyImage(image);
            image = nullptr;
        }
    }
    void DropImage() {
        DropImageData();
        imageVisual = nullptr;
        imageDepth = 0;
    }

    Display* display;
    ::Window window;
    GC gc = nullptr;
    XImage* image = nullptr;
    Visual* imageVisual = nullptr;
    int imageDepth = 0;
    bool nativeOrder = true;
    int sourceWidth = 0;
    int sourceHeight = 0;
    std::vector<char> storage;
    std::vector<uint32_t> colours; // RGB 565 -> the visual's pixel value
    std::vector<int> columns;      // target column -> source column
    std::vector<int> rows;         // target row -> source row
};

} // namespace

namespace win32::detail {

bool ForeignWindowExists(uintptr_t window) {
    XWindowAttributes attributes;
    return Attributes(static_cast<::Window>(window), &attributes);
}

uintptr_t ForeignRootWindow() {
    Display* x = Connection();
    return x != nullptr ? static_cast<uintptr_t>(DefaultRootWindow(x)) : 0;
}

} // namespace win32::detail

namespace win32 {

std::unique_ptr<glide::Presenter> MakeForeignPresenter(uintptr_t window) {
    XWindowAttributes attributes;
    if (!Attributes(static_cast<::Window>(window), &attributes)) {
        return nullptr;
    }
    return std::make_unique<ForeignPresenter>(Connection(), static_cast<::Window>(window));
}

} // namespace win32

#else // no X11: there are no foreign windows to draw into

namespace win32::detail {

bool ForeignWindowExists(uintptr_t) {
    return false;
}

uintptr_t ForeignRootWindow() {
    return 0;
}

} // namespace win32::detail

namespace win32 {

std::unique_ptr<glide::Presenter> MakeForeignPresenter(uintptr_t) {
    return nullptr;
}

} // namespace win32

#endif
