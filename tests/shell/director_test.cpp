#include "shell/director.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

uint32_t fakeNow = 0;
std::vector<std::string> traced;
int setUpCalls = 0, frameCalls = 0;
bool lastWatchOnly = false, setUpResult = true, frameResult = true;

uint32_t FakeClock() {
    return fakeNow;
}
void CaptureTrace(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    traced.push_back(line);
}
const DirectorShow fakeShow{
    [](bool watchOnly) { return ++setUpCalls, lastWatchOnly = watchOnly, setUpResult; },
    []() { return ++frameCalls, frameResult; }};

class DirectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = 100000;
        traced.clear();
        setUpCalls = frameCalls = 0;
        setUpResult = frameResult = true;
    }
    FrameStatistics stats{FakeClock, CaptureTrace};
    FrameDirector director{FakeClock, fakeShow, &stats};
};

TEST_F(DirectorTest, AtMostOneFramePerFortyMillisecondsWithoutCatchingUp) {
    auto stepAt = [this](uint32_t now, bool unpaced = false) {
        fakeNow = now;
        director.Step(unpaced, true);
        return director.framesMade;
    };
    EXPECT_EQ(stepAt(100000), 1u);
    EXPECT_EQ(stepAt(100039), 1u) << "39 ms after the last frame start";
    EXPECT_EQ(stepAt(100040), 2u) << "40 ms after the last frame start";
    for (int i = 1; i <= 100; ++i) // calls every 10 ms for one second make 25 frames
        stepAt(100040 + 10 * i);
    EXPECT_EQ(stats.frameCount, 27u);
    stepAt(0xFFFFFFF0u);
    EXPECT_EQ(stepAt(0x10u), 28u) << "32 ms later across the wrap";
    EXPECT_EQ(stepAt(0x18u), 29u) << "40 ms after the frame before the wrap";
    stepAt(0x18u, true);
    EXPECT_EQ(stepAt(0x18u, true), 31u) << "-vtune makes a frame on every call";
}

// The loop sleeps for the rest of the 40 ms; nothing when due, late or unpaced.
TEST_F(DirectorTest, WaitIsTheRestOfTheFramePeriod) {
    fakeNow = 100000;
    EXPECT_EQ(director.WaitMs(false), 0u) << "before the first frame";
    director.Step(false, true);
    fakeNow = 100015;
    EXPECT_EQ(director.WaitMs(false), 25u);
    EXPECT_EQ(director.WaitMs(true), 0u);
    fakeNow = 100900;
    EXPECT_EQ(director.WaitMs(false), 0u) << "late";
}

// The processor time since the start as a share of one core: to one decimal, "---" over no time.
TEST_F(DirectorTest, ProcessorUseIsReportedAsAShareOfOneCore) {
    static ProcessorTime processor;
    processor = {1000, 700};
    FrameStatistics measured{FakeClock, CaptureTrace, []() { return processor; }};
    fakeNow = 100000;
    measured.Run(FrameStatsStart);
    processor = {1000 + 500, 700 + 200}; // 500 ms in 20 s
    fakeNow = 120000;
    traced.clear();
    measured.Run(FrameStatsReport);
    std::string report;
    for (const std::string& part : traced)
        report += part;
    EXPECT_NE(report.find("\nProcessor      : 500 ms, 2.5 % of one core"), std::string::npos)
        << report;

    char line[64];
    FormatProcessorUse("x", 2, 3, line, sizeof line); // 66.67 % rounds to 66.7
    EXPECT_STREQ(line, "x: 2 ms, 66.7 % of one core");
    FormatProcessorUse("x", 5, 0, line, sizeof line);
    EXPECT_STREQ(line, "x: 5 ms, --- of one core");
}

// An empty first frame, set-up once, then frames until and after a quit; a failed set-up idles.
TEST_F(DirectorTest, EmptyFirstFrameThenSetUpThenFramesUntilAndAfterQuit) {
    director.Step(true, false);
    EXPECT_EQ(setUpCalls + frameCalls, 0);
    director.Step(true, false);
    EXPECT_EQ(std::make_pair(setUpCalls, frameCalls), std::make_pair(1, 0));
    EXPECT_FALSE(lastWatchOnly);
    EXPECT_FALSE(director.Step(true, false));
    frameResult = false;
    EXPECT_TRUE(director.Step(true, false) && director.Step(true, false));
    EXPECT_EQ(std::make_pair(setUpCalls, frameCalls), std::make_pair(1, 3));

    FrameStatistics idleStats{FakeClock, CaptureTrace};
    FrameDirector idle{FakeClock, fakeShow, &idleStats};
    setUpResult = false;
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(idle.Step(true, true));
    EXPECT_TRUE(lastWatchOnly);
    EXPECT_EQ(std::make_pair(setUpCalls, frameCalls), std::make_pair(2, 3));
    EXPECT_EQ(idleStats.frameCount, 3u);
}

TEST(FrameRate, ThreeCharacterTextAndWholeFramesPerSecond) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "---"}, {5, " 05"}, {120, "120"}, {5000, "999"}};
    for (const auto& c : cases) {
        char text[4];
        FormatFrameRate(c.first, text);
        EXPECT_STREQ(text, c.second) << c.first;
    }
    EXPECT_EQ(FrameRate(5000, 1000), 999u);
}

// Reports of 250 frames in 10 s and of one right after (no time, no rate).
TEST_F(DirectorTest, StatisticsReportLines) {
    stats.Run(FrameStatsStart);
    for (uint32_t frames : {250, 1}) {
        for (uint32_t i = 0; i < frames; ++i)
            stats.Run(FrameStatsCount);
        fakeNow += frames > 1 ? 10000 : 0;
        stats.Run(FrameStatsReport);
    }
    const std::vector<std::string> expected = {
        "** 100000 **\n",         "Avg frame rate :  25 fps\n", "Frames shown   : 250\n",
        "Time shown     : 10000", "Avg frame rate : --- fps\n", "Frames shown   : 1\n",
        "Time shown     : 0"};
    EXPECT_EQ(traced, expected);
}

} // namespace
