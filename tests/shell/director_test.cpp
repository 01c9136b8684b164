#include "shell/director.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace {

uint32_t fakeNow = 0;
uint32_t FakeClock() {
    return fakeNow;
}

std::vector<std::string> traced;
void CaptureTrace(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    traced.push_back(line);
}

int setUpCalls = 0;
bool lastWatchOnly = false;
bool setUpResult = true;
int frameCalls = 0;
bool frameResult = true;

bool FakeSetUp(bool watchOnly) {
    ++setUpCalls;
    lastWatchOnly = watchOnly;
    return setUpResult;
}
bool FakeFrame() {
    ++frameCalls;
    return frameResult;
}

class DirectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = 100000;
        traced.clear();
        setUpCalls = frameCalls = 0;
        setUpResult = frameResult = true;
    }
    FrameStatistics stats{FakeClock, CaptureTrace};
    FrameDirector director{FakeClock, DirectorShow{FakeSetUp, FakeFrame}, &stats};
};

TEST_F(DirectorTest, AtMostOneFramePerFortyMillisecondsWithoutCatchingUp) {
    director.Step(false, true); // first frame
    fakeNow += 39;
    director.Step(false, true);
    EXPECT_EQ(director.framesMade, 1u) << "39 ms after the last frame start";
    fakeNow += 1;
    director.Step(false, true);
    EXPECT_EQ(director.framesMade, 2u) << "40 ms after the last frame start";
    // Calls every 10 ms for one second make 25 frames.
    for (int i = 0; i < 100; ++i) {
        fakeNow += 10;
        director.Step(false, true);
    }
    EXPECT_EQ(director.framesMade, 27u);
    EXPECT_EQ(stats.frameCount, 27u);
    fakeNow += 500; // a long frame is not made up
    director.Step(false, true);
    director.Step(false, true);
    EXPECT_EQ(director.framesMade, 28u);
    fakeNow = 0xFFFFFFF0u;
    director.Step(false, true);
    fakeNow = 0x00000010u; // 32 ms later across the wrap
    director.Step(false, true);
    EXPECT_EQ(director.framesMade, 29u);
    fakeNow = 0x00000018u; // 40 ms after the frame before the wrap
    director.Step(false, true);
    EXPECT_EQ(director.framesMade, 30u);
    // -vtune makes a frame on every call.
    director.Step(true, true);
    director.Step(true, true);
    EXPECT_EQ(director.framesMade, 32u);
}

TEST_F(DirectorTest, EmptyFirstFrameThenSetUpThenFramesUntilAndAfterQuit) {
    director.Step(true, false);
    EXPECT_EQ(setUpCalls, 0);
    EXPECT_EQ(frameCalls, 0);
    EXPECT_EQ(director.state, DirectorState::SetUp);
    director.Step(true, false);
    EXPECT_EQ(setUpCalls, 1);
    EXPECT_FALSE(lastWatchOnly);
    EXPECT_EQ(frameCalls, 0);
    EXPECT_EQ(director.state, DirectorState::Running);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(director.Step(true, false));
    EXPECT_EQ(setUpCalls, 1);
    EXPECT_EQ(frameCalls, 5);
    // A show that quits asks for close on every later frame.
    frameResult = false;
    EXPECT_TRUE(director.Step(true, false));
    EXPECT_TRUE(director.Step(true, false));
    EXPECT_EQ(director.state, DirectorState::Running);
    EXPECT_EQ(frameCalls, 7);
}

TEST_F(DirectorTest, FailedSetUpIdlesButStillCounts) {
    setUpResult = false;
    director.Step(true, true);
    director.Step(true, true);
    EXPECT_TRUE(lastWatchOnly);
    EXPECT_EQ(director.state, DirectorState::Idle);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(director.Step(true, true));
    EXPECT_EQ(frameCalls, 0);
    EXPECT_EQ(stats.frameCount, 5u);
}

TEST(FrameRate, ThreeCharacterText) {
    const struct {
        uint32_t rate;
        const char* text;
    } cases[] = {{0, "---"}, {5, " 05"}, {25, " 25"}, {120, "120"}, {999, "999"}, {5000, "999"}};
    for (const auto& c : cases) {
        char text[4];
        FormatFrameRate(c.rate, text);
        EXPECT_STREQ(text, c.text) << c.rate;
    }
}

TEST(FrameRate, WholeFramesPerSecond) {
    EXPECT_EQ(FrameRate(250, 10000), 25u);
    EXPECT_EQ(FrameRate(3, 10000), 0u);
    EXPECT_EQ(FrameRate(5000, 1000), 999u);
    EXPECT_EQ(FrameRate(10, 0), 0u) << "no elapsed time must not divide by zero";
    // frames × 1000 wraps in 32 bits: 4294968 × 1000 = 2^32 + 704.
    EXPECT_EQ(FrameRate(4294968u, 1), 704u);
}

TEST_F(DirectorTest, StatisticsReportLines) {
    stats.Run(FrameStatsStart);
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_EQ(traced[0], "** 100000 **\n");
    for (int i = 0; i < 250; ++i)
        stats.Run(FrameStatsCount);
    fakeNow += 10000;
    stats.Run(FrameStatsReport);
    ASSERT_EQ(traced.size(), 4u);
    EXPECT_EQ(traced[1], "Avg frame rate :  25 fps\n");
    EXPECT_EQ(traced[2], "Frames shown   : 250\n");
    EXPECT_EQ(traced[3], "Time shown     : 10000");
    // A second report measures from the end of the first.
    for (int i = 0; i < 3; ++i)
        stats.Run(FrameStatsCount);
    fakeNow += 10000;
    stats.Run(FrameStatsReport);
    EXPECT_EQ(traced[4], "Avg frame rate : --- fps\n");
    EXPECT_EQ(traced[5], "Frames shown   : 3\n");
    EXPECT_EQ(traced[6], "Time shown     : 10000");
    // A report right after another (0 ms) shows no rate instead of dividing by zero.
    stats.Run(FrameStatsCount);
    stats.Run(FrameStatsReport);
    EXPECT_EQ(traced[7], "Avg frame rate : --- fps\n");
}

} // namespace
