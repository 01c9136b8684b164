// LightWave object files (IFF FORM/LWOB) built byte by byte, for tests and fuzzer seeds.
#pragma once

#include "glide/bytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lwobtest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint16_t value) {
    ByteWriter(out, ByteOrder::Big).U16(value);
}

inline void Put32(Bytes& out, uint32_t value) {
    ByteWriter(out, ByteOrder::Big).U32(value);
}

inline void PutTag(Bytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i) // byte by byte: GCC 12 misreads a 4-byte range insert
        out.push_back(static_cast<uint8_t>(tag[i]));
}

struct Point {
    float x, y, z;
};

inline Bytes PointData(const std::vector<Point>& points) {
    Bytes out;
    ByteWriter writer(out, ByteOrder::Big);
    for (const Point& p : points) {
        writer.F32(p.x);
        writer.F32(p.y);
        writer.F32(p.z);
    }
    return out;
}

// One polygon record; a negative surface must be followed by a detail count and records.
inline void PutPolygon(Bytes& out, const std::vector<uint16_t>& indices, int16_t surface = 1) {
    Put16(out, static_cast<uint16_t>(indices.size()));
    for (uint16_t index : indices)
        Put16(out, index);
    Put16(out, static_cast<uint16_t>(surface));
}

// A whole file from chunks; pad adds the IFF zero byte after an odd-sized chunk.
class Builder {
public:
    Builder& Chunk(const char* tag, const Bytes& data, bool pad = true) {
        PutTag(body, tag);
        Put32(body, static_cast<uint32_t>(data.size()));
        body.insert(body.end(), data.begin(), data.end());
        if (pad && (data.size() & 1) != 0)
            body.push_back(0);
        return *this;
    }
    // A chunk header whose size field says something other than the data's length.
    Builder& RawChunk(const char* tag, uint32_t declaredSize, const Bytes& data) {
        PutTag(body, tag);
        Put32(body, declaredSize);
        body.insert(body.end(), data.begin(), data.end());
        return *this;
    }
    Builder& Points(const std::vector<Point>& points) { return Chunk("PNTS", PointData(points)); }
    Builder& Raw(const Bytes& bytes) {
        body.insert(body.end(), bytes.begin(), bytes.end());
        return *this;
    }

    Bytes Build(const char* formType = "LWOB") const {
        Bytes out;
        PutTag(out, "FORM");
        Put32(out, static_cast<uint32_t>(body.size() + 4));
        PutTag(out, formType);
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }

private:
    Bytes body;
};

// The surface name list: zero-terminated names, each padded to even length.
inline Bytes SurfaceNames(const std::vector<std::string>& names) {
    Bytes out;
    for (const std::string& name : names) {
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
        if ((name.size() + 1) % 2 != 0)
            out.push_back(0);
    }
    return out;
}

// A surface description: its name, then a colour sub-chunk (tag, 16-bit size, data).
inline Bytes SurfaceDescription(const std::string& name, uint8_t r, uint8_t g, uint8_t b) {
    Bytes out = SurfaceNames({name});
    PutTag(out, "COLR");
    Put16(out, 4);
    out.insert(out.end(), {r, g, b, 0});
    return out;
}

// A cube of half side `half` about the origin: 6 quadrilaterals with outward normals.
inline Bytes Cube(float half = 1) {
    Bytes polygons;
    const uint16_t faces[6][4] = {{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1},
                                  {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
    for (const auto& face : faces)
        PutPolygon(polygons, {face[0], face[1], face[2], face[3]});
    std::vector<Point> corners; // the square (-,-) (-,+) (+,+) (+,-) at z = -half, then +half
    for (float z : {-half, half})
        for (int i = 0; i < 4; ++i)
            corners.push_back({i < 2 ? -half : half, (i == 1 || i == 2) ? half : -half, z});
    return Builder()
        .Points(corners)
        .Chunk("POLS", polygons)
        .Chunk("SRFS", SurfaceNames({"Default"}))
        .Chunk("SURF", SurfaceDescription("Default", 200, 200, 200))
        .Build();
}

// Another writer's layout: surfaces first, an unpadded odd chunk, a quadrilateral with two
// detail polygons, an optional pentagon, a line, a point and a triangle.
inline Bytes ForeignObject(bool withPentagon) {
    Bytes polygons;
    PutPolygon(polygons, {0, 1, 2, 3}, -1); // detail polygons follow
    Put16(polygons, 2);
    PutPolygon(polygons, {4, 5, 6}, 2);
    PutPolygon(polygons, {4, 6, 7}, 2);
    if (withPentagon)
        PutPolygon(polygons, {0, 1, 2, 3, 4}, 1);
    PutPolygon(polygons, {0, 2}, 1);
    PutPolygon(polygons, {5}, 1);
    PutPolygon(polygons, {0, 1, 2}, 1);
    const std::vector<Point> square = {{0, 0, 0},       {0, 2, 0},       {2, 2, 0},
                                       {2, 0, 0},       {0.5f, 0.5f, 0}, {0.5f, 1.5f, 0},
                                       {1.5f, 1.5f, 0}, {1.5f, 0.5f, 0}};
    return Builder()
        .Chunk("SRFS", SurfaceNames({"Base", "Decal"}))
        .Chunk("SURF", SurfaceDescription("Base", 255, 0, 0))
        .Chunk("SURF", SurfaceDescription("Decal", 0, 0, 255))
        .Chunk("XTRA", Bytes{1, 2, 3}, /*pad=*/false)
        .Points(square)
        .Chunk("POLS", polygons)
        .Build();
}

} // namespace lwobtest
