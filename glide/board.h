// What the software board offers beyond the Glide API: the reason for its last
// refusal, its drawing threads and its counters. Tests, benchmarks and the shell's
// diagnostics use it; the drawing code of the show never needs it.
#pragma once

#include <cstdint>

namespace glide {

// The reason the last refused call (grSstWinOpen, grLfbLock, ...) gave, or "".
const char* LastError();

// Threads that rasterise a frame, each taking bands of rows as it comes; the picture is
// the same for any count. 0 picks by the machine (and SOLVANE_GLIDE_THREADS);
// takes effect at the next grSstWinOpen.
void SetThreadCount(int threads);
int ThreadCount();

struct BoardCounters {
    uint64_t polygons; // polygons handed to the rasteriser
    uint64_t refused;  // polygons ignored: bad vertex count or position
    uint64_t pixels;   // covered pixels, before the depth test
    uint64_t frames;   // buffer swaps
    uint64_t presentNanoseconds; // processor time of the calling thread spent in the
                                 // presenter, handing pictures to the window
    uint64_t workerNanoseconds;  // processor time the rasteriser threads other than
                                 // the calling one spent drawing
};
BoardCounters Counters();
void ResetCounters();

// Draws everything queued so far; the next read of the buffers sees it.
void Flush();

} // namespace glide
