// Polygon and triangle set-up, the reference span loop and the choice of span loop.
#include "glide/raster.h"
#include "glide/rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace glide {

const uint8_t ditherMatrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// ---------------------------------------------------------------------------
// Per-pixel building blocks

uint16_t WDepth(float oow) {
    // With f = 1/w in [2^-16, 1), the board's depth is ((e << 12) | (~m & 0xFFF)) + 1,
    // e the leading zeros of f's 32-bit fraction and m the 12 bits after its leading
    // one. Both come straight from the float's exponent and mantissa, and the whole
    // expression folds to 0x7F000 - (bits >> 11). f >= 1 (and +inf, NaN) gives 0,
    // f < 2^-16 (and 0, negatives) gives 0xFFFF. f = 2^-16 exactly would give 0x10000,
    // which wraps to the nearest depth on a 16-bit store: it is held at 0xFFFF.
    int32_t bits;
    std::memcpy(&bits, &oow, sizeof bits);
    int32_t depth = 0x7F000 - (bits >> 11); // arithmetic shift: negatives go far
    return uint16_t(std::min(std::max(depth, 0), 0xFFFF));
}

uint16_t ZDepth(float ooz) {
    if (!(ooz > 0.0f)) {
        return 0;
    }
    return ooz < 65535.0f ? uint16_t(ooz) : uint16_t(0xFFFF);
}

bool DepthPasses(int function, uint16_t incoming, uint16_t stored) {
    switch (function) {
    case GR_CMP_LESS:
        return incoming < stored;
    case GR_CMP_EQUAL:
        return incoming == stored;
    case GR_CMP_LEQUAL:
        return incoming <= stored;
    case GR_CMP_GREATER:
        return incoming > stored;
    case GR_CMP_NOTEQUAL:
        return incoming != stored;
    case GR_CMP_GEQUAL:
        return incoming >= stored;
    case GR_CMP_ALWAYS:
        return true;
    default: // GR_CMP_NEVER
        return false;
    }
}

// Blend factors are 0..256 and scale a channel as (value * factor) >> 8: an 8-bit
// factor x counts as x + 1, ZERO as 0 and ONE as 256, so 0 and 255 map exactly to
// "nothing" and "all". The board has no alpha buffer: the destination alpha is 255.
int BlendFactor(int factor, bool forSource, int srcChannel, int srcAlpha, int dstChannel) {
    const int dstAlpha = 255;
    switch (factor) {
    case GR_BLEND_SRC_ALPHA:
        return srcAlpha + 1;
    case GR_BLEND_SRC_COLOR: // DST_COLOR when it is the source factor
        return (forSource ? dstChannel : srcChannel) + 1;
    case GR_BLEND_DST_ALPHA:
        return dstAlpha + 1;
    case GR_BLEND_ONE:
        return 256;
    case GR_BLEND_ONE_MINUS_SRC_ALPHA:
        return 256 - srcAlpha;
    case GR_BLEND_ONE_MINUS_SRC_COLOR: // ONE_MINUS_DST_COLOR as the source factor
        return 256 - (forSource ? dstChannel : srcChannel);
    case GR_BLEND_ONE_MINUS_DST_ALPHA:
        return 256 - dstAlpha;
    case GR_BLEND_ALPHA_SATURATE:
        return std::min(srcAlpha, 255 - dstAlpha) + 1;
    default: // GR_BLEND_ZERO
        return 0;
    }
}

uint16_t PackPixel(int r, int g, int b, int x, int y, bool dither) {
    if (!dither) {
        return uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    }
    int d = ditherMatrix[y & 3][x & 3];
    int r5 = (2 * r - r / 16 + r / 128 + d) >> 4;
    int g6 = (4 * g - g / 16 + g / 64 + d) >> 4;
    int b5 = (2 * b - b / 16 + b / 128 + d) >> 4;
    return uint16_t((r5 << 11) | (g6 << 5) | b5);
}

static inline int Channel(int32_t start, int32_t step, int i) {
    int32_t v = int32_t(uint32_t(start) + uint32_t(i) * uint32_t(step));
    return std::min(std::max(v >> 16, 0), 255);
}

PixelPath ResolvePath(const BoardState& s) {
    PixelPath p;
    p.depthMode = s.depthMode;
    p.depthFunction = s.depthFunction;
    p.depthWrite = s.depthMask && s.depthMode != GR_DEPTHBUFFER_DISABLE;
    p.srcFactor = s.srcRgb;
    p.dstFactor = s.dstRgb;
    p.dither = s.dither != GR_DITHER_DISABLE;
    switch (s.colorCombine) {
    case GR_COLORCOMBINE_ZERO:
        p.constantRgb = 0;
        break;
    case GR_COLORCOMBINE_CCRGB: // the constant colour is white: nothing sets it
    case GR_COLORCOMBINE_ONE:
        p.constantRgb = 255;
        break;
    default: // iterated RGB; the texture combines have no texture and iterate too
        p.constantRgb = -1;
        break;
    }
    p.constantAlpha =
        (s.alphaSource == GR_ALPHASOURCE_CC_ALPHA || s.alphaSource == GR_ALPHASOURCE_TEXTURE_ALPHA)
            ? 255
            : -1;
    p.additive = p.depthMode == GR_DEPTHBUFFER_DISABLE && p.dstFactor == GR_BLEND_ONE &&
                 (p.srcFactor == GR_BLEND_ONE || p.srcFactor == GR_BLEND_SRC_ALPHA);
    p.opaqueW = p.depthMode == GR_DEPTHBUFFER_WBUFFER && p.srcFactor == GR_BLEND_ONE &&
                p.dstFactor == GR_BLEND_ZERO;
    p.opaqueZ = p.depthMode == GR_DEPTHBUFFER_ZBUFFER && p.srcFactor == GR_BLEND_ONE &&
                p.dstFactor == GR_BLEND_ZERO;
    return p;
}

// ---------------------------------------------------------------------------
// The reference span loop: every state, one pixel at a time, nothing hoisted but
// the state itself.

void SpanReference(const PixelPath& path, const Span& s) {
    const bool blend = !(path.srcFactor == GR_BLEND_ONE && path.dstFactor == GR_BLEND_ZERO);
    for (int i = 0; i < s.count; ++i) {
        const int x = s.x + i;
        if (path.depthMode != GR_DEPTHBUFFER_DISABLE) {
            float f = s.depth0 + float(i) * s.depthStep;
            uint16_t depth = path.depthMode == GR_DEPTHBUFFER_WBUFFER ? WDepth(f) : ZDepth(f);
            if (!DepthPasses(path.depthFunction, depth, s.depth[i])) {
                continue;
            }
            if (path.depthWrite) {
                s.depth[i] = depth;
            }
        }
        int src[3];
        for (int c = 0; c < 3; ++c) {
            src[c] = Channel(s.rgba[c], s.rgbaStep[c], i);
        }
        int alpha = Channel(s.rgba[3], s.rgbaStep[3], i);
        int out[3] = {src[0], src[1], src[2]};
        if (blend) {
            int dst[3];
            ExpandPixel(s.color[i], &dst[0], &dst[1], &dst[2]);
            for (int c = 0; c < 3; ++c) {
                int fs = BlendFactor(path.srcFactor, true, src[c], alpha, dst[c]);
                int fd = BlendFactor(path.dstFactor, false, src[c], alpha, dst[c]);
                out[c] = std::min(255, ((src[c] * fs) >> 8) + ((dst[c] * fd) >> 8));
            }
        }
        s.color[i] = PackPixel(out[0], out[1], out[2], x, s.y, path.dither);
    }
}

// ---------------------------------------------------------------------------
// Span loop selection

static Implementation implementation = Implementation::Reference;
static bool implementationChosen = false;

Implementation BestImplementation() {
#ifdef SOLVANE_GLIDE_X86
    if (CpuHasAvx512()) {
        return Implementation::Avx512;
    }
    if (CpuHasAvx2()) {
        return Implementation::Avx2;
    }
#endif
    return Implementation::Portable;
}

void SetImplementation(Implementation wanted) {
#ifdef SOLVANE_GLIDE_X86
    if (wanted == Implementation::Avx512 && !CpuHasAvx512()) {
        wanted = Implementation::Avx2;
    }
    if (wanted == Implementation::Avx2 && !CpuHasAvx2()) {
        wanted = Implementation::Portable;
    }
#else
    if (wanted == Implementation::Avx2 || wanted == Implementation::Avx512) {
        wanted = Implementation::Portable;
    }
#endif
    implementation = wanted;
    implementationChosen = true;
}

Implementation CurrentImplementation() {
    if (!implementationChosen) {
        SetImplementation(BestImplementation());
    }
    return implementation;
}

static SpanFunction ChooseSpan(const PixelPath& path, bool flat) {
    Implementation impl = CurrentImplementation();
    if (impl == Implementation::Reference) {
        return SpanReference;
    }
    if (path.additive && flat) {
#ifdef SOLVANE_GLIDE_X86
        if (impl == Implementation::Avx512) {
            return SpanAdditiveAvx512;
        }
        if (impl == Implementation::Avx2) {
            return SpanAdditiveAvx2;
        }
#endif
        return SpanAdditivePortable;
    }
#ifdef SOLVANE_GLIDE_X86
    if (impl == Implementation::Avx2 && (path.opaqueW || path.opaqueZ)) {
        return path.opaqueW ? SpanOpaqueWAvx2 : SpanOpaqueZAvx2;
    }
#endif
    const SpanFunction blend = BlendSpan(path, impl);
    return blend ? blend : SpanReference;
}

// ---------------------------------------------------------------------------
// Triangle set-up

bool ConvertVertex(const GrVertex& in, Vertex* out) {
    if (!(std::fabs(in.x) <= guardBand) || !(std::fabs(in.y) <= guardBand)) {
        return false; // NaN fails the comparison too
    }
    out->x = int32_t(std::lrint(double(in.x) * 16.0));
    out->y = int32_t(std::lrint(double(in.y) * 16.0));
    // Attributes are held to a range that keeps every plane finite; NaN becomes 0.
    auto tame = [](float v, float limit) {
        return v > -limit ? (v < limit ? v : limit) : (v == v ? -limit : 0.0f);
    };
    out->r = tame(in.r, 65536.0f);
    out->g = tame(in.g, 65536.0f);
    out->b = tame(in.b, 65536.0f);
    out->a = tame(in.a, 65536.0f);
    out->z = tame(in.ooz, 1.0e9f);
    out->w = tame(in.oow, 1.0e9f);
    return true;
}

// Fills the convex polygon corner[0..n) (n >= 3, no two consecutive corners equal,
// orientation sign: +1 when the corners turn with positive cross products) with the
// attribute planes given, anchored at (px0, py0) pixels.
static uint64_t FillConvex(const Target& target, const PixelPath& path, const Vertex* const* corner,
                           int n, int64_t sign, const Plane color[4], const Plane& depth,
                           double px0, double py0, const RowSet& rows) {
    int64_t minY = corner[0]->y, maxY = corner[0]->y;
    for (int i = 1; i < n; ++i) {
        minY = std::min<int64_t>(minY, corner[i]->y);
        maxY = std::max<int64_t>(maxY, corner[i]->y);
    }
    // Rows whose centres (16y + 8) lie within the polygon's height.
    int64_t firstRow = -FloorDiv(-(minY - 8), 16); // ceil((minY - 8) / 16)
    int64_t endRow = FloorDiv(maxY - 8, 16) + 1;
    firstRow = std::max<int64_t>(firstRow, std::max(rows.rowBegin, 0));
    endRow = std::min<int64_t>(endRow, std::min(rows.rowEnd, target.height));
    // Edge p->q: E(P) = sign * ((q.x - p.x)(P.y - p.y) - (q.y - p.y)(P.x - p.x)), positive
    // inside, A = dE/dx and B = dE/dy per 1/16 pixel. Neighbours sharing an edge get
    // exactly opposite functions, so a pixel centre on the edge goes to the one side
    // the top-left rule picks. A horizontal edge (A = 0) only limits the rows.
    int64_t edgeA[maxPolygonVertices], edgeB[maxPolygonVertices], edgeK[maxPolygonVertices];
    for (int e = 0; e < n; ++e) {
        const Vertex& p = *corner[e];
        const Vertex& q = *corner[(e + 1) % n];
        const int64_t a = -(int64_t(q.y) - p.y) * sign;
        const int64_t b = (int64_t(q.x) - p.x) * sign;
        const bool topLeft = a > 0 || (a == 0 && b > 0);
        edgeA[e] = a, edgeB[e] = b;
        // E at pixel x = 0 of row y is edgeK + B * (16y + 8), less one off the top-left
        // edges so that ">= 0" decides.
        edgeK[e] = a * (8 - int64_t(p.x)) - b * int64_t(p.y) - (topLeft ? 0 : 1);
        if (a == 0) {
            const int64_t rowStep = 16 * b, atFirst = edgeK[e] + b * (16 * firstRow + 8);
            if (rowStep > 0 && atFirst < 0) {
                firstRow += -FloorDiv(atFirst, rowStep); // ceil(-atFirst / rowStep)
            } else if (rowStep < 0) {
                endRow = std::min(endRow,
                                  firstRow + (atFirst < 0 ? 0 : FloorDiv(atFirst, -rowStep) + 1));
            }
        }
    }
    if (firstRow >= endRow) {
        return 0;
    }
    // Sloped edges bound the row on the left (A > 0) or on the right (A < 0).
    EdgeWalk leftEdges[maxPolygonVertices], rightEdges[maxPolygonVertices];
    int lefts = 0, rights = 0;
    for (int e = 0; e < n; ++e) {
        const int64_t a = edgeA[e], b = edgeB[e];
        if (a != 0) {
            const int64_t k = edgeK[e] + b * (16 * firstRow + 8);
            (a > 0 ? leftEdges[lefts++] : rightEdges[rights++]).Start(k, 16 * a, 16 * b);
        }
    }

    // Steps are the planes' own slopes, however steep: a sliver's colour may change by
    // hundreds a pixel. They are held only to 2^14 units a pixel to fit 32 bits; a span
    // of two or more pixels lies inside the polygon, where the values stay within
    // their vertices' range, so no real span comes near that. What keeps
    // start + i * step from wrapping is the check of each span's last pixel, needed
    // only when the steps could carry a span of the target's width past 2^14 units.
    RowWalk w;
    const double stepLimit = double(1 << 30);
    bool flat = true;
    w.stepsSafe = true;
    for (int c = 0; c < 4; ++c) {
        double step = std::min(std::max(color[c].dx * 65536.0, -stepLimit), stepLimit);
        w.colorStep[c] = int32_t(RoundToInt(step));
        flat = flat && w.colorStep[c] == 0; // constant along each span
        w.stepsSafe = w.stepsSafe && std::fabs(step) * target.width <= double(1 << 29);
    }
    w.spanFunction = ChooseSpan(path, flat);
    w.colorVaries = false; // else every span starts with the same values
    for (int c = 0; c < 4; ++c) {
        w.colorVaries = w.colorVaries || color[c].dx != 0.0 || color[c].dy != 0.0;
    }

    // Span starts. Planes of moderate slopes (all a polygon of the show has) are
    // evaluated in 64-bit fixed point with 32 fraction bits from pixel x = 0 of the
    // first row: a multiply-add a channel and span instead of double arithmetic.
    // Others take FixedStart's double arithmetic at every span.
    const double rowX = 0.5 - px0, rowY = double(firstRow) + 0.5 - py0;
    const double fixedOne = 4294967296.0; // 2^32
    w.fixedRows = w.colorVaries;
    for (int c = 0; c < 4; ++c) {
        const double base = color[c].value + color[c].dx * rowX + color[c].dy * rowY;
        const double reach = std::fabs(base) + std::fabs(color[c].dx) * target.width +
                             std::fabs(color[c].dy) * target.height;
        w.fixedRows = w.fixedRows && std::fabs(color[c].dx) <= 16384.0 &&
                      std::fabs(color[c].dy) <= 16384.0 &&
                      reach <= 16777216.0; // 2^24 units: sums stay below 2^57
        w.colorBase[c] = w.fixedRows ? RoundToInt(base * fixedOne) : 0;
        w.colorDx[c] = w.fixedRows ? RoundToInt(color[c].dx * fixedOne) : 0;
        w.colorDy[c] = w.fixedRows ? RoundToInt(color[c].dy * fixedOne) : 0;
    }
    w.hasDepth = path.depthMode != GR_DEPTHBUFFER_DISABLE;
    w.channels = path.srcFactor == GR_BLEND_ONE && path.dstFactor == GR_BLEND_ZERO ? 3 : 4;
    w.depthBase = depth.value + depth.dx * rowX + depth.dy * rowY;
    w.depthDx = depth.dx;
    w.depthDy = depth.dy;
    w.target = &target;
    w.path = &path;
    w.firstRow = firstRow;
    w.endRow = endRow;
    w.color = color;
    w.px0 = px0;
    w.py0 = py0;

    Span& span = w.span;
    span.depth0 = 0.0f;
    for (int c = 0; c < 4; ++c) {
        span.rgba[c] = FixedStart(color[c], 0.0, 0.0); // the value everywhere when flat
        span.rgbaStep[c] = w.colorStep[c];
    }
    span.depthStep = float(depth.dx);
    span.width = target.width;
    if (const RowWalker fused = FusedRowWalker(path, flat, CurrentImplementation())) {
        return fused(w, leftEdges, lefts, rightEdges, rights);
    }
    return WalkRowsFor<PointerKernel>(w, leftEdges, lefts, rightEdges, rights);
}

static uint64_t DrawTriangle(const Target& target, const PixelPath& path, const Vertex& v0,
                             const Vertex& v1, const Vertex& v2, const RowSet& rows) {
    const int64_t x0 = v0.x, y0 = v0.y, x1 = v1.x, y1 = v1.y, x2 = v2.x, y2 = v2.y;
    const int64_t area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    if (area == 0) {
        return 0;
    }
    // Attribute planes over pixel coordinates.
    const double px0 = x0 / 16.0, py0 = y0 / 16.0;
    const double ex1 = (x1 - x0) / 16.0, ey1 = (y1 - y0) / 16.0;
    const double ex2 = (x2 - x0) / 16.0, ey2 = (y2 - y0) / 16.0;
    const double invArea = 1.0 / (ex1 * ey2 - ex2 * ey1);
    auto plane = [&](double a0, double a1, double a2) {
        double d1 = a1 - a0, d2 = a2 - a0;
        return Plane{a0, (d1 * ey2 - d2 * ey1) * invArea, (d2 * ex1 - d1 * ex2) * invArea};
    };
    Plane color[4];
    if (path.constantRgb >= 0) {
        double c = path.constantRgb;
        color[0] = color[1] = color[2] = Plane{c, 0.0, 0.0};
    } else {
        color[0] = plane(v0.r, v1.r, v2.r);
        color[1] = plane(v0.g, v1.g, v2.g);
        color[2] = plane(v0.b, v1.b, v2.b);
    }
    // Source ONE, destination ZERO never reads the alpha: no plane for it.
    const bool alphaUnread = path.srcFactor == GR_BLEND_ONE && path.dstFactor == GR_BLEND_ZERO;
    color[3] = path.constantAlpha >= 0 ? Plane{double(path.constantAlpha), 0.0, 0.0}
               : alphaUnread           ? Plane{0.0, 0.0, 0.0}
                                       : plane(v0.a, v1.a, v2.a);
    Plane depth{0.0, 0.0, 0.0};
    if (path.depthMode == GR_DEPTHBUFFER_WBUFFER) {
        depth = plane(v0.w, v1.w, v2.w);
    } else if (path.depthMode == GR_DEPTHBUFFER_ZBUFFER) {
        depth = plane(v0.z, v1.z, v2.z);
    }

    const Vertex* corner[3] = {&v0, &v1, &v2};
    return FillConvex(target, path, corner, 3, area > 0 ? 1 : -1, color, depth, px0, py0, rows);
}

// True when v[0..n) (consecutive repeats removed) bounds a convex region: every corner
// turns the same way, returned in *sign (straight continuations allowed, reversals not),
// and the edge directions change the sign of their x and of their y twice at most, which
// rules out polygons winding more than once.
static bool IsConvex(const Vertex* const* v, int n, int64_t* sign) {
    int64_t orientation = 0;
    int flipsX = 0, flipsY = 0;
    int64_t lastDx = 0, lastDy = 0, firstDx = 0, firstDy = 0;
    for (int i = 0; i < n; ++i) {
        const Vertex& a = *v[i];
        const Vertex& b = *v[(i + 1) % n];
        const Vertex& c = *v[(i + 2) % n];
        const int64_t ex = int64_t(b.x) - a.x, ey = int64_t(b.y) - a.y;
        const int64_t fx = int64_t(c.x) - b.x, fy = int64_t(c.y) - b.y;
        const int64_t turn = ex * fy - ey * fx;
        if (turn == 0) {
            if (ex * fx + ey * fy < 0) {
                return false; // the outline doubles back on itself
            }
        } else if (orientation == 0) {
            orientation = turn > 0 ? 1 : -1;
        } else if ((turn > 0 ? 1 : -1) != orientation) {
            return false;
        }
        if (ex != 0) {
            flipsX += (lastDx != 0 && (ex > 0) != (lastDx > 0)) ? 1 : 0;
            lastDx = ex;
            firstDx = firstDx != 0 ? firstDx : ex;
        }
        if (ey != 0) {
            flipsY += (lastDy != 0 && (ey > 0) != (lastDy > 0)) ? 1 : 0;
            lastDy = ey;
            firstDy = firstDy != 0 ? firstDy : ey;
        }
    }
    flipsX += (firstDx != 0 && (firstDx > 0) != (lastDx > 0)) ? 1 : 0; // closing the loop
    flipsY += (firstDy != 0 && (firstDy > 0) != (lastDy > 0)) ? 1 : 0;
    *sign = orientation;
    return orientation != 0 && flipsX <= 2 && flipsY <= 2;
}

void PolygonRows(const Vertex* v, int count, int height, int* first, int* last) {
    int64_t minY = v[0].y, maxY = v[0].y;
    for (int i = 1; i < count; ++i) {
        minY = std::min<int64_t>(minY, v[i].y);
        maxY = std::max<int64_t>(maxY, v[i].y);
    }
    // Row y's centre is 16y + 8 in 1/16 pixel.
    *first = int(std::max<int64_t>(-FloorDiv(-(minY - 8), 16), 0));
    *last = int(std::min<int64_t>(FloorDiv(maxY - 8, 16), height - 1));
}

uint64_t DrawPolygon(const Target& target, const PixelPath& path, const Vertex* v, int count,
                     const RowSet& rows) {
    if (count < 3 || count > maxPolygonVertices) {
        return 0;
    }
    int first, last;
    PolygonRows(v, count, target.height, &first, &last);
    if (std::max(first, rows.rowBegin) >= std::min(last + 1, rows.rowEnd)) {
        return 0; // another thread's rows, or off the screen: no set-up at all
    }
    // A flat, convex polygon blended additively is filled in one pass: its fan's
    // triangles would cover exactly the same pixels with the same colour (the top-left
    // rule gives each point to exactly one tile), in half the spans.
    if (path.additive && count > 3) {
        bool flat = true;
        for (int i = 1; i < count && flat; ++i) {
            flat = (path.constantRgb >= 0 ||
                    (v[i].r == v[0].r && v[i].g == v[0].g && v[i].b == v[0].b)) &&
                   (path.constantAlpha >= 0 || v[i].a == v[0].a);
        }
        const Vertex* corner[maxPolygonVertices];
        int corners = 0;
        for (int i = 0; i < count && flat; ++i) {
            const Vertex& next = v[(i + 1) % count];
            if (v[i].x != next.x || v[i].y != next.y) {
                corner[corners++] = &v[i];
            }
        }
        int64_t sign = 0;
        if (flat && corners >= 3 && IsConvex(corner, corners, &sign)) {
            Plane color[4];
            for (int c = 0; c < 3; ++c) {
                double value = path.constantRgb >= 0 ? double(path.constantRgb)
                               : c == 0              ? double(v[0].r)
                               : c == 1              ? double(v[0].g)
                                                     : double(v[0].b);
                color[c] = Plane{value, 0.0, 0.0};
            }
            color[3] = Plane{path.constantAlpha >= 0 ? double(path.constantAlpha) : double(v[0].a),
                             0.0, 0.0};
            return FillConvex(target, path, corner, corners, sign, color, Plane{0.0, 0.0, 0.0},
                              v[0].x / 16.0, v[0].y / 16.0, rows);
        }
    }
    uint64_t pixels = 0;
    for (int i = 1; i + 1 < count; ++i) {
        pixels += DrawTriangle(target, path, v[0], v[i], v[i + 1], rows);
    }
    return pixels;
}

} // namespace glide
