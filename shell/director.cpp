// Frame pacing, show sequence and frame statistics.
#include "shell/director.h"

#include "effect/options.h"
#include "glide/board.h"
#include "shell/main_window.h"
#include "toolkit/report.h"
#include "shell/saver.h"

#include <cstdio>

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

void FormatProcessorUse(const char* label, uint64_t usedMs, uint32_t elapsedMs, char* text,
                        size_t size) {
    if (elapsedMs == 0) {
        std::snprintf(text, size, "%s: %llu ms, --- of one core", label,
                      static_cast<unsigned long long>(usedMs));
        return;
    }
    // Tenths of a per cent, rounded to nearest.
    uint64_t permille = (usedMs * 1000u * 2u + elapsedMs) / (2u * elapsedMs);
    std::snprintf(text, size, "%s: %llu ms, %llu.%llu %% of one core", label,
                  static_cast<unsigned long long>(usedMs),
                  static_cast<unsigned long long>(permille / 10u),
                  static_cast<unsigned long long>(permille % 10u));
}

void FrameStatistics::Run(unsigned flags) {
    if (flags & FrameStatsStart) {
        frameCount = 0;
        statsStart = clock();
        if (processor != nullptr)
            processorStart = processor();
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
        if (processor != nullptr) {
            ProcessorTime now = processor();
            char line[96];
            FormatProcessorUse("\nProcessor      ", now.totalMs - processorStart.totalMs, elapsed,
                               line, sizeof line);
            sink("%s", line);
            FormatProcessorUse("\nShow's threads ", now.showMs - processorStart.showMs, elapsed,
                               line, sizeof line);
            sink("%s", line);
            processorStart = now;
        }
        statsStart = clock();
        frameCount = 0;
    }
}

uint32_t FrameDirector::WaitMs(bool unpaced) const {
    uint32_t since = clock() - lastFrameTime;
    if (unpaced || since >= FramePeriodMs)
        return 0;
    return FramePeriodMs - since;
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

uint64_t Milliseconds(const FILETIME& time) {
    uint64_t units = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return units / 10000u; // 100 ns units
}

ProcessorTime ProgramProcessorTime() {
    ProcessorTime time = {0, 0};
    FILETIME creation, exit, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user))
        time.totalMs = Milliseconds(kernel) + Milliseconds(user);
    if (GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user)) {
        glide::BoardCounters board = glide::Counters();
        uint64_t guiNs = (Milliseconds(kernel) + Milliseconds(user)) * 1000000u;
        uint64_t presentNs = board.presentNanoseconds < guiNs ? board.presentNanoseconds : guiNs;
        time.showMs = (guiNs - presentNs + board.workerNanoseconds) / 1000000u;
    }
    return time;
}

FrameStatistics programStats(MultimediaTime, Trace, ProgramProcessorTime);
FrameDirector programDirector(MultimediaTime, DirectorShow{OptionsSetUp, OptionsFrame},
                              &programStats);
} // namespace

void FrameStats(unsigned flags) {
    programStats.Run(flags);
}

uint32_t DirectorWaitMs() {
    return programDirector.WaitMs(vtune == 1);
}

void Director() {
    bool watchOnly = screenSaver.mode != RunMode::Configure;
    if (programDirector.Step(vtune == 1, watchOnly) && mainWindow != nullptr)
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}
