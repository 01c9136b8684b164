// Soak run of the show: watch-only, then interactive with scripted mouse input.
// Memory must stay flat and the copies' matrices must keep their shape.
#include "bench/show_content.h"
#include "effect/effect.h"
#include "effect/mouse_input.h"
#include "effect/options.h"
#include "toolkit/memory.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

long ResidentKilobytes() {
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return -1;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
        resident = -1;
    std::fclose(f);
    return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

unsigned long ManagerTotal() {
    return allocator ? static_cast<unsigned long>(allocator->GetTotal()) : 0;
}

void Report(const char* when) {
    std::printf("  %-6s memory manager %8lu bytes, resident %8ld kB, %d copies\n", when,
                ManagerTotal(), ResidentKilobytes(), theEffect.CopyCount());
}

// How far the first copy's axes have strayed from unit length once its scale is
// taken out: the accumulated spin must stay a rotation.
void ReportShape() {
    if (!theEffect.instances.First())
        return;
    const EffectInstance& copy = *static_cast<EffectInstance*>(theEffect.instances.Current());
    const float scale[3] = {copy.record.PScaleX, copy.record.PScaleY, 1.0f};
    double worst = 0.0;
    for (int c = 0; c < 3; ++c) {
        double sum = 0.0;
        for (int r = 0; r < 3; ++r)
            sum += static_cast<double>(copy.matrix.m[r][c]) * copy.matrix.m[r][c];
        worst = std::fmax(worst, std::fabs(std::sqrt(sum) / scale[c] - 1.0));
    }
    std::printf("  first copy's axes stray from their scale by at most %.2e\n", worst);
}

// A small generator of its own, so the script does not disturb the show's rand().
uint32_t scriptState = 2463534242u;
int32_t ScriptRandom(int32_t range) {
    scriptState ^= scriptState << 13;
    scriptState ^= scriptState >> 17;
    scriptState ^= scriptState << 5;
    return static_cast<int32_t>(scriptState % static_cast<uint32_t>(range));
}

// Mouse input of frame i: wandering moves, now and then a press of the left
// button (sometimes with the right one) held for a while with vertical drags.
void ScriptInput(int i) {
    mouseDeltaX += ScriptRandom(41) - 20;
    mouseDeltaY += ScriptRandom(41) - 20;
    const int phase = i % 60;
    if (phase == 0)
        mouseButtons = ScriptRandom(4) == 0 ? 3u : 1u;
    else if (phase == 25)
        mouseButtons = 0;
}

double Run(int frames, bool scripted, int* quits) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        if (scripted)
            ScriptInput(i);
        if (!OptionsFrame())
            ++*quits; // the program would close here; the soak goes on
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 100000;
    const char* archive = argc > 2 ? argv[2] : SOLVANE_DEFAULT_ARCHIVE;
    if (frames < 1 || !bench::OpenShow(archive))
        return 1;
    std::srand(1);
    int status = 0;

    std::printf("watch-only show, %d frames\n", frames);
    if (OptionsSetUp(true)) {
        int quits = 0;
        Run(200, false, &quits);
        Report("start");
        const double seconds = Run(frames, false, &quits);
        Report("end");
        ReportShape();
        std::printf("  %.1f frames/s\n", frames / seconds);
    } else {
        std::printf("  the effect could not start\n");
        status = 1;
    }
    OptionsRelease();

    std::printf("interactive screen with scripted input, %d frames\n", frames);
    if (OptionsSetUp(false)) {
        int quits = 0;
        Run(200, true, &quits);
        Report("start");
        const double seconds = Run(frames, true, &quits);
        Report("end");
        ReportShape();
        std::printf("  %.1f frames/s, Quit pressed on %d frames\n", frames / seconds, quits);
    } else {
        std::printf("  skipped: the options scene could not be loaded\n");
    }
    OptionsRelease();
    bench::CloseShow();
    return status;
}
