// The director: paces the show to at most one frame per 40 ms and runs its
// sequence (an empty first frame, the options screen's set-up, then one options
// frame per frame); and the frame statistics it feeds. Both read time through an
// injected millisecond clock so that they can be driven without a timer.
#pragma once

#include <cstddef>
#include <cstdint>

// A millisecond clock that wraps at 2^32 (the multimedia timer's contract).
using MillisecondClock = uint32_t (*)();

// The diagnostic sink the statistics write to (Trace in the program).
using TraceSink = void (*)(const char* format, ...);

// Bits of FrameStats' flags, handled in this order when combined.
enum FrameStatsFlags : unsigned { FrameStatsStart = 1, FrameStatsCount = 2, FrameStatsReport = 4 };

// Processor time used so far, in milliseconds: by the whole process, and by
// the show's own threads (the GUI thread less its handing of pictures to the
// window, and the rasteriser's threads). The difference is the window system's
// share: presenting, and the threads a graphics driver may run for it.
struct ProcessorTime {
    uint64_t totalMs;
    uint64_t showMs;
};
using ProcessorClock = ProcessorTime (*)();

// Average frame rate between a start and a report; with a processor clock the
// report adds the processor time used over the same span and its share of one
// core.
class FrameStatistics {
public:
    FrameStatistics(MillisecondClock clock, TraceSink sink, ProcessorClock processor = nullptr)
        : clock(clock), sink(sink), processor(processor) {}
    void Run(unsigned flags);

    uint32_t frameCount = 0; // frames counted since the last start or report
    uint32_t statsStart = 0; // clock value at the last start or report

private:
    MillisecondClock clock;
    TraceSink sink;
    ProcessorClock processor;
    ProcessorTime processorStart = {0, 0};
};

// One report line of processor use: "label : N ms, P.P % of one core" over
// elapsedMs of wall time ("---" for the share when no time passed). text gets at
// most size bytes with the terminator.
void FormatProcessorUse(const char* label, uint64_t usedMs, uint32_t elapsedMs, char* text,
                        size_t size);

// The three-character rate text: "---" for 0, else three digits with a
// hundreds digit 0 shown as a blank (5 gives " 05", 25 gives " 25"); rates above 999
// show as 999. text gets 4 bytes with the terminator.
void FormatFrameRate(uint32_t framesPerSecond, char text[4]);

// Frames per second as whole numbers: frames × 1000 / elapsed in 32-bit
// unsigned arithmetic (the product wraps), at most 999; 0 when no time passed.
uint32_t FrameRate(uint32_t frames, uint32_t elapsedMs);

enum class DirectorState : int16_t { Begin, SetUp, Running, Idle };

// What the director runs: the options screen's set-up and frame.
struct DirectorShow {
    bool (*setUp)(bool watchOnly);
    bool (*frame)(); // false when the user asked to leave
};

class FrameDirector {
public:
    FrameDirector(MillisecondClock clock, DirectorShow show, FrameStatistics* stats)
        : clock(clock), show(show), stats(stats) {}

    // One call of the message loop's idle step. unpaced makes a frame on every
    // call; watchOnly is passed to the set-up. Returns true when the show asked
    // to close the window on this frame (again on every later frame).
    bool Step(bool unpaced, bool watchOnly);
    // Milliseconds until Step would make the next frame; 0 when one is due now
    // or unpaced. The message loop sleeps this long unless a message comes.
    uint32_t WaitMs(bool unpaced) const;

    DirectorState state = DirectorState::Begin;
    uint32_t lastFrameTime = 0; // clock at the start of the last frame; 0 at start
    uint32_t framesMade = 0;    // frames started, for tests and diagnostics

private:
    MillisecondClock clock;
    DirectorShow show;
    FrameStatistics* stats;
};

// The program's statistics and director: timeGetTime, Trace, the options screen.
void FrameStats(unsigned flags);
// Posts WM_CLOSE to mainWindow when the options screen asks to leave.
void Director();
// The program director's WaitMs under the program's pacing ("-vtune" or not).
uint32_t DirectorWaitMs();
