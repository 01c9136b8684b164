// Frame pacing, show sequence and frame statistics.
#include "shell/director.h"

#include "effect/options.h"
#include "shell/main_window.h"
#include "shell/report.h"
#include "shell/saver.h"

namespace {
// Frame start to frame start, milliseconds: 25 frames per second at most.
constexpr uint32_t FramePeriodMs = 40;

uint32_t MultimediaTime() {
    return static_cast<uint32_t>(timeGetTime());
}
} // namespace

uint32_t FrameRate(uint32_t frames, uint32_t elapsedMs) {
    if (elapsedMs == 0)
        return 0; // nothing measurable; the entry never reports this soon after a start
    uint32_t fps = frames * 1000u / elapsedMs;
    return fps > 999 ? 999 : fps;
}

void FormatFrameRate(uint32_t framesPerSecond, char text[4]) {
    if (framesPerSecond > 999)
        framesPerSecond = 999;
    if (framesPerSecond == 0) {
        text[0] = text[1] = text[2] = '-';
    } else {
        uint32_t hundreds = framesPerSecond / 100;
        text[0] = hundreds == 0 ? ' ' : static_cast<char>('0' + hundreds);
        text[1] = static_cast<char>('0' + framesPerSecond / 10 % 10);
        text[2] = static_cast<char>('0' + framesPerSecond % 10);
    }
    text[3] = 0;
}

void FrameStatistics::Run(unsigned flags) {
    if (flags & FrameStatsStart) {
        frameCount = 0;
        statsStart = clock();
        sink("** %ld **\n", static_cast<long>(clock()));
    }
    if (flags & FrameStatsCount)
        ++frameCount;
    if (flags & FrameStatsReport) {
        uint32_t elapsed = clock() - statsStart;
        char text[4];
        FormatFrameRate(FrameRate(frameCount, elapsed), text);
        sink("Avg frame rate : %s fps\n", text);
        sink("Frames shown   : %ld\n", static_cast<long>(frameCount));
        sink("Time shown     : %ld", static_cast<long>(elapsed));
        statsStart = clock();
        frameCount = 0;
    }
}

bool FrameDirector::Step(bool unpaced, bool watchOnly) {
    uint32_t now = clock();
    // Only the unsigned difference is used, so the timer's wrap-around is harmless.
    if (now - lastFrameTime < FramePeriodMs && !unpaced)
        return false;
    lastFrameTime = now;
    ++framesMade;
    if (stats != nullptr)
        stats->Run(FrameStatsCount);
    switch (state) {
    case DirectorState::Begin:
        state = DirectorState::SetUp; // the first frame draws nothing
        return false;
    case DirectorState::SetUp:
        state = show.setUp(watchOnly) ? DirectorState::Running : DirectorState::Idle;
        return false;
    case DirectorState::Running:
        return !show.frame();
    case DirectorState::Idle:
        return false;
    }
    return false;
}

namespace {
FrameStatistics programStats(MultimediaTime, Trace);
FrameDirector programDirector(MultimediaTime, DirectorShow{OptionsSetUp, OptionsFrame},
                              &programStats);
} // namespace

void FrameStats(unsigned flags) {
    programStats.Run(flags);
}

void Director() {
    bool watchOnly = screenSaver.mode != RunMode::Configure;
    if (programDirector.Step(vtune == 1, watchOnly) && mainWindow != nullptr)
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}
