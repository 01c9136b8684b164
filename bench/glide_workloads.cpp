// Makes the recorded workloads of bench/workloads/ by drawing through the board with
// the call recorder on:
//   glide_workloads DIR [ARCHIVE]
// Synthetic ones, drawn here:
//   additive-quads.glt   frames of many large overlapping flat quads blended
//                        SRC_ALPHA, ONE without depth, as the effect draws its copies
//   opaque-wbuffer.glt   frames of lit Gouraud tori and spheres, opaque and W-buffered
// and the show's own frames, drawn by the effect and the options screen from ARCHIVE
// (the built slv.dat by default; skipped with a note when it cannot be read):
//   saver-500.glt        the watch-only saver at 500 copies, once the ripple has
//                        reached every copy
//   options-rest.glt     the interactive options screen at rest, no input
//   options-about.glt    the options screen through the About stretch, from the
//                        press to the card's hold: every fourth of the scene's
//                        frames 0 to 39
// The show is started with the random generator seeded with 1, so the same content
// gives the same files.
#include "bench/show_content.h"
#include "effect/effect.h"
#include "effect/options.h"
#include "glide/board.h"
#include "glide/glide.h"
#include "glide/record.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr float focal = 400.0f; // pixels per unit at distance 1

struct Point {
    float x, y, z;
};

// View space (x right, y up, z into the screen) to a board vertex, snapped to 1/16.
GrVertex Project(Point p, float r, float g, float b, float a) {
    GrVertex v{};
    v.x = std::round((320.0f + focal * p.x / p.z) * 16.0f) / 16.0f;
    v.y = std::round((240.0f - focal * p.y / p.z) * 16.0f) / 16.0f;
    v.r = r, v.g = g, v.b = b, v.a = a;
    v.oow = 1.0f / p.z;
    return v;
}

Point Rotate(Point p, float ax, float ay, float az) {
    float c = std::cos(ax), s = std::sin(ax);
    p = {p.x, p.y * c - p.z * s, p.y * s + p.z * c};
    c = std::cos(ay), s = std::sin(ay);
    p = {p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
    c = std::cos(az), s = std::sin(az);
    return {p.x * c - p.y * s, p.x * s + p.y * c, p.z};
}

void AdditiveQuads() {
    const int copies = 250;
    for (int frame = 0; frame < 3; ++frame) {
        grBufferClear(0, 0, 0xFFFF);
        grDepthMask(FXFALSE);
        grDepthBufferMode(GR_DEPTHBUFFER_DISABLE);
        guAlphaSource(GR_ALPHASOURCE_ITERATED_ALPHA);
        grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
        const float hue[3] = {40.0f + 60 * frame, 90.0f, 200.0f - 50 * frame};
        for (int k = 0; k < copies; ++k) {
            float t = float(k) / copies;
            float turn = 0.05f * k + 0.3f * frame;
            Point centre = {0.6f * std::cos(turn * 0.7f), 0.5f * std::sin(turn), 4.0f + 2.0f * t};
            GrVertex quad[4];
            const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            for (int i = 0; i < 4; ++i) {
                Point p = Rotate({corner[i][0] * 1.1f, corner[i][1] * 1.1f, 0},
                                 0.4f * std::sin(turn), 0.3f * std::cos(turn), turn);
                quad[i] = Project({p.x + centre.x, p.y + centre.y, p.z + centre.z}, hue[0], hue[1],
                                  hue[2], 10.0f + 4.0f * frame);
            }
            grDrawPolygonVertexList(4, quad);
        }
        grBufferSwap(1);
    }
}

// A lit mesh of rows × columns quads on a parametric surface.
template <class Surface>
void DrawMesh(int rows, int columns, Surface surface, const float colour[3], Point light) {
    std::vector<Point> points((rows + 1) * (columns + 1)), normals(points.size());
    for (int i = 0; i <= rows; ++i) {
        for (int j = 0; j <= columns; ++j) {
            surface(float(i) / rows, float(j) / columns, &points[i * (columns + 1) + j],
                    &normals[i * (columns + 1) + j]);
        }
    }
    auto vertex = [&](int i, int j) {
        const Point& p = points[i * (columns + 1) + j];
        const Point& n = normals[i * (columns + 1) + j];
        float lambert = std::max(0.0f, n.x * light.x + n.y * light.y + n.z * light.z);
        float shade = 0.25f + 0.75f * lambert;
        return Project(p, std::floor(colour[0] * shade), std::floor(colour[1] * shade),
                       std::floor(colour[2] * shade), 255);
    };
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            GrVertex quad[4] = {vertex(i, j), vertex(i, j + 1), vertex(i + 1, j + 1),
                                vertex(i + 1, j)};
            grDrawPolygonVertexList(4, quad);
        }
    }
}

void OpaqueWBuffer() {
    const Point light = {0.48f, 0.64f, -0.6f}; // unit vector towards the light
    for (int frame = 0; frame < 2; ++frame) {
        grDepthMask(FXTRUE);
        grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
        grDepthBufferFunction(GR_CMP_LESS);
        grBufferClear(0, 0, 0xFFFF);
        grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ZERO, GR_BLEND_ZERO);
        guColorCombineFunction(GR_COLORCOMBINE_ITRGB);
        const float spin = 0.4f + 0.25f * frame;
        const float gold[3] = {230, 180, 60}, blue[3] = {60, 120, 230}, red[3] = {220, 40, 40};
        for (int object = 0; object < 3; ++object) {
            Point at = {-1.5f + 1.5f * object, 0.2f * object - 0.2f, 3.2f + 0.4f * object};
            const float* colour = object == 0 ? gold : object == 1 ? blue : red;
            if (object == 1) { // sphere
                DrawMesh(
                    10, 16,
                    [&](float u, float v, Point* p, Point* n) {
                        float th = u * 3.14159265f, ph = v * 6.2831853f;
                        Point d = Rotate({std::sin(th) * std::cos(ph), std::cos(th),
                                          std::sin(th) * std::sin(ph)},
                                         spin, spin * 0.5f, 0);
                        *n = d;
                        *p = {at.x + 1.0f * d.x, at.y + 1.0f * d.y, at.z + 1.0f * d.z};
                    },
                    colour, light);
            } else { // torus
                DrawMesh(
                    12, 20,
                    [&](float u, float v, Point* p, Point* n) {
                        float a = u * 6.2831853f, b = v * 6.2831853f;
                        Point d = {std::cos(b) * std::cos(a), std::sin(a),
                                   std::sin(b) * std::cos(a)};
                        Point q = {std::cos(b) * (1.0f + 0.35f * std::cos(a)), 0.35f * std::sin(a),
                                   std::sin(b) * (1.0f + 0.35f * std::cos(a))};
                        d = Rotate(d, spin + object, spin, 0.3f);
                        q = Rotate(q, spin + object, spin, 0.3f);
                        *n = d;
                        *p = {at.x + q.x, at.y + q.y, at.z + q.z};
                    },
                    colour, light);
            }
        }
        grBufferSwap(1);
    }
}

void PrintCounters(const std::string& path, const glide::BoardCounters& counters) {
    std::printf("%s: %llu polygons, %llu pixels, %llu frames\n", path.c_str(),
                (unsigned long long)counters.polygons, (unsigned long long)counters.pixels,
                (unsigned long long)counters.frames);
}

bool Make(const std::string& path, void (*draw)()) {
    grGlideInit();
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR,
                      GR_ORIGIN_UPPER_LEFT, 2, 0) ||
        !glide::StartRecording(path.c_str())) {
        std::fprintf(stderr, "glide_workloads: %s: %s\n", path.c_str(), glide::LastError());
        return false;
    }
    draw();
    glide::StopRecording();
    glide::Flush();
    PrintCounters(path, glide::Counters());
    grGlideShutdown();
    glide::ResetCounters();
    return true;
}

// Appends the records of the recording at part (its header skipped) to path and
// removes part.
bool AppendRecords(const std::string& path, const std::string& part) {
    std::FILE* in = std::fopen(part.c_str(), "rb");
    std::FILE* out = std::fopen(path.c_str(), "ab");
    bool ok = in && out && std::fseek(in, 8, SEEK_SET) == 0; // "SGLT", u32 version
    char buffer[65536];
    for (size_t n; ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
        ok = std::fwrite(buffer, 1, n, out) == n;
    }
    ok = (!out || std::fclose(out) == 0) && ok;
    if (in) {
        std::fclose(in);
    }
    std::remove(part.c_str());
    return ok;
}

// One of the show's workloads: sets the show up (watch-only or interactive), calls
// prepare, runs settle frames unrecorded, calls start, then runs frames and records
// every one of them, or one in every. The recording opens with the depth state the
// show set up, so it replays alone.
bool RecordShow(const std::string& path, bool watchOnly, void (*prepare)(), int settle,
                void (*start)(), int frames, int every = 1) {
    std::srand(1);
    if (!OptionsSetUp(watchOnly)) {
        std::fprintf(stderr, "glide_workloads: %s: the %s could not be set up, skipped\n",
                     path.c_str(), watchOnly ? "effect" : "options screen");
        OptionsRelease();
        return true; // missing content is not a failure of the tool
    }
    if (prepare) {
        prepare();
    }
    for (int i = 0; i < settle; ++i) {
        OptionsFrame();
    }
    if (start) {
        start();
    }
    glide::Flush();
    glide::ResetCounters();
    if (!glide::StartRecording(path.c_str())) {
        std::fprintf(stderr, "glide_workloads: %s: %s\n", path.c_str(), glide::LastError());
        OptionsRelease();
        return false;
    }
    grDepthBufferMode(watchOnly ? GR_DEPTHBUFFER_DISABLE : GR_DEPTHBUFFER_WBUFFER);
    grDepthBufferFunction(GR_CMP_LESS);
    grDepthMask(watchOnly ? FXFALSE : FXTRUE);
    glide::StopRecording();
    const std::string part = path + ".part";
    glide::BoardCounters recorded{}; // of the recorded frames only
    bool ok = true;
    for (int i = 0; i < frames && ok; ++i) {
        if (every > 1 && (i + 1) % every != 0) {
            OptionsFrame();
            continue;
        }
        if (!glide::StartRecording(part.c_str())) {
            std::fprintf(stderr, "glide_workloads: %s: %s\n", part.c_str(), glide::LastError());
            ok = false;
            break;
        }
        const glide::BoardCounters before = glide::Counters();
        OptionsFrame(); // its swap draws it
        const glide::BoardCounters after = glide::Counters();
        recorded.polygons += after.polygons - before.polygons;
        recorded.pixels += after.pixels - before.pixels;
        recorded.frames += after.frames - before.frames;
        glide::StopRecording();
        ok = AppendRecords(path, part);
    }
    PrintCounters(path, recorded);
    OptionsRelease();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: glide_workloads DIR [ARCHIVE]\n");
        return 2;
    }
    const std::string dir = argv[1];
    if (!Make(dir + "/additive-quads.glt", AdditiveQuads) ||
        !Make(dir + "/opaque-wbuffer.glt", OpaqueWBuffer)) {
        return 1;
    }
    const char* archive = argc > 2 ? argv[2] : SOLVANE_DEFAULT_ARCHIVE;
    if (!bench::OpenShow(archive)) {
        return 1;
    }
    // The saver at 500 copies: the ripple takes one frame a copy to reach the last.
    bool made = RecordShow(
        dir + "/saver-500.glt", true, [] { theEffect.SetNum(500); }, 520, nullptr, 4);
    // The options screen at rest: the start-up values' 100 copies settled.
    made = made && RecordShow(dir + "/options-rest.glt", false, nullptr, 120, nullptr, 2);
    // About as if pressed at rest: the press is acted on at the end of the first frame,
    // then the scene plays its frames 0 to 39 and holds the card.
    made = made && RecordShow(dir + "/options-about.glt", false, nullptr, 120,
                              [] { showMode = ShowMode::AboutStart; }, 41, 4);
    bench::CloseShow();
    return made ? 0 : 1;
}
