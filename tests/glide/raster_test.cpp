// The rasteriser's pixels: fill rule, sub-pixel positions, Gouraud ramps, blending,
// depth, dithering, and the fast span loops held to the reference loop.
#include "glide/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace glide;

namespace {

// A board-sized pair of buffers drawn into directly.
struct Canvas {
    std::vector<uint16_t> color, depth;
    Canvas(uint16_t fill = 0, uint16_t depthFill = 0xFFFF)
        : color(size_t(screenWidth) * screenHeight, fill),
          depth(size_t(screenWidth) * screenHeight, depthFill) {}
    Target target() {
        return Target{color.data(), depth.data(), screenWidth, screenHeight, screenWidth};
    }
    uint16_t at(int x, int y) const { return color[size_t(y) * screenWidth + x]; }
};

Vertex V(float x, float y, float r = 8, float g = 8, float b = 8, float a = 255, float w = 0.5f) {
    GrVertex in{};
    in.x = x, in.y = y, in.r = r, in.g = g, in.b = b, in.a = a, in.oow = w, in.ooz = w;
    Vertex out;
    EXPECT_TRUE(ConvertVertex(in, &out));
    return out;
}

PixelPath Path(int src, int dst, bool dither, int depthMode = GR_DEPTHBUFFER_DISABLE,
               int function = GR_CMP_LESS, bool mask = false) {
    BoardState s;
    s.srcRgb = src, s.dstRgb = dst, s.dither = dither ? GR_DITHER_4x4 : GR_DITHER_DISABLE;
    s.depthMode = depthMode, s.depthFunction = function, s.depthMask = mask;
    return ResolvePath(s);
}

const uint16_t eight = PackPixel(8, 8, 8, 0, 0, false); // 8 survives 565 exactly

// Draws the axis-aligned quad [x0, x1] × [y0, y1] in grey c at depth w.
void Rect(Canvas& canvas, const PixelPath& path, float x0, float y0, float x1, float y1,
          float c = 8, float w = 0.5f) {
    Vertex quad[4] = {V(x0, y0, c, c, c, 255, w), V(x1, y0, c, c, c, 255, w),
                      V(x1, y1, c, c, c, 255, w), V(x0, y1, c, c, c, 255, w)};
    DrawPolygon(canvas.target(), path, quad, 4, RowSet{});
}

// Pixels whose centres (x + 0.5, y + 0.5) lie in [x0, x1) × [y0, y1) are `inside`, the
// rest 0: the top-left rule on an axis-aligned rectangle.
void ExpectRect(const Canvas& c, float x0, float y0, float x1, float y1, uint16_t inside) {
    int wrong = 0;
    for (int y = 0; y < screenHeight; ++y) {
        for (int x = 0; x < screenWidth; ++x) {
            const float cx = x + 0.5f, cy = y + 0.5f;
            uint16_t want = cx >= x0 && cx < x1 && cy >= y0 && cy < y1 ? inside : 0;
            if (c.at(x, y) != want && ++wrong < 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << c.at(x, y) << " not "
                              << want;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

const Implementation everyImplementation[] = {Implementation::Reference, Implementation::Portable,
                                              Implementation::Avx2, Implementation::Avx512};

class Implementations : public ::testing::Test {
protected:
    void TearDown() override { SetImplementation(BestImplementation()); }
};

} // namespace

TEST_F(Implementations, SharedEdgesOfAFanAndAGridAreHitOnce) {
    for (Implementation impl : everyImplementation) {
        SetImplementation(impl);
        const PixelPath add = Path(GR_BLEND_ONE, GR_BLEND_ONE, false);
        // A fan of ten vertices on a rectangle's outline, corners included: every inner
        // diagonal is shared by two triangles. The alpha varies (and does not count under
        // ONE, ONE), so it is drawn triangle by triangle; the flat fill is held to its fan
        // below.
        Canvas fan;
        Vertex outline[10] = {V(100.25f, 50.5f),  V(180.0f, 50.5f),   V(300.75f, 50.5f),
                              V(300.75f, 120.1f), V(300.75f, 250.0f), V(220.3f, 250.0f),
                              V(100.25f, 250.0f), V(100.25f, 200.7f), V(100.25f, 90.0f),
                              V(100.25f, 60.0f)};
        for (int i = 0; i < 10; ++i) {
            outline[i].a = float(i * 25);
        }
        DrawPolygon(fan.target(), add, outline, 10, RowSet{});
        ExpectRect(fan, 100.25f, 50.5f, 300.75f, 250.0f, eight);

        // A grid of jittered triangles with random winding inside a fixed rectangle.
        Canvas grid;
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> jitter(-5.0f, 5.0f);
        const int n = 12;
        const float x0 = 20.5f, y0 = 30.0625f, size = 33.0f;
        Vertex points[n + 1][n + 1];
        for (int j = 0; j <= n; ++j) {
            for (int i = 0; i <= n; ++i) {
                bool inner = i > 0 && i < n && j > 0 && j < n;
                float x = x0 + i * size + (inner ? jitter(rng) : 0.0f);
                float y = y0 + j * size + (inner ? jitter(rng) : 0.0f);
                points[j][i] = V(std::round(x * 16) / 16, std::round(y * 16) / 16);
            }
        }
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                Vertex a = points[j][i], b = points[j][i + 1], c = points[j + 1][i + 1],
                       d = points[j + 1][i];
                Vertex t1[3] = {a, b, c}, t2[3] = {a, d, c}; // opposite windings
                DrawPolygon(grid.target(), add, t1, 3, RowSet{});
                DrawPolygon(grid.target(), add, t2, 3, RowSet{});
            }
        }
        ExpectRect(grid, x0, y0, x0 + n * size, y0 + n * size, eight);
    }
}

TEST(Raster, FlatAdditivePolygonsCoverWhatTheirFansCover) {
    // A flat additive polygon filled in one pass gives its fan's pixels, also when
    // corners repeat, lie in line, or make it non-convex or wind twice (a pentagram).
    std::mt19937 rng(21);
    auto u = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    for (int scene = 0; scene < 300; ++scene) {
        Canvas whole(0x2104), fan(0x2104);
        const PixelPath add =
            Path(rng() % 2 ? GR_BLEND_ONE : GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, rng() % 2 == 0);
        int count = scene % 6 == 5 ? 5 + 2 * int(rng() % 2) : 4 + int(rng() % 7);
        float cx = u(-50, 690), cy = u(-50, 530), radius = u(0.5f, 500), colour = u(0, 255);
        float alpha = u(0, 255);
        std::vector<Vertex> poly;
        for (int i = 0; i < count; ++i) {
            float angle = 6.2831853f * i * (scene % 6 == 5 ? 2 : 1) / count, r = radius;
            if (scene % 6 == 1) {
                r *= (i % 2) ? 0.4f : 1.0f; // a star
            }
            float x = cx + r * std::cos(angle), y = cy + r * std::sin(angle);
            if (scene % 6 == 2 && i > 0 && rng() % 3 == 0) {
                x = (poly.back().x / 16.0f), y = poly.back().y / 16.0f; // repeated corner
            }
            if (scene % 6 == 3 && i == 2) { // midpoint of the previous edge: collinear
                x = (poly[0].x + poly[1].x) / 32.0f, y = (poly[0].y + poly[1].y) / 32.0f;
            }
            poly.push_back(V(std::round(x * 16) / 16, std::round(y * 16) / 16, colour, colour / 2,
                             255 - colour, alpha));
        }
        if (scene % 6 == 3) { // move the midpoint between corners 0 and 1
            std::swap(poly[1], poly[2]);
        }
        if (scene % 6 == 4) {
            std::reverse(poly.begin(), poly.end());
        }
        DrawPolygon(whole.target(), add, poly.data(), count, RowSet{});
        for (int i = 1; i + 1 < count; ++i) {
            Vertex tri[3] = {poly[0], poly[size_t(i)], poly[size_t(i) + 1]};
            DrawPolygon(fan.target(), add, tri, 3, RowSet{});
        }
        ASSERT_EQ(whole.color, fan.color) << "scene " << scene;
    }
}

TEST(Raster, PositionsAreSnappedToSixteenthsOfAPixel) {
    // 10.53 and 5.52 snap down to 10.5 and 5.5 (centres on the edge: in); 20.47 and 7.47
    // snap to 20.4375 and 7.4375, which leave the centres 20.5 and 7.5 out.
    Canvas canvas;
    Rect(canvas, Path(GR_BLEND_ONE, GR_BLEND_ZERO, false), 10.53f, 5.52f, 20.47f, 7.47f);
    ExpectRect(canvas, 10.5f, 5.5f, 20.4375f, 7.4375f, eight);
}

namespace {

// A triangle's attribute at pixel centre (x + 0.5, y + 0.5): the plane through its
// three vertices, from their positions and values alone.
double PlaneAt(const Vertex v[3], const float value[3], int x, int y) {
    const double px = x + 0.5, py = y + 0.5;
    const double x0 = v[0].x / 16.0, y0 = v[0].y / 16.0, x1 = v[1].x / 16.0, y1 = v[1].y / 16.0,
                 x2 = v[2].x / 16.0, y2 = v[2].y / 16.0;
    const double area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    const double w1 = ((px - x0) * (y2 - y0) - (x2 - x0) * (py - y0)) / area;
    const double w2 = ((x1 - x0) * (py - y0) - (px - x0) * (y1 - y0)) / area;
    return value[0] + w1 * (value[1] - value[0]) + w2 * (value[2] - value[0]);
}

// The 8-bit channel the board shows for an interpolated value: its integer part held
// to 0..255. Values within 1/64 of a step may land on either side.
bool ChannelMatches(int shown, int bits, double value) {
    auto channel = [](double v) { return int(std::min(255.0, std::max(0.0, std::floor(v)))); };
    const int low = channel(value - 1.0 / 64) >> (8 - bits);
    const int high = channel(value + 1.0 / 64) >> (8 - bits);
    return shown >= low && shown <= high;
}

} // namespace

TEST_F(Implementations, ColourAndAlphaAreTheVertexValuesInterpolated) {
    // Random triangles, wide ones and slivers, show the planes through their vertex
    // values: opaque for colour, and in white under SRC_ALPHA, ZERO for alpha
    // ((255 * (alpha + 1)) >> 8 is alpha); the depth buffer marks what is covered.
    const PixelPath opaque =
        Path(GR_BLEND_ONE, GR_BLEND_ZERO, false, GR_DEPTHBUFFER_WBUFFER, GR_CMP_ALWAYS, true);
    const PixelPath alphaOnly =
        Path(GR_BLEND_SRC_ALPHA, GR_BLEND_ZERO, false, GR_DEPTHBUFFER_WBUFFER, GR_CMP_ALWAYS, true);
    for (Implementation impl : everyImplementation) {
        SetImplementation(impl);
        std::mt19937 rng(5);
        auto u = [&](float lo, float hi) {
            return std::uniform_real_distribution<float>(lo, hi)(rng);
        };
        int checked = 0;
        Canvas canvas;
        for (int t = 0; t < 300; ++t) {
            const float size = std::exp2(u(1, 9));
            const float cx = u(0, 640), cy = u(0, 480);
            const float thin = t % 2 ? u(0.005f, 0.1f) : 1.0f; // every other one a sliver
            const float angle = u(0, 6.2831853f);
            const float ca = std::cos(angle), sa = std::sin(angle);
            Vertex tri[3], white[3];
            float value[4][3]; // red, green, blue, alpha at each vertex
            for (int i = 0; i < 3; ++i) {
                const float along = u(-1, 1) * size, across = u(-1, 1) * size * thin;
                const float x = std::round((cx + along * ca - across * sa) * 16) / 16;
                const float y = std::round((cy + along * sa + across * ca) * 16) / 16;
                for (auto& channel : value) {
                    channel[i] = u(0, 255);
                }
                tri[i] = V(x, y, value[0][i], value[1][i], value[2][i], value[3][i]);
                white[i] = V(x, y, 255, 255, 255, value[3][i]);
            }
            for (int pass = 0; pass < 2; ++pass) {
                std::fill(canvas.depth.begin(), canvas.depth.end(), 0xFFFF);
                DrawPolygon(canvas.target(), pass == 0 ? opaque : alphaOnly,
                            pass == 0 ? tri : white, 3, RowSet{});
                int x0 = screenWidth, x1 = 0, y0 = screenHeight, y1 = 0; // bounding box
                for (const Vertex& v : tri) {
                    x0 = std::max(0, std::min(x0, v.x / 16 - 1));
                    x1 = std::min(screenWidth, std::max(x1, v.x / 16 + 2));
                    y0 = std::max(0, std::min(y0, v.y / 16 - 1));
                    y1 = std::min(screenHeight, std::max(y1, v.y / 16 + 2));
                }
                for (int y = y0; y < y1; ++y) {
                    for (int x = x0; x < x1; ++x) {
                        if (canvas.depth[size_t(y) * screenWidth + x] == 0xFFFF) {
                            continue; // not covered
                        }
                        const uint16_t p = canvas.at(x, y);
                        const double r = PlaneAt(tri, value[pass == 0 ? 0 : 3], x, y);
                        const double g = PlaneAt(tri, value[pass == 0 ? 1 : 3], x, y);
                        const double b = PlaneAt(tri, value[pass == 0 ? 2 : 3], x, y);
                        ASSERT_TRUE(ChannelMatches(p >> 11, 5, r) &&
                                    ChannelMatches((p >> 5) & 63, 6, g) &&
                                    ChannelMatches(p & 31, 5, b))
                            << (pass == 0 ? "colour " : "alpha ") << r << "," << g << "," << b
                            << " shown as " << std::hex << p << std::dec << " at " << x << "," << y
                            << ", triangle " << t << ", implementation " << int(impl);
                        ++checked;
                    }
                }
            }
        }
        EXPECT_GT(checked, 400000);
    }
}

TEST(Raster, BlendFactorsFollowTheirDefinitions) {
    // Source (255, 0, 255) over destination (0, 255, 255) at alpha 0 or 255: each factor
    // is 0 or 1, so a channel is 0, the source, the destination or their sum held at 255.
    // Without an alpha buffer destination alpha is 255, so ALPHA_SATURATE is empty.
    const struct {
        int src, dst, alpha, r, g, b;
    } cases[] = {
        {GR_BLEND_ONE, GR_BLEND_ZERO, 0, 255, 0, 255},
        {GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, 0, 0, 255, 255},
        {GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, 255, 255, 255, 255},
        {GR_BLEND_ONE, GR_BLEND_ONE, 0, 255, 255, 255},
        {GR_BLEND_SRC_ALPHA, GR_BLEND_ONE_MINUS_SRC_ALPHA, 0, 0, 255, 255},
        {GR_BLEND_SRC_ALPHA, GR_BLEND_ONE_MINUS_SRC_ALPHA, 255, 255, 0, 255},
        {GR_BLEND_ZERO, GR_BLEND_SRC_COLOR, 255, 0, 0, 255},
        {GR_BLEND_DST_COLOR, GR_BLEND_ZERO, 255, 0, 0, 255},
        {GR_BLEND_ALPHA_SATURATE, GR_BLEND_ONE, 255, 0, 255, 255},
    };
    for (const auto& c : cases) {
        Canvas canvas(PackPixel(0, 255, 255, 0, 0, false));
        const float a = float(c.alpha);
        Vertex tri[3] = {V(0, 0, 255, 0, 255, a), V(8, 0, 255, 0, 255, a), V(0, 8, 255, 0, 255, a)};
        DrawPolygon(canvas.target(), Path(c.src, c.dst, false), tri, 3, RowSet{});
        EXPECT_EQ(canvas.at(1, 1), PackPixel(c.r, c.g, c.b, 0, 0, false))
            << "factors " << c.src << "," << c.dst << " alpha " << c.alpha;
    }
    // Between the ends, (value * (factor + 1)) >> 8 per term: 200 at alpha 128 gives
    // 100, the destination 255 at 127 + 1 gives 127; 227 in all.
    Canvas canvas(PackPixel(255, 255, 255, 0, 0, false));
    Vertex tri[3] = {V(0, 0, 200, 200, 200, 128), V(8, 0, 200, 200, 200, 128),
                     V(0, 8, 200, 200, 200, 128)};
    DrawPolygon(canvas.target(), Path(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE_MINUS_SRC_ALPHA, false), tri,
                3, RowSet{});
    EXPECT_EQ(canvas.at(1, 1), PackPixel(227, 227, 227, 0, 0, false));
}

TEST(Raster, EveryDepthFunction) {
    struct Case {
        int function;
        bool passLess, passEqual, passGreater; // incoming nearer, equal, farther
    } cases[] = {{GR_CMP_NEVER, false, false, false},  {GR_CMP_LESS, true, false, false},
                 {GR_CMP_EQUAL, false, true, false},   {GR_CMP_LEQUAL, true, true, false},
                 {GR_CMP_GREATER, false, false, true}, {GR_CMP_NOTEQUAL, true, false, true},
                 {GR_CMP_GEQUAL, false, true, true},   {GR_CMP_ALWAYS, true, true, true}};
    const auto path = [](int function, bool mask) {
        return Path(GR_BLEND_ONE, GR_BLEND_ZERO, false, GR_DEPTHBUFFER_WBUFFER, function, mask);
    };
    for (const Case& c : cases) {
        for (int which = 0; which < 3; ++which) {
            // A quad at w = 1/4, then one at 1/2 (nearer), 1/4 (equal) or 1/8 (farther).
            Canvas canvas;
            const float w = which == 0 ? 0.5f : which == 1 ? 0.25f : 0.125f;
            Rect(canvas, path(GR_CMP_ALWAYS, true), 0, 0, 40, 40, 8, 0.25f);
            Rect(canvas, path(c.function, true), 0, 0, 40, 40, 64, w);
            bool pass = which == 0 ? c.passLess : which == 1 ? c.passEqual : c.passGreater;
            EXPECT_EQ(canvas.at(20, 20), pass ? PackPixel(64, 64, 64, 0, 0, false) : eight)
                << "function " << c.function << " case " << which;
            EXPECT_EQ(canvas.depth[20 * screenWidth + 20], WDepth(pass ? w : 0.25f));
        }
    }
    // Without the depth mask the colour is written and the depth is not.
    Canvas canvas;
    Rect(canvas, path(GR_CMP_LESS, false), 0, 0, 40, 40);
    EXPECT_EQ(canvas.at(10, 10), eight);
    EXPECT_EQ(canvas.depth[10 * screenWidth + 10], 0xFFFF);
}

// The board's depth from its definition, by integer arithmetic on f's fraction.
static uint32_t DepthByDefinition(double f) {
    if (f >= 1.0) {
        return 0;
    }
    if (f < 1.0 / 65536) {
        return 0xFFFF;
    }
    uint64_t fraction = uint64_t(std::ldexp(f, 32));
    int e = 0;
    while (!(fraction & (uint64_t(1) << (31 - e)))) {
        ++e;
    }
    uint32_t m = uint32_t(fraction >> (31 - e - 12)) & 0xFFF;
    return ((uint32_t(e) << 12) | (~m & 0xFFF)) + 1;
}

TEST(Raster, DepthValuesMatchTheirDefinitions) {
    // The ends the sweep below does not reach or the definition does not give.
    EXPECT_EQ(WDepth(7.5f), 0);
    EXPECT_EQ(WDepth(std::ldexp(1.0f, -16)), 0xFFFF); // the definition gives 0x10000
    EXPECT_EQ(WDepth(-0.25f), 0xFFFF);
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> exponent(-17.0f, 1.0f);
    for (int i = 0; i < 20000; ++i) {
        float f = std::exp2(exponent(rng));
        if (f != std::ldexp(1.0f, -16)) {
            ASSERT_EQ(WDepth(f), DepthByDefinition(f)) << f;
        }
    }
}

// Dithering rounds a flat colour v to a 565 level either side of v · 31 / 255 (red,
// blue) or v · 63 / 255 (green), each 4 × 4 block averaging v within a sixteenth of a
// level; the pattern belongs to the screen position, not to the polygon.
TEST(Raster, DitherAveragesEachFourByFourBlockToTheColour) {
    for (int v : {0, 4, 100, 133, 250, 255}) {
        SCOPED_TRACE(v);
        const PixelPath dither = Path(GR_BLEND_ONE, GR_BLEND_ZERO, true);
        Canvas canvas, shifted;
        Rect(canvas, dither, 0, 0, 8, 8, float(v));
        Rect(shifted, dither, 3, 1, 11, 9, float(v));
        const double level5 = v * 31 / 255.0, level6 = v * 63 / 255.0;
        for (int by = 0; by < 8; by += 4) {
            for (int bx = 0; bx < 8; bx += 4) {
                double sum5 = 0, sum6 = 0;
                for (int y = by; y < by + 4; ++y) {
                    for (int x = bx; x < bx + 4; ++x) {
                        const uint16_t p = canvas.at(x, y);
                        const int red = p >> 11, green = (p >> 5) & 63;
                        ASSERT_TRUE(std::fabs(red - level5) < 1 && std::fabs(green - level6) < 1 &&
                                    (p & 31) == red)
                            << std::hex << p << std::dec << " at " << x << "," << y;
                        sum5 += red;
                        sum6 += green;
                        if (x >= 3 && y >= 1) {
                            EXPECT_EQ(shifted.at(x, y), p) << x << "," << y;
                        }
                    }
                }
                EXPECT_NEAR(sum5 / 16, level5, 1.0 / 16);
                EXPECT_NEAR(sum6 / 16, level6, 1.0 / 16);
            }
        }
    }
}

TEST(Raster, HostileInputNeverWritesOutsideTheBuffers) {
    // The canvas is surrounded by guard rows: a stray write shows there (and to ASan).
    std::vector<uint16_t> color(size_t(screenWidth) * (screenHeight + 2), 0x1234);
    std::vector<uint16_t> depth(color.size(), 0x1234);
    Target t{color.data() + screenWidth, depth.data() + screenWidth, screenWidth, screenHeight,
             screenWidth};
    const PixelPath add = Path(GR_BLEND_ONE, GR_BLEND_ONE, true);
    Vertex huge[3] = {V(-900000, -900000), V(900000, -800000), V(0, 900000)};
    DrawPolygon(t, add, huge, 3, RowSet{});
    DrawPolygon(
        t, Path(GR_BLEND_ONE, GR_BLEND_ZERO, false, GR_DEPTHBUFFER_WBUFFER, GR_CMP_ALWAYS, true),
        huge, 3, RowSet{});
    EXPECT_NE(color[size_t(screenWidth) * 241 + 320], 0x1234); // the screen was covered
    Vertex sliver[3] = {V(-1000, 10.1f, 0, 0, 0), V(5000, 10.2f, 255, 255, 255), V(200, 10.15f)};
    DrawPolygon(t, add, sliver, 3, RowSet{});
    const size_t lastRow = size_t(screenWidth) * (screenHeight + 1);
    for (int x = 0; x < screenWidth; ++x) {
        ASSERT_EQ(color[x], 0x1234);
        ASSERT_EQ(color[lastRow + x], 0x1234);
        ASSERT_EQ(depth[x], 0x1234);
        ASSERT_EQ(depth[lastRow + x], 0x1234);
    }
}

// Random polygons in random states, drawn by each implementation: the fast loops
// must give the reference loop's pixels and depths exactly.
TEST_F(Implementations, FastLoopsMatchTheReference) {
    std::mt19937 rng(11);
    auto uniform = [&](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(rng);
    };
    const int factors[] = {0, 1, 2, 3, 4, 5, 6, 7, 0xF};
    for (int scene = 0; scene < 80; ++scene) {
        std::vector<PixelPath> paths;
        std::vector<std::vector<Vertex>> polygons;
        for (int p = 0; p < 40; ++p) {
            BoardState s;
            // Additive, opaque W-buffer, opaque Z-buffer, the blend states with loops
            // of their own (any depth mode), anything.
            int kind = rng() % 5;
            s.dither = rng() % 2 ? GR_DITHER_4x4 : GR_DITHER_DISABLE;
            s.depthFunction = int(rng() % 8);
            s.depthMask = rng() % 2;
            if (kind == 0) {
                s.srcRgb = rng() % 2 ? GR_BLEND_ONE : GR_BLEND_SRC_ALPHA;
                s.dstRgb = GR_BLEND_ONE;
            } else if (kind == 1) {
                s.depthMode = GR_DEPTHBUFFER_WBUFFER;
                if (rng() % 2) { // the options screen's state, which has a walk of its own
                    s.depthFunction = GR_CMP_LESS;
                    s.depthMask = true;
                    s.dither = GR_DITHER_4x4;
                }
            } else if (kind == 2) {
                s.depthMode = GR_DEPTHBUFFER_ZBUFFER;
            } else if (kind == 3) {
                s.depthMode = int(rng() % 3);
                s.srcRgb = rng() % 2 ? GR_BLEND_ONE : GR_BLEND_SRC_ALPHA;
                const int destinations[] = {GR_BLEND_ZERO, GR_BLEND_ONE,
                                            GR_BLEND_ONE_MINUS_SRC_ALPHA};
                s.dstRgb = destinations[rng() % 3];
            } else {
                s.depthMode = int(rng() % 3);
                s.srcRgb = factors[rng() % 9];
                s.dstRgb = factors[rng() % 9];
            }
            paths.push_back(ResolvePath(s));
            bool flat = kind == 0 && rng() % 4 != 0;
            int count = 3 + int(rng() % 8);
            float cx = uniform(-100, 740), cy = uniform(-100, 580),
                  radius = std::exp(uniform(-1, 6));
            float rgba[4];
            const auto shade = [&] {
                for (float& c : rgba) {
                    c = uniform(0, 255);
                }
            };
            shade();
            std::vector<Vertex> poly;
            for (int i = 0; i < count; ++i) {
                float angle = 6.2831853f * i / count + uniform(0, 0.3f);
                float x = std::round((cx + radius * std::cos(angle)) * 16) / 16;
                float y = std::round((cy + radius * std::sin(angle)) * 16) / 16;
                if (!flat) {
                    shade();
                }
                // ooz for the Z-buffer reaches past both ends of its range.
                const float depth = s.depthMode == GR_DEPTHBUFFER_ZBUFFER
                                        ? uniform(-2000.0f, 70000.0f)
                                        : uniform(0.00001f, 2.0f);
                poly.push_back(V(x, y, rgba[0], rgba[1], rgba[2], rgba[3], depth));
            }
            polygons.push_back(poly);
        }
        Canvas reference(0x3186, 0x8000);
        for (Implementation impl : everyImplementation) { // the reference comes first
            Canvas fast(0x3186, 0x8000);
            Canvas& canvas = impl == Implementation::Reference ? reference : fast;
            SetImplementation(impl);
            for (size_t p = 0; p < polygons.size(); ++p) {
                DrawPolygon(canvas.target(), paths[p], polygons[p].data(), int(polygons[p].size()),
                            RowSet{});
            }
            ASSERT_EQ(canvas.color, reference.color) << "scene " << scene << " impl " << int(impl);
            ASSERT_EQ(canvas.depth, reference.depth) << "scene " << scene << " impl " << int(impl);
        }
    }
}
