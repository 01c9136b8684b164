// The row walk of the rasteriser, shared by the set-up (raster.cpp) and the span
// loops that are inlined into it (spans_fast.cpp): exact edge stepping, attribute
// planes and span starts. Internal to glide/.
#pragma once

#include "glide/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace glide {

inline int64_t FloorDiv(int64_t a, int64_t b) { // b > 0
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// floor(a / b) for b > 0 by a double division, corrected to the exact quotient and
// remainder: an edge's set-up divides twice, and a 64-bit integer division takes
// several times as long. Exact while a and b fit a double's 53 bits, as they do for
// positions within the guard band; larger ones take FloorDiv.
inline int64_t FloorDivRest(int64_t a, int64_t b, int64_t* rest) {
    const int64_t exact = int64_t(1) << 53;
    int64_t q;
    if (a > -exact && a < exact && b < exact) {
        q = int64_t(double(a) / double(b)); // within one of the floor
        int64_t r = a - q * b;
        while (r < 0) {
            --q, r += b;
        }
        while (r >= b) {
            ++q, r -= b;
        }
        *rest = r;
        return q;
    }
    q = FloorDiv(a, b);
    *rest = a - q * b;
    return q;
}

// Nearest integer, halves away from zero, for |x| < 2^62: inline, where lrint and
// llrint are library calls without -fno-math-errno.
inline int64_t RoundToInt(double x) {
    return int64_t(x >= 0.0 ? x + 0.5 : x - 0.5);
}

// A sloped edge as it crosses the rows: K + S * x >= 0 holds for covered pixels x of
// the current row, and K grows by rowStep per row. The bound floor(K / |S|) is
// stepped exactly with a quotient and a remainder, so no row divides.
struct EdgeWalk {
    int64_t bound, rest; // floor(k / p) and k - bound * p, 0 <= rest < p
    int64_t p;           // |S| > 0
    int64_t stepQuot, stepRest;

    void Start(int64_t k, int64_t s, int64_t rowStep) {
        p = s > 0 ? s : -s;
        bound = FloorDivRest(k, p, &rest);
        stepQuot = FloorDivRest(rowStep, p, &stepRest);
    }
    void NextRow() { // branch-free: the carry follows the edge's slope, not a pattern
        rest += stepRest;
        const int64_t carry = rest >= p ? 1 : 0;
        bound += stepQuot + carry;
        rest -= p & -carry;
    }
};

struct Plane {
    double value, dx, dy; // at the first vertex, per pixel
};

// A channel's 16.16 value at offset (cx, cy) pixels from the first vertex, held to
// 2^12 units either way and rounded to nearest (halves away from zero).
inline int32_t FixedStart(const Plane& p, double cx, double cy) {
    const double limit = double(1 << 28);
    double v = (p.value + p.dx * cx + p.dy * cy) * 65536.0;
    v = std::min(std::max(v, -limit), limit);
    return int32_t(v >= 0.0 ? v + 0.5 : v - 0.5);
}

// The step of a span of count pixels starting at start: the plane's step, unless the
// last pixel would pass 2^14 units (only where rounding meets a degenerate sliver far
// out); then the step that ends there, so no pixel's value wraps.
inline int32_t SpanStep(int32_t start, int32_t step, int count) {
    const int64_t limit = int64_t(1) << 30;
    const int64_t end = int64_t(start) + int64_t(count - 1) * step;
    if (end >= -limit && end <= limit) {
        return step;
    }
    return int32_t(((end > 0 ? limit : -limit) - start) / (count - 1));
}

// What the row loop of one polygon needs, resolved by FillConvex.
struct RowWalk {
    const Target* target;
    const PixelPath* path;
    SpanFunction spanFunction;
    int64_t firstRow, endRow;
    // Span starts: 64-bit fixed point with 32 fraction bits at pixel x = 0 of the first
    // row (fixedRows), or the planes in double arithmetic.
    bool fixedRows, colorVaries, stepsSafe, hasDepth;
    int channels; // 3 when the state never reads the alpha (source ONE, destination ZERO)
    int64_t colorBase[4], colorDx[4], colorDy[4];
    int32_t colorStep[4];
    const Plane* color;
    double px0, py0;
    double depthBase, depthDx, depthDy;
    Span span; // the fields every span shares, filled in
};

#include "glide/rows_walk.inc"

// The span function through its pointer.
struct PointerKernel {
    explicit PointerKernel(const RowWalk&) {}
    void Draw(const RowWalk& w, const Span& span) const { w.spanFunction(*w.path, span); }
};

using RowWalker = uint64_t (*)(RowWalk& w, EdgeWalk* leftEdges, int lefts, EdgeWalk* rightEdges,
                               int rights);
// A row walk with the span loop of the state inlined, for the states the show spends
// its time in (flat additive, opaque W-buffer) with AVX-512; nullptr for the others.
RowWalker FusedRowWalker(const PixelPath& path, bool flat, Implementation implementation);

} // namespace glide
