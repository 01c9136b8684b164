#include "assets/square.h"

namespace assets {

namespace {

// The square's size, in object units. Tune here: the start-up show stretches
// each copy 100 times along x (PScaleX 100) and stacks 100 copies 0.5 apart
// along y, watched from 70 units away (camera 60 in front of a centre 10 deep),
// where one unit is about 8 pixels high. A side of 1.0 makes copies about 100
// units wide and one unit high, so the stack fills the picture with overlapping
// glowing bands; much smaller leaves thin lines, much larger a white wall.
constexpr float squareWidth = 1.0f;
constexpr float squareHeight = 1.0f;

} // namespace

LwobWriter MakeSquare() {
    LwobWriter square("Square", 255, 255, 255);
    square.AddRectangle(0.0f, 0.0f, squareWidth, squareHeight, 0.0f, Facing::TowardViewer);
    return square;
}

} // namespace assets
