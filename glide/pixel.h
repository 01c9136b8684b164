// The board's RGB 565 pixels widened to 8 bits a channel: the high bits repeated
// into the low ones, so that 0 stays 0 and a full channel becomes 255. Header-only:
// the layers above widen their pictures the same way without linking the board.
#pragma once

#include <cstdint>

namespace glide {

constexpr int Widen5(int v) {
    return (v << 3) | (v >> 2);
}
constexpr int Widen6(int v) {
    return (v << 2) | (v >> 4);
}

inline void ExpandPixel(uint16_t pixel, int* r, int* g, int* b) {
    *r = Widen5(pixel >> 11);
    *g = Widen6((pixel >> 5) & 63);
    *b = Widen5(pixel & 31);
}

} // namespace glide
