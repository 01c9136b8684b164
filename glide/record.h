// Recording of Glide calls to a file and their replay, for benchmarks and for
// reproducing a frame without the program. Knows the API, not the rasteriser.
//
// A run records every call when SOLVANE_GLIDE_RECORD=FILE is set (from grGlideInit
// on), or between StartRecording and StopRecording.
//
// File format (".glt"), all numbers little-endian:
//   header   "SGLT", u32 version = 1
//   records  u8 opcode, then the opcode's arguments:
//     1 grGlideInit            -
//     2 grGlideShutdown        -
//     3 grSstQueryHardware     -
//     4 grSstSelect            i32 board
//     5 grSstWinOpen           u64 window, i32 resolution, refresh, colour format, origin,
//                              colour buffers, aux buffers
//     6 grSstWinClose          -
//     7 grBufferClear          u32 colour, u8 alpha, u16 depth
//     8 grBufferSwap           i32 interval
//     9 grDepthBufferMode      i32
//    10 grDepthBufferFunction  i32
//    11 grDepthMask            i32
//    12 grAlphaBlendFunction   i32 rgb source, rgb destination, alpha source, alpha dest.
//    13 guAlphaSource          i32
//    14 guColorCombineFunction i32
//    15 grDitherMode           i32
//    16 grDrawTriangle         3 vertices
//    17 grDrawPolygonVertexList i32 count, then that many vertices when 0 <= count <= 10
//                              (other counts are recorded without vertices)
//    18 grLfbLock              i32 type, buffer, write mode, origin, pixel pipeline
//    19 grLfbUnlock            i32 type, buffer
//    20 grSstScreenWidth       -
//    21 grSstScreenHeight      -
//   vertex   9 × f32: x, y, z, r, g, b, ooz, a, oow (the texture fields are not kept:
//            nothing in the software board reads them)
// The file ends after any whole record; the recorder flushes at every grBufferSwap, so
// a run that is killed leaves whole frames and at most one cut record, which the
// reader drops.
#pragma once

#include "glide/glide.h"

#include <cstdint>
#include <string>
#include <vector>

namespace glide {

enum class Op : uint8_t {
    Init = 1,
    Shutdown,
    QueryHardware,
    Select,
    WinOpen,
    WinClose,
    BufferClear,
    BufferSwap,
    DepthBufferMode,
    DepthBufferFunction,
    DepthMask,
    AlphaBlendFunction,
    AlphaSource,
    ColorCombine,
    DitherMode,
    DrawTriangle,
    DrawPolygon,
    LfbLock,
    LfbUnlock,
    ScreenWidth,
    ScreenHeight,
};

// Starts writing calls to path (replacing it); false with LastError() if it cannot.
bool StartRecording(const char* path);
void StopRecording();
bool Recording();

// Called by the API entry points while a recording runs.
void RecordCall(Op op, const int32_t* args, int argCount);
void RecordWinOpen(GrWindowHandle_t window, const int32_t args[6]);
void RecordClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth);
void RecordVertices(Op op, int32_t count, const GrVertex* vertices, int vertexCount);

// A recording read back into memory.
struct RecordedCall {
    Op op;
    int32_t args[7];      // as recorded; a clear keeps colour, alpha, depth here
    uint64_t window;      // grSstWinOpen only
    uint32_t firstVertex; // into ReplayScript::vertices
    uint32_t vertexCount;
};

struct ReplayScript {
    std::vector<RecordedCall> calls;
    std::vector<GrVertex> vertices;
    int frames = 0;         // grBufferSwap calls
    bool truncated = false; // the file ended inside a record, which was dropped
};

// Reads a recording; false with a reason in *error for a missing or malformed file.
// A file cut inside its last record loads with that record dropped and truncated set.
bool LoadRecording(const char* path, ReplayScript* script, std::string* error);
// The same from the bytes of a recording held in memory.
bool ReadRecording(const uint8_t* data, size_t size, ReplayScript* script, std::string* error);

// Makes the script's drawing calls through the API on an open board. The calls that
// set up or shut down the board (init, query, select, open, close, shutdown) are
// skipped: the caller owns the board.
void Replay(const ReplayScript& script);

} // namespace glide
