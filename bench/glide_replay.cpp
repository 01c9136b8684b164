// Replays a recorded Glide workload headless and prints its speed:
//   glide_replay FILE [repeats] [PPM]
// With PPM, the last frame shown is also written there as a binary PPM picture.
// The file is one of the recordings described in glide/record.h (made with
// SOLVANE_GLIDE_RECORD=FILE or by glide_workloads).
#include "glide/board.h"
#include "glide/glide.h"
#include "glide/record.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace glide;

// The front buffer as a binary PPM, 8 bits a channel.
static void WritePicture(const char* path) {
    GrLfbInfo_t info{};
    info.size = sizeof info;
    if (!grLfbLock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER, GR_LFBWRITEMODE_ANY,
                   GR_ORIGIN_UPPER_LEFT, FXFALSE, &info)) {
        return;
    }
    std::FILE* f = std::fopen(path, "wb");
    if (f) {
        const int width = int(grSstScreenWidth()), height = int(grSstScreenHeight());
        std::fprintf(f, "P6\n%d %d\n255\n", width, height);
        for (int y = 0; y < height; ++y) {
            auto row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(info.lfbPtr) +
                                                         size_t(y) * info.strideInBytes);
            for (int x = 0; x < width; ++x) {
                uint8_t rgb[3] = {uint8_t((row[x] >> 11) << 3), uint8_t(((row[x] >> 5) & 63) << 2),
                                  uint8_t((row[x] & 31) << 3)};
                std::fwrite(rgb, 1, 3, f);
            }
        }
        std::fclose(f);
    }
    grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: glide_replay FILE [repeats] [PPM]\n");
        return 2;
    }
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    ReplayScript script;
    std::string error;
    if (!LoadRecording(argv[1], &script, &error)) {
        std::fprintf(stderr, "glide_replay: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    if (script.truncated) {
        std::fprintf(stderr, "glide_replay: %s: %s, dropped\n", argv[1], error.c_str());
    }
    grGlideInit();
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR,
                      GR_ORIGIN_UPPER_LEFT, 2, 0)) {
        std::fprintf(stderr, "glide_replay: %s\n", LastError());
        return 1;
    }
    Replay(script); // warm-up
    Flush();
    ResetCounters();
    auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < repeats; ++r) {
        Replay(script);
    }
    Flush();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    BoardCounters counters = Counters();
    const int frames = std::max(1, script.frames) * repeats;
    std::printf("%s: %d frames, %d thread%s\n", argv[1], frames, ThreadCount(),
                ThreadCount() == 1 ? "" : "s");
    std::printf("  %.2f ms a frame\n", seconds * 1e3 / frames);
    std::printf("  %.0f polygons a frame, %.2f million polygons/s\n",
                double(counters.polygons) / frames, counters.polygons / seconds / 1e6);
    std::printf("  %.0f pixels a frame, %.1f million pixels/s\n", double(counters.pixels) / frames,
                counters.pixels / seconds / 1e6);
    if (argc > 3) {
        WritePicture(argv[3]);
    }
    grGlideShutdown();
    return 0;
}
