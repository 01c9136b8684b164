// Every test of this program runs on SDL's dummy video driver: windows and their
// events exist, nothing appears on a screen, and message boxes answer themselves.
#include <cstdlib>

namespace {

const bool dummyVideo = setenv("SDL_VIDEODRIVER", "dummy", 1) == 0;

} // namespace
