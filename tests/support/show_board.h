// The show's view globals and a headless Glide board at 640 × 480, set as the program's
// Glide set-up sets them. Closing the board stays with the caller.
#pragma once

#include "geometry/view.h"
#include "glide/glide.h"
#include "glide/screen.h"

namespace testsupport {

inline bool OpenShowBoard() {
    showWidth = screen::width;
    showHeight = screen::height;
    nearDistance = 0.1f;
    farDistance = 100000.0f;
    grGlideInit();
    grSstSelect(0);
    return grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                        GR_ORIGIN_UPPER_LEFT, 2, 1) != FXFALSE;
}

} // namespace testsupport
