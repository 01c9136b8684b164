// Where the software board's front buffer goes: every grBufferSwap hands the new
// front buffer to the presenter made for the window given to grSstWinOpen. The
// rasteriser knows nothing of windows; the platform layer supplies the factory
// (an SDL2 window texture on Linux, GDI on Windows), and without one the board
// runs headless.
#pragma once

#include "glide/glide.h"

#include <cstdint>
#include <memory>

namespace glide {

class Presenter {
public:
    virtual ~Presenter() = default;
    // Shows one frame of RGB 565 pixels, rows top to bottom, stridePixels apart.
    // The pixels stay valid only for the call.
    virtual void Present(const uint16_t* pixels, int width, int height, int stridePixels) = 0;
};

// Makes the presenter for a window handle; returns null to run headless.
using PresenterFactory = std::unique_ptr<Presenter> (*)(GrWindowHandle_t window);

// Installs the factory that grSstWinOpen uses; null restores headless running.
void SetPresenterFactory(PresenterFactory factory);

} // namespace glide
