// Replays recorded Glide workloads headless and prints their speed:
//   glide_replay FILE|DIR [repeats] [PPM]
// A directory replays each of its .glt files in name order. Each workload is replayed
// repeats times a round (10 by default), five rounds, and the best round is printed:
// other work on the machine only ever slows a round down. With PPM (one file only), the
// last frame shown is also written there as a binary PPM picture. The files are
// recordings as described in glide/record.h (made with SOLVANE_GLIDE_RECORD=FILE or by
// glide_workloads).
#include "glide/board.h"
#include "glide/glide.h"
#include "glide/pixel.h"
#include "glide/record.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

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
                int r, g, b;
                ExpandPixel(row[x], &r, &g, &b);
                const uint8_t rgb[3] = {uint8_t(r), uint8_t(g), uint8_t(b)};
                std::fwrite(rgb, 1, 3, f);
            }
        }
        std::fclose(f);
    }
    grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER);
}

// Replays one recording and prints its figures; false when it cannot be read or the
// board refuses to open.
static bool ReplayFile(const std::string& path, int repeats, const char* picture) {
    ReplayScript script;
    std::string error;
    if (!LoadRecording(path.c_str(), &script, &error)) {
        std::fprintf(stderr, "glide_replay: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    if (script.truncated) {
        std::fprintf(stderr, "glide_replay: %s: %s, dropped\n", path.c_str(), error.c_str());
    }
    grGlideInit();
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR,
                      GR_ORIGIN_UPPER_LEFT, 2, 0)) {
        std::fprintf(stderr, "glide_replay: %s\n", LastError());
        grGlideShutdown();
        return false;
    }
    Replay(script); // warm-up
    Flush();
    const int rounds = 5;
    double best = 1e30;
    BoardCounters counters{};
    for (int round = 0; round < rounds; ++round) {
        ResetCounters();
        auto start = std::chrono::steady_clock::now();
        for (int r = 0; r < repeats; ++r) {
            Replay(script);
        }
        Flush();
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds < best) {
            best = seconds;
            counters = Counters();
        }
    }
    const int frames = std::max(1, script.frames) * repeats;
    const double polygons = double(counters.polygons) / frames;
    const double milliseconds = best * 1e3 / frames;
    std::printf("%s: %d frames a round, best of %d rounds, %d thread%s\n", path.c_str(), frames,
                rounds, ThreadCount(), ThreadCount() == 1 ? "" : "s");
    std::printf("  %.3f ms a frame\n", milliseconds);
    std::printf("  %.0f polygons a frame, %.3f us a polygon\n", polygons,
                polygons > 0 ? milliseconds * 1e3 / polygons : 0.0);
    std::printf("  %.0f pixels a frame, %.1f million pixels/s\n", double(counters.pixels) / frames,
                counters.pixels / best / 1e6);
    if (picture) {
        WritePicture(picture);
    }
    grGlideShutdown();
    return true;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: glide_replay FILE|DIR [repeats] [PPM]\n");
        return 2;
    }
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    std::vector<std::string> files;
    std::error_code failed;
    if (std::filesystem::is_directory(argv[1], failed)) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[1], failed)) {
            if (entry.path().extension() == ".glt") {
                files.push_back(entry.path().string());
            }
        }
        std::sort(files.begin(), files.end());
        if (files.empty()) {
            std::fprintf(stderr, "glide_replay: %s: no .glt files\n", argv[1]);
            return 1;
        }
    } else {
        files.push_back(argv[1]);
    }
    const char* picture = argc > 3 && files.size() == 1 ? argv[3] : nullptr;
    bool all = true;
    for (const std::string& file : files) {
        all = ReplayFile(file, repeats, picture) && all;
    }
    return all ? 0 : 1;
}
