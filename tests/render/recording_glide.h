// A stand-in for the few Glide calls the polygon pipeline makes: it records
// every polygon instead of drawing it, so tests can check exactly what the board
// would be given.
#pragma once

#include "glide/glide.h"

#include <vector>

namespace recording {

struct DrawnPolygon {
    std::vector<GrVertex> vertices;
};

// Everything recorded since the last Reset.
struct Record {
    std::vector<DrawnPolygon> polygons;
    std::vector<GrColorCombineFnc_t> colourCombines;
};

Record& Calls();
void Reset();

} // namespace recording
