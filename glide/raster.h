// The software board's pixel engine: triangle set-up with the top-left fill rule,
// row spans, and the per-pixel pipeline (depth test, blending, dithering) on RGB 565
// buffers. It knows nothing of the Glide call sequence, of windows or of threads.
#pragma once

#include "glide/glide.h"
#include "glide/pixel.h"
#include "glide/screen.h" // header-only: the board links no toolkit

#include <cstdint>

namespace glide {

constexpr int screenWidth = screen::width;
constexpr int screenHeight = screen::height;
// Vertex positions are 28.4 fixed point (1/16 pixel), the precision the polygon
// pipeline snaps to. Polygons reaching farther than this from the origin, in pixels,
// are refused: it bounds every edge product well inside 64 bits.
constexpr float guardBand = 1048576.0f;
constexpr int maxPolygonVertices = 10;

// The buffers one draw writes: rows top to bottom, stride pixels apart.
struct Target {
    uint16_t* color; // RGB 565
    uint16_t* depth; // 16-bit depth, same layout
    int width, height, stride;
};

// A vertex ready for set-up: position in 1/16 pixel, attributes as the API gave them
// (colours and alpha 0..255, z is ooz for the Z-buffer, w is oow for the W-buffer).
struct Vertex {
    int32_t x, y;
    float r, g, b, a;
    float z, w;
};

// Which rows of the target a draw may touch: [rowBegin, rowEnd). The board's threads
// each draw whole bands of rows, so no two of them share a pixel.
struct RowSet {
    int rowBegin = 0, rowEnd = screenHeight;
};

// Drawing state resolved once per state change from the Glide values: every span
// function reads only this, never the API state.
struct PixelPath {
    int depthMode = GR_DEPTHBUFFER_DISABLE; // DISABLE, ZBUFFER or WBUFFER
    int depthFunction = GR_CMP_LESS;
    bool depthWrite = false; // depth mask on and depth buffering on
    int srcFactor = GR_BLEND_ONE, dstFactor = GR_BLEND_ZERO;
    bool dither = true;
    // Colour and alpha sources: iterated, or a constant 0..255 replacing it.
    int constantRgb = -1;   // -1: iterated RGB
    int constantAlpha = -1; // -1: iterated alpha
    // Fast-path candidates, decided by ResolvePath.
    bool additive = false; // no depth, destination ONE, source ONE or SRC_ALPHA
    bool opaqueW = false;  // W-buffer, source ONE, destination ZERO
    bool opaqueZ = false;  // Z-buffer, source ONE, destination ZERO
};

// The Glide state a PixelPath is resolved from.
struct BoardState {
    int depthMode = GR_DEPTHBUFFER_DISABLE;
    int depthFunction = GR_CMP_LESS;
    bool depthMask = false;
    int srcRgb = GR_BLEND_ONE, dstRgb = GR_BLEND_ZERO;
    int alphaSource = GR_ALPHASOURCE_ITERATED_ALPHA;
    int colorCombine = GR_COLORCOMBINE_ITRGB;
    int dither = GR_DITHER_4x4;
};

PixelPath ResolvePath(const BoardState& state);

// One row's run of covered pixels with the attributes at its first pixel centre and
// their steps per pixel to the right. Channel values are 16.16 fixed point: a pixel's
// channel is (start + i * step) >> 16, clamped to 0..255; the set-up keeps
// start + i * step within 2^14 units over the whole span, so the sum never wraps.
// Its depth source is start + float(i) * step in single precision.
struct Span {
    uint16_t* color; // first pixel of the span
    uint16_t* depth;
    int x, y, count;
    int width; // pixels in the target's rows: a loop may read and rewrite unchanged
               // pixels of the span's own row, never beyond it
    int32_t rgba[4], rgbaStep[4];
    float depth0, depthStep;
};

using SpanFunction = void (*)(const PixelPath& path, const Span& span);

// Span loops. Every fast loop gives the same pixels as SpanReference for the states
// it is chosen for; the tests hold them to it. Flat additive spans have their own
// loops; every depth mode with source factor ONE or SRC_ALPHA and destination factor
// ZERO, ONE or ONE_MINUS_SRC_ALPHA has a loop with the state resolved at compile time
// (16 pixels a pass with AVX-512, one at a time otherwise; AVX2 has 8-pixel loops for
// the opaque depth-tested states); the other states take SpanReference.
enum class Implementation { Reference, Portable, Avx2, Avx512 };
void SetImplementation(Implementation implementation); // falls back if unsupported
Implementation CurrentImplementation();
Implementation BestImplementation();

// Draws the convex polygon v[0..count) as one fan about v[0] with the top-left rule:
// a pixel is covered when its centre lies inside, or on an edge whose inside lies
// to its right (a left edge) or below it (a top edge). Counts outside 3..10 are ignored.
// A flat, convex polygon blended additively is filled in one pass, which covers the
// fan's pixels exactly. Returns the number of pixels covered (before the depth test).
uint64_t DrawPolygon(const Target& target, const PixelPath& path, const Vertex* v, int count,
                     const RowSet& rows);

// The rows of a target of the given height whose centres lie within the polygon's
// height: *first..*last, with *first > *last when there are none.
void PolygonRows(const Vertex* v, int count, int height, int* first, int* last);

// Converts API vertices; false when a position is not finite or beyond the guard band.
bool ConvertVertex(const GrVertex& in, Vertex* out);

// Per-pixel building blocks, shared by every span loop and by the tests.
uint16_t WDepth(float oow); // 1/w to the board's 16-bit floating depth (0 nearest)
uint16_t ZDepth(float ooz); // ooz clamped to 0..65535
bool DepthPasses(int function, uint16_t incoming, uint16_t stored);
int BlendFactor(int factor, bool forSource, int srcChannel, int srcAlpha, int dstChannel);
uint16_t PackPixel(int r, int g, int b, int x, int y, bool dither);
extern const uint8_t ditherMatrix[4][4];

// The span loops themselves (exposed for the tests and the fill benchmark).
// BlendSpan: the loop of a non-additive state of the set above, else nullptr.
SpanFunction BlendSpan(const PixelPath& path, Implementation implementation);
void SpanReference(const PixelPath& path, const Span& span);
void SpanAdditivePortable(const PixelPath& path, const Span& span);
void SpanOpaqueWPortable(const PixelPath& path, const Span& span);
void SpanOpaqueZPortable(const PixelPath& path, const Span& span);
#if defined(__x86_64__) || defined(__i386__)
#define SOLVANE_GLIDE_X86 1
void SpanAdditiveAvx2(const PixelPath& path, const Span& span);
void SpanOpaqueWAvx2(const PixelPath& path, const Span& span);
void SpanOpaqueZAvx2(const PixelPath& path, const Span& span);
void SpanAdditiveAvx512(const PixelPath& path, const Span& span);
void SpanOpaqueWAvx512(const PixelPath& path, const Span& span);
void SpanOpaqueZAvx512(const PixelPath& path, const Span& span);
bool CpuHasAvx2();
bool CpuHasAvx512();
#endif

} // namespace glide
