// The Glide entry points on the software board: device state, buffers, the queue of
// draws that the rasteriser threads work through, buffer swaps to the presenter.
#include "glide/glide.h"
#include "glide/board.h"
#include "glide/presenter.h"
#include "glide/raster.h"
#include "glide/record.h"
#include "glide/threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <ctime>
#endif

namespace {

// Processor time the calling thread has used, in nanoseconds.
uint64_t ThreadCpuNanoseconds() {
#ifdef _WIN32
    FILETIME creation, exit, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user))
        return 0;
    uint64_t units = ((static_cast<uint64_t>(kernel.dwHighDateTime) << 32) | kernel.dwLowDateTime) +
                     ((static_cast<uint64_t>(user.dwHighDateTime) << 32) | user.dwLowDateTime);
    return units * 100u;
#else
    timespec now;
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0)
        return 0;
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
#endif
}

} // namespace

namespace glide {

std::unique_ptr<Presenter> MakePresenter(GrWindowHandle_t window); // presenter.cpp

namespace {

constexpr size_t queueCapacity = 4096; // draws held before a flush is forced
// With more than one thread, each flush cuts the screen into bands of rows by the
// work estimated while the commands were queued, and each thread takes the next band
// nobody has taken yet. The first bands are large and the last small, so that a
// thread that wakes late or runs slower (a core shared with other programs) simply
// draws fewer, and the threads still end close together. A polygon is set up once
// for every band it crosses, so bands are few: three a thread, the first third of
// them holding 60% of the work, the next third 25%, the last 15%. (Bands of 32 rows
// handed out alike spent a fifth more on the options screen at rest; two equal bands
// a thread lost a sixth when one core was slow.)
constexpr int bandsPerThread = 3;
constexpr int maxThreads = 8;
constexpr int maxBands = bandsPerThread * maxThreads;
constexpr int bandsClosed = 1 << 30; // the next band once a flush has handed out all
// The estimate, in about nanoseconds of the development machine: a polygon's set-up,
// each of its rows, each of its pixels, and a row of a buffer clear.
constexpr float setUpWork = 150.0f, rowWork = 12.0f, pixelWork = 0.6f, clearRowWork = 40.0f;

// One queued draw: a polygon with the path it is drawn with, or a buffer clear.
struct Command {
    bool clear;
    uint8_t count;
    int16_t firstRow, lastRow; // the rows of the screen it touches
    bool clearDepth;
    uint16_t clearColor, clearDepthValue;
    PixelPath path;
    Vertex v[maxPolygonVertices];
};

struct Board {
    bool initialized = false;
    bool open = false;
    int selected = 0;
    int colorFormat = GR_COLORFORMAT_ARGB;
    std::vector<uint16_t> color[2];
    std::vector<uint16_t> depth;
    int front = 0;
    BoardState state;
    PixelPath path;
    int locks = 0;
    std::unique_ptr<Presenter> presenter;
    std::vector<Command> queue; // queueCapacity commands from the open on, queued in use
    size_t queued = 0;
    // The estimated work of this flush's commands as a difference over rows: the work
    // of row y is the sum of the first y + 1 entries.
    float workChange[screenHeight + 1] = {};
    int bandBegin[maxBands + 1] = {}; // band b is rows bandBegin[b] .. bandBegin[b + 1] - 1
    int bands = 0;
    BoardCounters counters{};

    // Rasteriser threads beyond the caller's. A flush opens nextBand at 0 and bumps
    // generation (under mutex, so a thread about to sleep cannot miss it); threads
    // take bands until none is left. A thread counts itself in drawing before it takes
    // a band, and the flush ends once it has closed nextBand and drawing is 0: a thread
    // that wakes late finds the bands closed, or the next flush's open.
    std::vector<std::unique_ptr<Thread>> workers;
    Lock mutex;
    Condition wake;
    std::atomic<uint64_t> generation{0};
    std::atomic<int> nextBand{bandsClosed};
    std::atomic<int> drawing{0};
    std::atomic<uint64_t> workerPixels{0}, workerNanoseconds{0};
    bool stopping = false;
    int threads = 1;

    Target BackTarget() {
        return Target{color[1 - front].data(), depth.data(), screenWidth, screenHeight,
                      screenWidth};
    }

    // A program that leaves without closing the board must not wait forever on
    // its parked rasteriser threads.
    ~Board();
};

Board board;
int wantedThreads = 0;
char lastError[256] = "";

void Refuse(const char* call, const char* reason) {
    std::snprintf(lastError, sizeof lastError, "%s: %s", call, reason);
    std::fprintf(stderr, "glide: %s\n", lastError);
}

void ClearRows(const Command& c, const Target& target, const RowSet& rows) {
    for (int y = rows.rowBegin; y < rows.rowEnd; ++y) {
        uint16_t* row = target.color + size_t(y) * size_t(target.stride);
        std::fill(row, row + target.width, c.clearColor);
        if (c.clearDepth) {
            uint16_t* depthRow = target.depth + size_t(y) * size_t(target.stride);
            std::fill(depthRow, depthRow + target.width, c.clearDepthValue);
        }
    }
}

// The whole queue on the calling thread alone.
uint64_t RunCommands(const Target& target) {
    const RowSet rows;
    uint64_t pixels = 0;
    for (size_t i = 0; i < board.queued; ++i) {
        const Command& c = board.queue[i];
        if (c.clear) {
            ClearRows(c, target, rows);
        } else {
            pixels += DrawPolygon(target, c.path, c.v, c.count, rows);
        }
    }
    return pixels;
}

// Bands until none is left; the pixels covered.
uint64_t RunBands(const Target& target) {
    uint64_t pixels = 0;
    for (int band; (band = board.nextBand.fetch_add(1)) < board.bands;) {
        RowSet rows;
        rows.rowBegin = board.bandBegin[band];
        rows.rowEnd = board.bandBegin[band + 1];
        for (size_t i = 0; i < board.queued; ++i) {
            const Command& c = board.queue[i];
            if (c.lastRow < rows.rowBegin || c.firstRow >= rows.rowEnd) {
                continue;
            }
            if (c.clear) {
                ClearRows(c, target, rows);
            } else {
                pixels += DrawPolygon(target, c.path, c.v, c.count, rows);
            }
        }
    }
    return pixels;
}

// Adds work to rows first..last: perRow to each, once to the first.
void AddWork(int first, int last, float perRow, float once) {
    board.workChange[first] += perRow + once;
    board.workChange[first + 1] -= once;
    board.workChange[last + 1] -= perRow;
}

// Cuts the screen into bands of the estimated work, and clears the estimate.
void CutBands() {
    const int threads = board.threads, bands = bandsPerThread * threads;
    float work[screenHeight];
    float total = 0.0f, running = 0.0f;
    for (int y = 0; y < screenHeight; ++y) {
        running += board.workChange[y];
        work[y] = std::max(running, 0.0f) + 1.0f; // every row costs something
        total += work[y];
    }
    std::fill(std::begin(board.workChange), std::end(board.workChange), 0.0f);
    // The share of the work in the bands before band b.
    auto before = [&](int b) {
        const float part = float(b % threads) / float(threads);
        return b < threads       ? 0.6f * part
               : b < 2 * threads ? 0.6f + 0.25f * part
                                 : 0.85f + 0.15f * part;
    };
    board.bandBegin[0] = 0;
    int band = 1;
    float sum = 0.0f;
    for (int y = 0; y < screenHeight && band < bands; ++y) {
        sum += work[y];
        if (sum >= total * before(band)) {
            board.bandBegin[band++] = y + 1;
        }
    }
    board.bands = band;
    board.bandBegin[band] = screenHeight;
}

// How long a rasteriser thread keeps watching for the next flush, and the caller for
// the threads' end, before sleeping. Waking a sleeping thread costs 10 to 50 µs, a
// good part of a small frame's drawing. Longer watches cost more than they save when
// other programs keep a core busy (measured with a fuzzer on one of two cores: 300 µs
// made the opaque workload 40% slower on two threads, 50 µs is about even there).
constexpr std::chrono::microseconds spinTime(50);

// Spins until ready() or spinTime has passed; true when ready.
template <class Ready> bool SpinFor(Ready ready) {
    const auto until = std::chrono::steady_clock::now() + spinTime;
    for (int i = 1;; ++i) {
        if (ready()) {
            return true;
        }
        CpuRelax();
        if (i % 64 == 0 && std::chrono::steady_clock::now() > until) {
            return false;
        }
    }
}

void WorkerLoop(int) {
    uint64_t seen = 0;
    for (;;) {
        // Everything this thread spends on a frame, watching and waking included.
        uint64_t started = ThreadCpuNanoseconds();
        SpinFor([&] { return board.generation.load(std::memory_order_acquire) != seen; });
        {
            std::lock_guard<Lock> hold(board.mutex);
            board.wake.Wait(board.mutex,
                            [&] { return board.stopping || board.generation != seen; });
            if (board.stopping) {
                return;
            }
            seen = board.generation;
        }
        board.drawing.fetch_add(1);
        board.workerPixels.fetch_add(RunBands(board.BackTarget()));
        board.workerNanoseconds.fetch_add(ThreadCpuNanoseconds() - started);
        board.drawing.fetch_sub(1);
    }
}

void StartWorkers() {
    int threads = wantedThreads;
    if (threads <= 0) {
        const char* env = std::getenv("SOLVANE_GLIDE_THREADS");
        threads = env ? std::atoi(env) : HardwareThreads();
    }
    threads = std::min(std::max(threads, 1), maxThreads);
    board.threads = threads;
    board.stopping = false;
    board.generation = 0; // every new worker starts waiting for the first flush
    board.nextBand = bandsClosed;
    board.drawing = 0;
    for (int band = 1; band < threads; ++band) {
        auto worker = std::make_unique<Thread>(WorkerLoop, band);
        if (!worker->Started()) {
            break; // fewer threads draw the same picture
        }
        board.workers.push_back(std::move(worker));
    }
    board.threads = int(board.workers.size()) + 1;
}

void StopWorkers() {
    {
        std::lock_guard<Lock> hold(board.mutex);
        board.stopping = true;
    }
    board.wake.NotifyAll();
    for (auto& t : board.workers) {
        t->Join();
    }
    board.workers.clear();
    board.threads = 1;
}

Board::~Board() {
    StopWorkers();
}

void FlushQueue() {
    if (board.queued == 0) {
        return;
    }
    if (board.workers.empty()) {
        board.counters.pixels += RunCommands(board.BackTarget());
    } else {
        CutBands();
        board.workerPixels = 0;
        board.nextBand = 0;
        {
            std::lock_guard<Lock> hold(board.mutex);
            ++board.generation;
        }
        board.wake.NotifyAll();
        uint64_t pixels = RunBands(board.BackTarget());
        // Every band is taken: close them, then wait for the threads still drawing.
        board.nextBand = bandsClosed;
        while (board.drawing.load() != 0) {
            CpuRelax();
        }
        board.counters.pixels += pixels + board.workerPixels;
        board.counters.workerNanoseconds += board.workerNanoseconds.exchange(0);
    }
    board.queued = 0;
}

Command& NewCommand() {
    if (board.queued == queueCapacity) {
        FlushQueue();
    }
    return board.queue[board.queued++]; // every field the command's kind reads is set
}

void StartRecordingFromEnvironment() {
    const char* path = std::getenv("SOLVANE_GLIDE_RECORD");
    if (path && *path && !Recording()) {
        if (!StartRecording(path)) {
            std::fprintf(stderr, "glide: cannot record to %s\n", path);
        }
    }
}

void Record1(Op op, int32_t value) {
    if (Recording()) {
        RecordCall(op, &value, 1);
    }
}

void QueuePolygon(const GrVertex* const* vertices, int count) {
    if (!board.open) {
        return;
    }
    ++board.counters.polygons;
    if (count < 3 || count > maxPolygonVertices) {
        ++board.counters.refused;
        return;
    }
    Vertex converted[maxPolygonVertices];
    for (int i = 0; i < count; ++i) {
        if (!ConvertVertex(*vertices[i], &converted[i])) {
            ++board.counters.refused;
            return;
        }
    }
    int first, last;
    PolygonRows(converted, count, screenHeight, &first, &last);
    if (first > last) {
        return; // no row of the screen: nothing to draw
    }
    Command& c = NewCommand();
    c.clear = false;
    c.count = uint8_t(count);
    c.firstRow = int16_t(first);
    c.lastRow = int16_t(last);
    c.path = board.path;
    std::copy(converted, converted + count, c.v);
    if (!board.workers.empty()) {
        // Its pixels, from its area (in 1/256 pixel), spread evenly over its rows.
        int64_t twiceArea = 0;
        for (int i = 0; i < count; ++i) {
            const Vertex& p = converted[i];
            const Vertex& q = converted[(i + 1) % count];
            twiceArea += int64_t(p.x) * q.y - int64_t(q.x) * p.y;
        }
        const float rows = float(last - first + 1);
        const float width =
            std::min(float(std::llabs(twiceArea)) / 512.0f / rows, float(screenWidth));
        AddWork(first, last, rowWork + pixelWork * width, setUpWork);
    }
}

uint16_t ClearColor565(GrColor_t color, int format) {
    int r, g, b;
    switch (format) {
    case GR_COLORFORMAT_ABGR: // 0xAABBGGRR
        r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
        break;
    case GR_COLORFORMAT_RGBA: // 0xRRGGBBAA
        r = (color >> 24) & 0xFF, g = (color >> 16) & 0xFF, b = (color >> 8) & 0xFF;
        break;
    case GR_COLORFORMAT_BGRA: // 0xBBGGRRAA
        b = (color >> 24) & 0xFF, g = (color >> 16) & 0xFF, r = (color >> 8) & 0xFF;
        break;
    default: // ARGB, 0xAARRGGBB
        r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
        break;
    }
    return PackPixel(r, g, b, 0, 0, false);
}

void Resolve() {
    board.path = ResolvePath(board.state);
}

} // namespace

void SetLastError(const char* reason) {
    std::snprintf(lastError, sizeof lastError, "%s", reason);
}

const char* LastError() {
    return lastError;
}

void SetThreadCount(int threads) {
    wantedThreads = threads;
}
int ThreadCount() {
    return board.open ? board.threads : 0;
}
BoardCounters Counters() {
    return board.counters;
}
void ResetCounters() {
    board.counters = BoardCounters{};
}
void Flush() {
    FlushQueue();
}

} // namespace glide

using namespace glide;

static void CloseBoard() {
    if (!board.open) {
        return;
    }
    FlushQueue();
    StopWorkers();
    board.presenter.reset();
    board.open = false;
    for (auto& buffer : board.color) {
        std::vector<uint16_t>().swap(buffer);
    }
    std::vector<uint16_t>().swap(board.depth);
    std::vector<Command>().swap(board.queue);
    board.queued = 0;
}

extern "C" {

void grGlideInit(void) {
    StartRecordingFromEnvironment();
    if (Recording()) {
        RecordCall(Op::Init, nullptr, 0);
    }
    board.initialized = true;
}

void grGlideShutdown(void) {
    if (Recording()) {
        RecordCall(Op::Shutdown, nullptr, 0);
    }
    CloseBoard(); // not a call of the program's: not recorded
    board.initialized = false;
    StopRecording();
}

FxBool grSstQueryHardware(GrHwConfiguration* hwConfig) {
    if (Recording()) {
        RecordCall(Op::QueryHardware, nullptr, 0);
    }
    if (!hwConfig) {
        Refuse("grSstQueryHardware", "no configuration to fill");
        return FXFALSE;
    }
    std::memset(hwConfig, 0, sizeof *hwConfig);
    hwConfig->num_sst = 1;
    hwConfig->SSTs[0].type = GR_SSTTYPE_VOODOO;
    GrVoodooConfig_t& voodoo = hwConfig->SSTs[0].sstBoard.VoodooConfig;
    voodoo.fbRam = 4; // MB: two 640 × 480 colour buffers and the depth buffer
    voodoo.fbiRev = 2;
    voodoo.nTexelfx = 1;
    voodoo.sliDetect = FXFALSE;
    voodoo.tmuConfig[0].tmuRev = 1;
    voodoo.tmuConfig[0].tmuRam = 4;
    return FXTRUE;
}

void grSstSelect(int whichSst) {
    Record1(Op::Select, whichSst);
    board.selected = whichSst;
}

FxBool grSstWinOpen(GrWindowHandle_t hWnd, GrScreenResolution_t resolution,
                    GrScreenRefresh_t refresh, GrColorFormat_t colorFormat,
                    GrOriginLocation_t origin, int numColorBuffers, int numAuxBuffers) {
    if (Recording()) {
        const int32_t args[6] = {resolution, refresh,         colorFormat,
                                 origin,     numColorBuffers, numAuxBuffers};
        RecordWinOpen(hWnd, args);
    }
    const char* reason = nullptr;
    if (!board.initialized) {
        reason = "grGlideInit was not called";
    } else if (board.open) {
        reason = "the board is already open";
    } else if (board.selected != 0) {
        reason = "only board 0 exists";
    } else if (resolution != GR_RESOLUTION_640x480) {
        reason = "only GR_RESOLUTION_640x480 is supported";
    } else if (refresh != GR_REFRESH_60Hz) {
        reason = "only GR_REFRESH_60Hz is supported";
    } else if (colorFormat < GR_COLORFORMAT_ARGB || colorFormat > GR_COLORFORMAT_BGRA) {
        reason = "unknown colour format";
    } else if (origin != GR_ORIGIN_UPPER_LEFT) {
        reason = "only GR_ORIGIN_UPPER_LEFT is supported";
    } else if (numColorBuffers != 2) {
        reason = "only 2 colour buffers are supported";
    } else if (numAuxBuffers < 0 || numAuxBuffers > 1) {
        reason = "at most 1 auxiliary buffer (the depth buffer is always there)";
    }
    if (reason) {
        Refuse("grSstWinOpen", reason);
        return FXFALSE;
    }
    const size_t pixels = size_t(screenWidth) * screenHeight;
    board.color[0].assign(pixels, 0);
    board.color[1].assign(pixels, 0);
    board.depth.assign(pixels, 0xFFFF);
    board.front = 0;
    board.colorFormat = colorFormat;
    board.state = BoardState{}; // ONE/ZERO, no depth, mask off, LESS, iterated, 4 × 4 dither
    Resolve();
    board.locks = 0;
    board.queue.resize(queueCapacity); // once: queueing a command allocates nothing
    board.queued = 0;
    board.presenter = MakePresenter(hWnd);
    CurrentImplementation(); // chosen here, before any rasteriser thread asks
    board.open = true;
    StartWorkers();
    lastError[0] = '\0';
    return FXTRUE;
}

void grSstWinClose(void) {
    if (Recording()) {
        RecordCall(Op::WinClose, nullptr, 0);
    }
    CloseBoard();
}

FxU32 grSstScreenWidth(void) {
    if (Recording()) {
        RecordCall(Op::ScreenWidth, nullptr, 0);
    }
    return board.open ? screenWidth : 0;
}

FxU32 grSstScreenHeight(void) {
    if (Recording()) {
        RecordCall(Op::ScreenHeight, nullptr, 0);
    }
    return board.open ? screenHeight : 0;
}

void grBufferClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth) {
    if (Recording()) {
        RecordClear(color, alpha, depth);
    }
    if (!board.open) {
        return;
    }
    // The board has no alpha buffer: the alpha is not stored.
    Command& c = NewCommand();
    c.clear = true;
    c.count = 0;
    c.clearColor = ClearColor565(color, board.colorFormat);
    c.clearDepth = board.state.depthMode != GR_DEPTHBUFFER_DISABLE && board.state.depthMask;
    c.clearDepthValue = depth;
    c.firstRow = 0;
    c.lastRow = screenHeight - 1;
    if (!board.workers.empty()) {
        AddWork(0, screenHeight - 1, clearRowWork, 0.0f);
    }
}

void grBufferSwap(int swapInterval) {
    Record1(Op::BufferSwap, swapInterval);
    if (!board.open) {
        return;
    }
    FlushQueue();
    board.front = 1 - board.front;
    ++board.counters.frames;
    if (board.presenter) {
        uint64_t before = ThreadCpuNanoseconds();
        board.presenter->Present(board.color[board.front].data(), screenWidth, screenHeight,
                                 screenWidth);
        board.counters.presentNanoseconds += ThreadCpuNanoseconds() - before;
    }
}

void grDepthBufferMode(GrDepthBufferMode_t mode) {
    Record1(Op::DepthBufferMode, mode);
    if (mode >= GR_DEPTHBUFFER_DISABLE && mode <= GR_DEPTHBUFFER_WBUFFER) {
        board.state.depthMode = mode;
        Resolve();
    }
}

void grDepthBufferFunction(GrCmpFnc_t function) {
    Record1(Op::DepthBufferFunction, function);
    if (function >= GR_CMP_NEVER && function <= GR_CMP_ALWAYS) {
        board.state.depthFunction = function;
        Resolve();
    }
}

void grDepthMask(FxBool enable) {
    Record1(Op::DepthMask, enable);
    board.state.depthMask = enable != FXFALSE;
    Resolve();
}

static bool KnownBlendFactor(GrAlphaBlendFnc_t f) {
    return (f >= GR_BLEND_ZERO && f <= GR_BLEND_ONE_MINUS_DST_ALPHA) ||
           f == GR_BLEND_ALPHA_SATURATE;
}

void grAlphaBlendFunction(GrAlphaBlendFnc_t rgbSrc, GrAlphaBlendFnc_t rgbDst,
                          GrAlphaBlendFnc_t alphaSrc, GrAlphaBlendFnc_t alphaDst) {
    if (Recording()) {
        const int32_t args[4] = {rgbSrc, rgbDst, alphaSrc, alphaDst};
        RecordCall(Op::AlphaBlendFunction, args, 4);
    }
    // The alpha factors have nothing to act on: the board has no alpha buffer.
    if (KnownBlendFactor(rgbSrc) && KnownBlendFactor(rgbDst)) {
        board.state.srcRgb = rgbSrc;
        board.state.dstRgb = rgbDst;
        Resolve();
    }
}

void guAlphaSource(GrAlphaSource_t mode) {
    Record1(Op::AlphaSource, mode);
    board.state.alphaSource = mode;
    Resolve();
}

void guColorCombineFunction(GrColorCombineFnc_t function) {
    Record1(Op::ColorCombine, function);
    board.state.colorCombine = function;
    Resolve();
}

void grDitherMode(GrDitherMode_t mode) {
    Record1(Op::DitherMode, mode);
    // 2 × 2 dithering is drawn with the 4 × 4 matrix.
    if (mode >= GR_DITHER_DISABLE && mode <= GR_DITHER_4x4) {
        board.state.dither = mode;
        Resolve();
    }
}

void grDrawTriangle(const GrVertex* a, const GrVertex* b, const GrVertex* c) {
    if (!a || !b || !c) {
        return;
    }
    if (Recording()) {
        const GrVertex v[3] = {*a, *b, *c};
        RecordVertices(Op::DrawTriangle, 3, v, 3);
    }
    const GrVertex* v[3] = {a, b, c};
    QueuePolygon(v, 3);
}

void grDrawPolygonVertexList(int vertexCount, const GrVertex vertices[]) {
    const bool valid = vertices && vertexCount >= 0 && vertexCount <= maxPolygonVertices;
    if (Recording()) {
        RecordVertices(Op::DrawPolygon, vertexCount, vertices, valid ? vertexCount : 0);
    }
    if (!valid) {
        if (board.open) {
            ++board.counters.polygons;
            ++board.counters.refused;
        }
        return;
    }
    const GrVertex* v[maxPolygonVertices];
    for (int i = 0; i < vertexCount; ++i) {
        v[i] = &vertices[i];
    }
    QueuePolygon(v, vertexCount);
}

FxBool grLfbLock(GrLock_t type, GrBuffer_t buffer, GrLfbWriteMode_t writeMode,
                 GrOriginLocation_t origin, FxBool pixelPipeline, GrLfbInfo_t* info) {
    if (Recording()) {
        const int32_t args[5] = {type, buffer, writeMode, origin, pixelPipeline};
        RecordCall(Op::LfbLock, args, 5);
    }
    const char* reason = nullptr;
    if (!board.open) {
        reason = "the board is not open";
    } else if (!info || info->size != int(sizeof(GrLfbInfo_t))) {
        reason = "info.size must be sizeof(GrLfbInfo_t)";
    } else if (type != GR_LFB_READ_ONLY && type != GR_LFB_WRITE_ONLY) {
        reason = "unknown lock type";
    } else if (buffer != GR_BUFFER_FRONTBUFFER && buffer != GR_BUFFER_BACKBUFFER) {
        reason = "only the colour buffers can be locked";
    } else if (writeMode != GR_LFBWRITEMODE_565 && writeMode != GR_LFBWRITEMODE_ANY) {
        reason = "only 565 pixels are supported";
    } else if (origin != GR_ORIGIN_UPPER_LEFT) {
        reason = "only GR_ORIGIN_UPPER_LEFT is supported";
    } else if (type == GR_LFB_WRITE_ONLY && pixelPipeline) {
        reason = "writes through the pixel pipeline are not supported";
    }
    if (reason) {
        Refuse("grLfbLock", reason);
        return FXFALSE;
    }
    FlushQueue();
    int index = buffer == GR_BUFFER_FRONTBUFFER ? board.front : 1 - board.front;
    info->lfbPtr = board.color[index].data();
    info->strideInBytes = FxU32(screenWidth * sizeof(uint16_t));
    info->writeMode = GR_LFBWRITEMODE_565;
    info->origin = GR_ORIGIN_UPPER_LEFT;
    ++board.locks;
    return FXTRUE;
}

FxBool grLfbUnlock(GrLock_t type, GrBuffer_t buffer) {
    if (Recording()) {
        const int32_t args[2] = {type, buffer};
        RecordCall(Op::LfbUnlock, args, 2);
    }
    if (!board.open || board.locks == 0) {
        Refuse("grLfbUnlock", "no lock is held");
        return FXFALSE;
    }
    --board.locks;
    return FXTRUE;
}

} // extern "C"
