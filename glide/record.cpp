// Writing and reading the Glide call recordings described in record.h.
#include "glide/record.h"

#include "glide/bytes.h" // header-only: the board links no toolkit

#include <cstdio>
#include <cstring>

namespace glide {

void SetLastError(const char* reason); // glide.cpp

namespace {

std::FILE* recordFile = nullptr;

void Put(const void* data, size_t bytes) {
    if (recordFile) {
        std::fwrite(data, 1, bytes, recordFile);
    }
}
void PutU8(uint8_t v) {
    Put(&v, 1);
}
template <typename T> void PutNumber(T v) {
    uint8_t b[sizeof v];
    StoreBytes(b, v, ByteOrder::Little);
    Put(b, sizeof b);
}
void PutU16(uint16_t v) {
    PutNumber(v);
}
void PutU32(uint32_t v) {
    PutNumber(v);
}
void PutF32(float f) {
    PutNumber(f);
}
void PutVertex(const GrVertex& v) {
    const float fields[9] = {v.x, v.y, v.z, v.r, v.g, v.b, v.ooz, v.a, v.oow};
    for (float f : fields) {
        PutF32(f);
    }
}

// The recording's reads: a read past the end fails and reads nothing.
struct Reader : ByteReader {
    Reader(const uint8_t* data, size_t size) : ByteReader(data, size, ByteOrder::Little) {}
    bool Vertex(GrVertex* v) {
        float f[9];
        for (float& x : f) {
            if (!F32(&x)) {
                return false;
            }
        }
        *v = GrVertex{};
        v->x = f[0];
        v->y = f[1];
        v->z = f[2];
        v->r = f[3];
        v->g = f[4];
        v->b = f[5];
        v->ooz = f[6];
        v->a = f[7];
        v->oow = f[8];
        return true;
    }
};

int ArgCount(Op op) {
    switch (op) {
    case Op::Select:
    case Op::BufferSwap:
    case Op::DepthBufferMode:
    case Op::DepthBufferFunction:
    case Op::DepthMask:
    case Op::AlphaSource:
    case Op::ColorCombine:
    case Op::DitherMode:
        return 1;
    case Op::AlphaBlendFunction:
        return 4;
    case Op::LfbLock:
        return 5;
    case Op::LfbUnlock:
        return 2;
    default:
        return 0;
    }
}

} // namespace

bool StartRecording(const char* path) {
    StopRecording();
    recordFile = std::fopen(path, "wb");
    if (!recordFile) {
        SetLastError("cannot create the recording file");
        return false;
    }
    Put("SGLT", 4);
    PutU32(1);
    return true;
}

void StopRecording() {
    if (recordFile) {
        std::fclose(recordFile);
        recordFile = nullptr;
    }
}

bool Recording() {
    return recordFile != nullptr;
}

void RecordCall(Op op, const int32_t* args, int argCount) {
    PutU8(uint8_t(op));
    for (int i = 0; i < argCount; ++i) {
        PutU32(uint32_t(args[i]));
    }
    if (op == Op::BufferSwap && recordFile) {
        std::fflush(recordFile); // whole frames survive a run that is killed
    }
}

void RecordWinOpen(GrWindowHandle_t window, const int32_t args[6]) {
    PutU8(uint8_t(Op::WinOpen));
    PutNumber(uint64_t(window));
    for (int i = 0; i < 6; ++i) {
        PutU32(uint32_t(args[i]));
    }
}

void RecordClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth) {
    PutU8(uint8_t(Op::BufferClear));
    PutU32(color);
    PutU8(alpha);
    PutU16(depth);
}

void RecordVertices(Op op, int32_t count, const GrVertex* vertices, int vertexCount) {
    PutU8(uint8_t(op));
    if (op == Op::DrawPolygon) {
        PutU32(uint32_t(count));
    }
    for (int i = 0; i < vertexCount; ++i) {
        PutVertex(vertices[i]);
    }
}

bool LoadRecording(const char* path, ReplayScript* script, std::string* error) {
    *script = ReplayScript{};
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        *error = std::string("cannot open ") + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(f);
    return ReadRecording(bytes.data(), bytes.size(), script, error);
}

bool ReadRecording(const uint8_t* data, size_t size, ReplayScript* script, std::string* error) {
    *script = ReplayScript{};
    Reader in{data, size};
    uint32_t version = 0;
    if (!in.Has(8) || std::memcmp(data, "SGLT", 4) != 0) {
        *error = "not a Glide recording (no SGLT header)";
        return false;
    }
    in.Skip(4);
    in.U32(&version);
    if (version != 1) {
        *error = "unsupported recording version " + std::to_string(version);
        return false;
    }
    while (in.Remaining() > 0) {
        size_t at = in.Position();
        uint8_t code = 0;
        in.U8(&code);
        if (code < uint8_t(Op::Init) || code > uint8_t(Op::ScreenHeight)) {
            *error = "unknown opcode " + std::to_string(code) + " at byte " + std::to_string(at);
            return false;
        }
        RecordedCall call{};
        call.op = Op(code);
        call.firstVertex = uint32_t(script->vertices.size());
        bool ok = true;
        int vertices = 0;
        switch (call.op) {
        case Op::WinOpen: {
            ok = in.U64(&call.window);
            for (int i = 0; i < 6 && ok; ++i) {
                ok = in.I32(&call.args[i]);
            }
            break;
        }
        case Op::BufferClear: {
            uint32_t color = 0;
            uint8_t alpha = 0;
            uint16_t depth = 0;
            ok = in.U32(&color) && in.U8(&alpha) && in.U16(&depth);
            call.args[0] = int32_t(color);
            call.args[1] = alpha;
            call.args[2] = depth;
            break;
        }
        case Op::DrawTriangle:
            vertices = 3;
            break;
        case Op::DrawPolygon:
            ok = in.I32(&call.args[0]);
            vertices = (call.args[0] >= 0 && call.args[0] <= 10) ? call.args[0] : 0;
            break;
        default:
            for (int i = 0; i < ArgCount(call.op) && ok; ++i) {
                ok = in.I32(&call.args[i]);
            }
            break;
        }
        for (int i = 0; i < vertices && ok; ++i) {
            GrVertex v{};
            ok = in.Vertex(&v);
            script->vertices.push_back(v);
        }
        if (!ok) {
            script->vertices.resize(call.firstVertex);
            script->truncated = true;
            *error = "recording cut in the call at byte " + std::to_string(at);
            return true;
        }
        call.vertexCount = uint32_t(vertices);
        if (call.op == Op::BufferSwap) {
            ++script->frames;
        }
        script->calls.push_back(call);
    }
    return true;
}

void Replay(const ReplayScript& script) {
    for (const RecordedCall& c : script.calls) {
        const GrVertex* v = script.vertices.data() + c.firstVertex;
        switch (c.op) {
        case Op::BufferClear:
            grBufferClear(GrColor_t(c.args[0]), GrAlpha_t(c.args[1]), FxU16(c.args[2]));
            break;
        case Op::BufferSwap:
            grBufferSwap(c.args[0]);
            break;
        case Op::DepthBufferMode:
            grDepthBufferMode(c.args[0]);
            break;
        case Op::DepthBufferFunction:
            grDepthBufferFunction(c.args[0]);
            break;
        case Op::DepthMask:
            grDepthMask(c.args[0]);
            break;
        case Op::AlphaBlendFunction:
            grAlphaBlendFunction(c.args[0], c.args[1], c.args[2], c.args[3]);
            break;
        case Op::AlphaSource:
            guAlphaSource(c.args[0]);
            break;
        case Op::ColorCombine:
            guColorCombineFunction(c.args[0]);
            break;
        case Op::DitherMode:
            grDitherMode(c.args[0]);
            break;
        case Op::DrawTriangle:
            grDrawTriangle(&v[0], &v[1], &v[2]);
            break;
        case Op::DrawPolygon:
            // A count recorded without its vertices is refused by the API as it was
            // when recorded; it never reads past the script's vertices.
            if (c.vertexCount == uint32_t(c.args[0])) {
                grDrawPolygonVertexList(c.args[0], v);
            }
            break;
        case Op::LfbLock: {
            GrLfbInfo_t info{};
            info.size = sizeof info;
            if (grLfbLock(c.args[0], c.args[1], c.args[2], c.args[3], c.args[4], &info)) {
                grLfbUnlock(c.args[0], c.args[1]);
            }
            break;
        }
        case Op::ScreenWidth:
            grSstScreenWidth();
            break;
        case Op::ScreenHeight:
            grSstScreenHeight();
            break;
        default: // board set-up and shutdown belong to the caller; unlocks pair above
            break;
        }
    }
}

} // namespace glide
