// Frames per second of the watch-only show, drawn headless and unpaced on the
// software board, at the start-up values (100 copies) and at 500 copies, and of
// the interactive options screen at rest.
#include "bench/show_content.h"
#include "effect/effect.h"
#include "effect/options.h"
#include "glide/board.h"
#include "glide/screen.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// Runs frames of the show and prints one line of figures.
void Measure(const char* label, int frames) {
    // Let the ripple reach every copy first, so every copy carries the fading colour.
    for (int i = 0; i < theEffect.CopyCount() + 5; ++i)
        OptionsFrame();
    glide::Flush();
    glide::ResetCounters();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        OptionsFrame();
    glide::Flush();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const glide::BoardCounters counters = glide::Counters();
    std::printf("%-22s %5d copies  %7.1f frames/s  %8.1f polygons/frame  %10.0f pixels/frame\n",
                label, theEffect.CopyCount(), frames / seconds,
                static_cast<double>(counters.polygons) / frames,
                static_cast<double>(counters.pixels) / frames);
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
    const char* archive = argc > 2 ? argv[2] : SOLVANE_DEFAULT_ARCHIVE;
    if (frames < 1 || !bench::OpenShow(archive))
        return 1;
    std::srand(1);
    if (!OptionsSetUp(true)) {
        std::fprintf(stderr, "the effect could not start (no data\\Square.lwo)\n");
        bench::CloseShow();
        return 1;
    }
    std::printf("%d x %d, %d frames each, drawing threads: %d\n", screen::width, screen::height,
                frames, glide::ThreadCount());
    Measure("start-up values", frames);
    theEffect.SetNum(500);
    Measure("start-up, 500 copies", frames);
    OptionsRelease();
    // The interactive screen: the effect in its narrower view under the options
    // scene, resting, without input.
    if (OptionsSetUp(false))
        Measure("interactive screen", frames);
    else
        std::printf("interactive screen: skipped, the options scene could not be loaded\n");
    OptionsRelease();
    bench::CloseShow();
    return 0;
}
