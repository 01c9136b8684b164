// Every test of this program runs on SDL's dummy video driver: windows and their
// events exist, nothing appears on a screen, and message boxes answer themselves.
// Renderers are SDL's software renderer, whose pixels the tests can read back.
#include <cstdlib>

namespace {

const bool dummyVideo =
    setenv("SDL_VIDEODRIVER", "dummy", 1) == 0 && setenv("SDL_RENDER_DRIVER", "software", 1) == 0;

} // namespace
