// The board through the Glide API: opening, clearing, swapping, locking, threads and
// the call recorder.
#include "glide/board.h"
#include "glide/glide.h"
#include "glide/presenter.h"
#include "glide/raster.h"
#include "glide/record.h"
#include "tests/support/board_pixels.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace glide;
using testsupport::ReadBackBuffer;

namespace {

bool Open() {
    grGlideInit();
    GrHwConfiguration hw;
    if (!grSstQueryHardware(&hw)) {
        return false;
    }
    grSstSelect(0);
    return grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR,
                        GR_ORIGIN_UPPER_LEFT, 2, 0) != FXFALSE;
}

GrVertex Gv(float x, float y, float r, float g, float b, float a = 255, float oow = 0.5f) {
    GrVertex v{};
    v.x = x, v.y = y, v.r = r, v.g = g, v.b = b, v.a = a, v.oow = oow;
    return v;
}

class Board : public ::testing::Test {
protected:
    void SetUp() override {
        SetThreadCount(1);
        ASSERT_TRUE(Open()) << LastError();
    }
    void TearDown() override {
        grGlideShutdown();
        SetThreadCount(0);
        SetPresenterFactory(nullptr);
    }
};

// Keeps the last frame handed to it.
struct Capture final : Presenter {
    static std::vector<uint16_t> last;
    void Present(const uint16_t* pixels, int width, int height, int stride) override {
        last.assign(pixels, pixels + size_t(stride) * height);
        EXPECT_EQ(width, 640);
    }
};
std::vector<uint16_t> Capture::last;

// A frame of overlapping polygons in the two states the show uses.
void DrawTestFrame(unsigned seed) {
    std::mt19937 rng(seed);
    auto u = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    grBufferClear(0, 0, 0xFFFF);
    guAlphaSource(GR_ALPHASOURCE_ITERATED_ALPHA);
    grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
    for (int i = 0; i < 60; ++i) {
        float r = u(0, 255), a = u(0, 255), cx = u(0, 640), cy = u(0, 480), s = u(10, 300);
        GrVertex quad[4] = {
            Gv(cx - s, cy - s * 0.7f, r, 40, 90, a), Gv(cx + s, cy - s, r, 40, 90, a),
            Gv(cx + s * 0.8f, cy + s, r, 40, 90, a), Gv(cx - s, cy + s, r, 40, 90, a)};
        grDrawPolygonVertexList(4, quad);
    }
    grDepthMask(FXTRUE);
    grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ZERO, GR_BLEND_ZERO);
    grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
    grDepthBufferFunction(GR_CMP_LESS);
    for (int i = 0; i < 60; ++i) {
        GrVertex tri[3];
        for (GrVertex& v : tri) {
            v = Gv(u(-50, 690), u(-50, 530), u(0, 255), u(0, 255), u(0, 255), 255, u(0.01f, 1.5f));
        }
        grDrawTriangle(&tri[0], &tri[1], &tri[2]);
    }
    grDepthMask(FXFALSE);
    grDepthBufferMode(GR_DEPTHBUFFER_DISABLE);
}

} // namespace

TEST(BoardOpen, RefusesWhatItDoesNotSupportWithAReason) {
    grGlideInit();
    EXPECT_FALSE(
        grSstWinOpen(0, 8, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR, GR_ORIGIN_UPPER_LEFT, 2, 0));
    EXPECT_NE(std::string(LastError()).find("640x480"), std::string::npos);
    // Lower-left origin, three buffers, an unknown colour format.
    for (int bad = 0; bad < 3; ++bad) {
        EXPECT_FALSE(grSstWinOpen(
            0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, bad == 2 ? 9 : GR_COLORFORMAT_ABGR,
            bad == 0 ? GR_ORIGIN_LOWER_LEFT : GR_ORIGIN_UPPER_LEFT, bad == 1 ? 3 : 2, 0))
            << bad;
    }
    // Drawing on a closed board does nothing.
    GrVertex tri[3] = {Gv(0, 0, 1, 1, 1), Gv(10, 0, 1, 1, 1), Gv(0, 10, 1, 1, 1)};
    grDrawTriangle(&tri[0], &tri[1], &tri[2]);
    grBufferClear(0, 0, 0);
    grBufferSwap(1);
    grGlideShutdown();
}

TEST_F(Board, ClearReadsTheColourFormatAndHonoursTheDepthMask) {
    grBufferClear(0x00FF0000, 0, 0); // ABGR: blue; depth off, so depth stays farthest
    EXPECT_EQ(ReadBackBuffer()[0], 0x001F);
    // Depth untouched: a polygon at any depth passes LESS.
    grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
    grDepthBufferFunction(GR_CMP_LESS);
    GrVertex tri[3] = {Gv(0, 0, 255, 0, 0), Gv(20, 0, 255, 0, 0), Gv(0, 20, 255, 0, 0)};
    grDrawTriangle(&tri[0], &tri[1], &tri[2]);
    EXPECT_EQ(ReadBackBuffer()[1 * 640 + 1], 0xF800);
    // With the mask on, the clear sets depth 0 (nearest): nothing passes LESS.
    grDepthMask(FXTRUE);
    grBufferClear(0x000000FF, 0, 0); // ABGR: red
    tri[0].g = tri[1].g = tri[2].g = 255;
    grDrawTriangle(&tri[0], &tri[1], &tri[2]);
    EXPECT_EQ(ReadBackBuffer()[1 * 640 + 1], 0xF800);
}

TEST_F(Board, SwapHandsTheFrontBufferToThePresenterAndTheLockReadsIt) {
    grSstWinClose();
    SetPresenterFactory(
        [](GrWindowHandle_t) -> std::unique_ptr<Presenter> { return std::make_unique<Capture>(); });
    ASSERT_TRUE(grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR,
                             GR_ORIGIN_UPPER_LEFT, 2, 0));
    grBufferClear(0x0000FF00, 0, 0xFFFF); // green
    grBufferSwap(1);
    EXPECT_EQ(Capture::last.size(), 640u * 480u);
    EXPECT_EQ(Capture::last[12345], 0x07E0);
    GrLfbInfo_t info{};
    info.size = sizeof info;
    ASSERT_TRUE(grLfbLock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER, GR_LFBWRITEMODE_ANY,
                          GR_ORIGIN_UPPER_LEFT, FXFALSE, &info));
    EXPECT_EQ(info.strideInBytes, 1280u);
    EXPECT_EQ(static_cast<const uint16_t*>(info.lfbPtr)[640 * 479 + 639], 0x07E0);
    EXPECT_TRUE(grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER));
    // The old front buffer is the back buffer now.
    grBufferClear(0x000000FF, 0, 0xFFFF);
    grBufferSwap(1);
    EXPECT_EQ(Capture::last[0], 0xF800);
    EXPECT_EQ(ReadBackBuffer()[0], 0x07E0);
}

TEST_F(Board, BadPolygonsAreCountedAndIgnored) {
    ResetCounters();
    GrVertex v[12];
    for (int i = 0; i < 12; ++i) {
        v[i] = Gv(float(i * 10), float((i * 37) % 100), 8, 8, 8);
    }
    grDrawPolygonVertexList(2, v);
    grDrawPolygonVertexList(11, v);
    v[1].y = NAN;
    grDrawPolygonVertexList(3, v);
    Flush();
    EXPECT_EQ(Counters().refused, 3u);
}

TEST(BoardThreads, ThreadsDrawTheSamePicture) {
    // One thread, then two twice and three, the board opened afresh each time: the
    // same picture, and each covered pixel counted once whichever band holds it.
    std::vector<uint16_t> pictures[4];
    uint64_t pixels[4];
    for (int run = 0; run < 4; ++run) {
        const int threads = run == 0 ? 1 : run == 3 ? 3 : 2;
        SetThreadCount(threads);
        ASSERT_TRUE(Open());
        EXPECT_EQ(ThreadCount(), threads);
        ResetCounters();
        for (int frame = 0; frame < 3; ++frame) {
            DrawTestFrame(5 + frame);
            grBufferSwap(1);
        }
        pictures[run] = ReadBackBuffer(GR_BUFFER_FRONTBUFFER);
        pixels[run] = Counters().pixels;
        grGlideShutdown();
    }
    SetThreadCount(0);
    for (int run = 1; run < 4; ++run) {
        EXPECT_EQ(pictures[0], pictures[run]) << "run " << run;
        EXPECT_EQ(pixels[0], pixels[run]) << "run " << run;
    }
}

TEST(BoardRecording, AReplayDrawsTheRecordedPicture) {
    const testsupport::ScratchFolder folder;
    const std::string path = folder.PathOf("record.glt");
    SetThreadCount(1);
    ASSERT_TRUE(Open());
    ASSERT_TRUE(StartRecording(path.c_str()));
    DrawTestFrame(9);
    grBufferSwap(1);
    StopRecording();
    std::vector<uint16_t> recorded = ReadBackBuffer(GR_BUFFER_FRONTBUFFER);
    grGlideShutdown();

    ReplayScript script;
    std::string error;
    ASSERT_TRUE(LoadRecording(path.c_str(), &script, &error)) << error;
    ASSERT_TRUE(Open());
    Replay(script);
    EXPECT_EQ(ReadBackBuffer(GR_BUFFER_FRONTBUFFER), recorded);
    grGlideShutdown();
    SetThreadCount(0);
}

TEST(BoardRecording, TheEnvironmentVariableRecordsAWholeRun) {
    const testsupport::ScratchFolder folder;
    const std::string path = folder.PathOf("run.glt");
    ASSERT_EQ(setenv("SOLVANE_GLIDE_RECORD", path.c_str(), 1), 0);
    ASSERT_TRUE(Open()); // grGlideInit starts the recording
    unsetenv("SOLVANE_GLIDE_RECORD");
    grBufferClear(0x00112233, 0, 0xFFFF);
    GrVertex v[3] = {Gv(10, 10, 1, 2, 3), Gv(50, 12, 1, 2, 3), Gv(60, 40, 1, 2, 3)};
    grDrawPolygonVertexList(3, v);
    grDrawPolygonVertexList(40, v); // refused, recorded without vertices
    grBufferSwap(1);
    grGlideShutdown(); // ends the recording

    ReplayScript script;
    std::string error;
    ASSERT_TRUE(LoadRecording(path.c_str(), &script, &error)) << error;
    std::vector<Op> ops;
    for (const RecordedCall& c : script.calls) {
        ops.push_back(c.op);
    }
    const std::vector<Op> expected = {Op::Init,        Op::QueryHardware, Op::Select,
                                      Op::WinOpen,     Op::BufferClear,   Op::DrawPolygon,
                                      Op::DrawPolygon, Op::BufferSwap,    Op::Shutdown};
    EXPECT_EQ(ops, expected);
    EXPECT_EQ(script.calls[6].vertexCount, 0u);
}
