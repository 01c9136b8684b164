#include "assets/lwob_writer.h"

#include "glide/bytes.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace assets {

namespace {

void PutTag(ByteWriter& out, const char* tag) {
    out.Bytes(tag, 4);
}

// A zero-terminated name padded with a second zero to an even length, as IFF
// strings are stored.
void PutName(ByteWriter& out, const std::string& name) {
    out.Bytes(name.data(), name.size());
    out.U8(0);
    if (name.size() % 2 == 0)
        out.U8(0);
}

void PutChunk(ByteWriter& out, const char* tag, const std::vector<uint8_t>& data) {
    assert(data.size() % 2 == 0 && "every chunk this writer makes has an even size");
    PutTag(out, tag);
    out.U32(static_cast<uint32_t>(data.size()));
    out.Bytes(data.data(), data.size());
}

// Twice the signed area of a polygon in the x-y plane (y up): negative when the
// corners run clockwise.
float TwiceArea(const std::vector<std::pair<float, float>>& corners) {
    float sum = 0.0f;
    for (size_t i = 0; i < corners.size(); ++i) {
        const auto& a = corners[i];
        const auto& b = corners[(i + 1) % corners.size()];
        sum += a.first * b.second - b.first * a.second;
    }
    return sum;
}

} // namespace

LwobWriter::LwobWriter(std::string surfaceName, uint8_t red, uint8_t green, uint8_t blue)
    : surfaceName(std::move(surfaceName)), colour{red, green, blue} {
}

int LwobWriter::AddPoint(float x, float y, float z) {
    points.push_back({x, y, z});
    return static_cast<int>(points.size()) - 1;
}

void LwobWriter::AddPolygon(const std::vector<int>& indices) {
    assert(!indices.empty() && indices.size() <= 4 && "the show draws polygons of 1 to 4 points");
    polygons.push_back(indices);
}

void LwobWriter::AddFlat(const std::vector<std::pair<float, float>>& corners, float z,
                         Facing facing) {
    assert((corners.size() == 3 || corners.size() == 4) && "flat polygons have 3 or 4 corners");
    // Clockwise seen from the -z side makes the face normal point to -z.
    bool clockwise = TwiceArea(corners) < 0.0f;
    bool wantClockwise = facing == Facing::TowardViewer;
    std::vector<int> indices;
    for (const auto& corner : corners)
        indices.push_back(AddPoint(corner.first, corner.second, z));
    if (clockwise != wantClockwise)
        std::reverse(indices.begin(), indices.end());
    AddPolygon(indices);
}

void LwobWriter::AddFacing(const std::vector<Point3>& corners, Facing facing) {
    assert((corners.size() == 3 || corners.size() == 4) && "polygons have 3 or 4 corners");
    // z of the face normal (P1 - P0) x (P2 - P1), as the loader computes it.
    const Point3& p0 = corners[0];
    const Point3& p1 = corners[1];
    const Point3& p2 = corners[2];
    float ax = p1.x - p0.x, ay = p1.y - p0.y;
    float bx = p2.x - p1.x, by = p2.y - p1.y;
    float normalZ = ax * by - ay * bx;
    bool towardViewer = normalZ < 0.0f;
    std::vector<int> indices;
    for (const Point3& corner : corners)
        indices.push_back(AddPoint(corner.x, corner.y, corner.z));
    if (towardViewer != (facing == Facing::TowardViewer))
        std::reverse(indices.begin(), indices.end());
    AddPolygon(indices);
}

void LwobWriter::AddRectangle(float cx, float cy, float width, float height, float z,
                              Facing facing) {
    float hw = width * 0.5f;
    float hh = height * 0.5f;
    AddFlat({{cx - hw, cy - hh}, {cx - hw, cy + hh}, {cx + hw, cy + hh}, {cx + hw, cy - hh}}, z,
            facing);
}

float LwobWriter::Radius() const {
    float radius = 0.0f;
    for (const Point3& p : points)
        radius = std::fmax(radius, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
    return radius;
}

std::vector<uint8_t> LwobWriter::Bytes() const {
    assert(points.size() <= 32767 && polygons.size() <= 32767 && "counts are 16-bit in the show");

    // IFF numbers are big-endian.
    constexpr ByteOrder order = ByteOrder::Big;
    std::vector<uint8_t> pnts;
    ByteWriter pntsOut(pnts, order);
    for (const Point3& p : points) {
        pntsOut.F32(p.x);
        pntsOut.F32(p.y);
        pntsOut.F32(p.z);
    }

    std::vector<uint8_t> srfs;
    ByteWriter srfsOut(srfs, order);
    PutName(srfsOut, surfaceName);

    std::vector<uint8_t> pols;
    ByteWriter polsOut(pols, order);
    for (const std::vector<int>& polygon : polygons) {
        polsOut.U16(static_cast<uint16_t>(polygon.size()));
        for (int index : polygon)
            polsOut.U16(static_cast<uint16_t>(index));
        polsOut.U16(1); // surface numbers count from 1 in SRFS order
    }

    // Surface description: base colour and full diffuse, smoothed shading
    // (sub-chunks carry 16-bit sizes).
    std::vector<uint8_t> surf;
    ByteWriter surfOut(surf, order);
    PutName(surfOut, surfaceName);
    PutTag(surfOut, "COLR");
    surfOut.U16(4);
    const uint8_t colr[4] = {colour[0], colour[1], colour[2], 0};
    surfOut.Bytes(colr, sizeof colr);
    PutTag(surfOut, "FLAG");
    surfOut.U16(2);
    surfOut.U16(0x0004); // smoothing
    PutTag(surfOut, "DIFF");
    surfOut.U16(2);
    surfOut.U16(256); // 100 % in 8.8 fixed point
    PutTag(surfOut, "SMAN");
    surfOut.U16(4);
    surfOut.F32(1.5625f); // smoothing angle, radians (89.5 degrees)

    std::vector<uint8_t> body;
    ByteWriter bodyOut(body, order);
    PutTag(bodyOut, "LWOB");
    PutChunk(bodyOut, "PNTS", pnts);
    PutChunk(bodyOut, "SRFS", srfs);
    PutChunk(bodyOut, "POLS", pols);
    PutChunk(bodyOut, "SURF", surf);

    std::vector<uint8_t> file;
    ByteWriter fileOut(file, order);
    PutTag(fileOut, "FORM");
    fileOut.U32(static_cast<uint32_t>(body.size()));
    fileOut.Bytes(body.data(), body.size());
    return file;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::error_code error;
    std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), error);
    if (error)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace assets
