// The screen size in pixels: the show's one picture size and the only resolution
// the software board offers (GR_RESOLUTION_640x480). It lives here, header-only
// below every layer, because both the board (glide/) and the show's layers need it
// and neither may include the other; each reads it from here.
#pragma once

namespace screen {
constexpr int width = 640;
constexpr int height = 480;
} // namespace screen
