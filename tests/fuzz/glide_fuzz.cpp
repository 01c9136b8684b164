// libFuzzer harness for the Glide recording reader and its replay on the headless board,
// less the calls that would spend the time filling pixels (see KeepCheapCalls).
#include "glide/board.h"
#include "glide/glide.h"
#include "glide/record.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr float screenWidth = 640.0f;
constexpr float screenHeight = 480.0f;
constexpr float largestPatch = 64.0f * 64.0f; // pixels of the screen a drawing call may touch
constexpr int mostClearsOrSwaps = 2;

// The screen area within the bounding box of the finite vertices; 0 when a
// vertex is not finite (the API decides what those draw).
float CoveredArea(const GrVertex* vertices, uint32_t count) {
    float left = screenWidth, top = screenHeight, right = 0.0f, bottom = 0.0f;
    for (uint32_t i = 0; i < count; ++i) {
        const float x = vertices[i].x, y = vertices[i].y;
        if (!std::isfinite(x) || !std::isfinite(y)) {
            return 0.0f;
        }
        left = std::fmin(left, std::fmax(x, 0.0f));
        right = std::fmax(right, std::fmin(x, screenWidth));
        top = std::fmin(top, std::fmax(y, 0.0f));
        bottom = std::fmax(bottom, std::fmin(y, screenHeight));
    }
    return right > left && bottom > top ? (right - left) * (bottom - top) : 0.0f;
}

// Drops drawing calls covering more than a small patch, and clears and swaps after the
// second; calls with non-finite vertices all stay.
void KeepCheapCalls(glide::ReplayScript& script) {
    int clears = 0, swaps = 0;
    size_t kept = 0;
    for (const glide::RecordedCall& call : script.calls) {
        bool keep = true;
        if (call.op == glide::Op::BufferClear) {
            keep = ++clears <= mostClearsOrSwaps;
        } else if (call.op == glide::Op::BufferSwap) {
            keep = ++swaps <= mostClearsOrSwaps;
        } else if (call.op == glide::Op::DrawTriangle || call.op == glide::Op::DrawPolygon) {
            keep = CoveredArea(script.vertices.data() + call.firstVertex, call.vertexCount) <=
                   largestPatch;
        }
        if (keep) {
            script.calls[kept++] = call;
        }
    }
    script.calls.resize(kept);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // One rasteriser thread: each input's time is its own work only.
    glide::SetThreadCount(1);
    grGlideInit();
    grSstSelect(0);
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                      GR_ORIGIN_UPPER_LEFT, 2, 1)) {
        std::abort();
    }
    // The board's worker threads must be stopped before static destruction.
    std::atexit([] {
        grSstWinClose();
        grGlideShutdown();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    glide::ReplayScript script;
    std::string error;
    if (!glide::ReadRecording(data, size, &script, &error)) {
        return 0;
    }
    KeepCheapCalls(script);
    glide::Replay(script);
    glide::Flush(); // this input's polygons are drawn within its own run
    // The next input starts from the board's opening state whatever this one set.
    grDepthBufferMode(GR_DEPTHBUFFER_DISABLE);
    grDepthBufferFunction(GR_CMP_LESS);
    grDepthMask(FXFALSE);
    grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ONE, GR_BLEND_ZERO);
    guAlphaSource(GR_ALPHASOURCE_ITERATED_ALPHA);
    guColorCombineFunction(GR_COLORCOMBINE_ITRGB);
    grDitherMode(GR_DITHER_4x4);
    return 0;
}
