// The screen size in pixels: the only resolution the software board offers
// (GR_RESOLUTION_640x480) and so the show's one picture size. Header-only: the
// layers above read it without linking the board.
#pragma once

namespace screen {
constexpr int width = 640;
constexpr int height = 480;
} // namespace screen
