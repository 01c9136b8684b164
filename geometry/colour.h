// A colour of four bytes, red, green, blue and alpha, each 0 to 255: the type of
// an instance's per-point colours and of a surface's colour.
#pragma once

#include <cstdint>

struct Colour {
    uint8_t r, g, b, a;
};

static_assert(sizeof(Colour) == 4, "a Colour is four bytes");
