// The LightWave object loader. The file is read whole through File and parsed
// from memory with explicit bounds, so no count in the file can make a read or a
// write leave its buffer.
#include "geometry/lwob.h"

#include "glide/bytes.h"
#include "toolkit/file.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr int32_t MaxMeshCount = 32767; // the counts are signed 16-bit fields

bool Fail(ObjectLoadReport* report, ObjectProblem problem, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

bool Fail(ObjectLoadReport* report, ObjectProblem problem, const char* format, ...) {
    if (report != nullptr) {
        report->problem = problem;
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(report->message, sizeof report->message, format, arguments);
        va_end(arguments);
    }
    return false;
}

// A polygon chunk walked once to count and check its records, and again to store them.
struct PolygonChunk {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    uint32_t offset = 0; // of the data in the file, for messages
};

// Walks the records of a "POLS" chunk. With out null it only checks the layout
// and counts; with out it stores the polygons (out has room for the count found
// by the checking walk). Detail polygons are passed over.
bool WalkPolygons(const PolygonChunk& chunk, Polygon* out, int32_t& polygonCount,
                  ObjectLoadReport* report) {
    ByteReader in(chunk.data, chunk.size, ByteOrder::Big);
    int32_t count = 0;
    int32_t details = 0;
    int32_t largest = 0;
    // Reads one record's point count and checks that the rest of the record
    // (indices, surface number) lies inside the chunk.
    auto record = [&](bool detail, int& points) -> bool {
        const uint32_t at = chunk.offset + static_cast<uint32_t>(in.Position());
        int16_t stored = 0;
        if (!in.I16(&stored))
            return Fail(report, ObjectProblem::PolygonOverrun,
                        "POLS: %s at byte %u is cut off by the end of the chunk",
                        detail ? "detail polygon" : "polygon", at);
        points = stored;
        if (points <= 0)
            return Fail(
                report, ObjectProblem::BadPolygonCount, "POLS: %s %d at byte %u has %d points",
                detail ? "detail polygon" : "polygon", detail ? details : count, at, points);
        if (points > largest)
            largest = points;
        if (!detail && points > MaxPolygonPoints)
            return Fail(report, ObjectProblem::PolygonTooLarge,
                        "POLS: polygon %d at byte %u has %d points; at most %d are supported",
                        count, at, points, MaxPolygonPoints);
        if (!in.Has(2u + 2u * static_cast<uint32_t>(points)))
            return Fail(report, ObjectProblem::PolygonOverrun,
                        "POLS: %s %d at byte %u runs past the end of the chunk",
                        detail ? "detail polygon" : "polygon", detail ? details : count, at);
        return true;
    };
    // The reads below cannot fail: record() has checked the room for them.
    while (in.Remaining() > 0) {
        int points = 0;
        if (!record(false, points))
            return false;
        if (count >= MaxMeshCount)
            return Fail(report, ObjectProblem::TooManyPolygons, "POLS: more than %d polygons",
                        MaxMeshCount);
        if (out != nullptr) {
            Polygon& polygon = out[count];
            polygon = Polygon{};
            for (int k = 0; k < points; ++k)
                in.U16(&polygon.indices[k]);
            polygon.count = static_cast<int16_t>(points);
        } else {
            in.Skip(2u * static_cast<uint32_t>(points));
        }
        int16_t surface = 0;
        in.I16(&surface);
        ++count;
        if (surface < 0) {
            // Detail polygons follow: their number, then ordinary records.
            uint16_t detailCount = 0;
            if (!in.U16(&detailCount))
                return Fail(report, ObjectProblem::PolygonOverrun,
                            "POLS: the detail count of polygon %d at byte %u is cut off by the "
                            "end of the chunk",
                            count - 1, chunk.offset + static_cast<uint32_t>(in.Position()));
            for (uint32_t d = 0; d < detailCount; ++d) {
                int detailPoints = 0;
                if (!record(true, detailPoints))
                    return false;
                in.Skip(2u + 2u * static_cast<uint32_t>(detailPoints));
                ++details;
            }
        }
    }
    polygonCount = count;
    if (report != nullptr) {
        report->detailPolygons = details;
        if (largest > report->largestPolygon)
            report->largestPolygon = largest;
    }
    return true;
}

void NoteChunk(ObjectLoadReport* report, const uint8_t* tag, uint32_t offset, uint32_t size) {
    if (report == nullptr)
        return;
    if (report->chunkCount < ObjectLoadReport::MaxChunks) {
        ObjectLoadReport::Chunk& chunk = report->chunks[report->chunkCount];
        for (int i = 0; i < 4; ++i) {
            const uint8_t c = tag[i];
            chunk.tag[i] = (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
        }
        chunk.tag[4] = '\0';
        chunk.offset = offset;
        chunk.size = size;
    }
    ++report->chunkCount;
}

// Printable form of a tag for messages.
void TagText(const uint8_t* tag, char (&text)[5]) {
    for (int i = 0; i < 4; ++i)
        text[i] = (tag[i] >= 0x20 && tag[i] < 0x7f) ? static_cast<char>(tag[i]) : '?';
    text[4] = '\0';
}

bool LoadParsed(Mesh& mesh, const uint8_t* data, size_t fileSize, ObjectLoadReport* report) {
    if (fileSize < 4 || std::memcmp(data, "FORM", 4) != 0)
        return Fail(report, ObjectProblem::NotForm, "not an IFF file: it does not start with FORM");
    if (fileSize < 12 || std::memcmp(data + 8, "LWOB", 4) != 0)
        return Fail(report, ObjectProblem::NotLwob,
                    "not a LightWave object: the form type is not LWOB");
    ByteReader in(data, fileSize, ByteOrder::Big);
    in.Seek(4);
    uint32_t formSize = 0;
    in.U32(&formSize);
    in.Skip(4); // the form type
    if (report != nullptr)
        report->formSize = formSize;

    bool havePoints = false;
    bool havePolygons = false;
    PolygonChunk polygonChunk;
    while (in.Remaining() >= 4) {
        const size_t header = in.Position();
        uint8_t tag[4];
        in.Bytes(tag, sizeof tag);
        char tagText[5];
        TagText(tag, tagText);
        uint32_t size = 0;
        if (!in.U32(&size))
            return Fail(report, ObjectProblem::TruncatedChunk,
                        "chunk %s at byte %u: its header is cut off by the end of the file",
                        tagText, static_cast<unsigned>(header));
        NoteChunk(report, tag, static_cast<uint32_t>(header), size);
        ByteReader body(data, 0, ByteOrder::Big);
        if (!in.Part(size, &body))
            return Fail(report, ObjectProblem::ChunkPastEnd,
                        "chunk %s at byte %u: its size %u runs past the end of the file (%u bytes "
                        "left)",
                        tagText, static_cast<unsigned>(header), size,
                        static_cast<unsigned>(in.Remaining()));

        if (std::memcmp(tag, "PNTS", 4) == 0) {
            if (havePoints)
                return Fail(report, ObjectProblem::DuplicateChunk, "a second PNTS chunk at byte %u",
                            static_cast<unsigned>(header));
            havePoints = true;
            if (size % 12 != 0)
                return Fail(report, ObjectProblem::BadPointsSize,
                            "PNTS: size %u is not a multiple of 12 (three floats a point)", size);
            if (size / 12 > static_cast<uint32_t>(MaxMeshCount))
                return Fail(report, ObjectProblem::TooManyPoints,
                            "PNTS: %u points; at most %d are supported", size / 12, MaxMeshCount);
            const int count = static_cast<int>(size / 12);
            if (count > 0) {
                mesh.points = new (std::nothrow) Vector3[count];
                if (mesh.points == nullptr)
                    return Fail(report, ObjectProblem::OutOfMemory, "out of memory for %d points",
                                count);
            }
            for (int i = 0; i < count; ++i) {
                Vector3 point{}; // the size check above leaves room for every point
                body.F32(&point.x);
                body.F32(&point.y);
                body.F32(&point.z);
                if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z))
                    return Fail(report, ObjectProblem::BadCoordinate,
                                "PNTS: point %d has a coordinate that is not a finite number", i);
                mesh.points[i] = point;
            }
            mesh.pointCount = static_cast<int16_t>(count);
        } else if (std::memcmp(tag, "POLS", 4) == 0) {
            if (havePolygons)
                return Fail(report, ObjectProblem::DuplicateChunk, "a second POLS chunk at byte %u",
                            static_cast<unsigned>(header));
            havePolygons = true;
            polygonChunk.data = body.Here();
            polygonChunk.size = size;
            polygonChunk.offset = static_cast<uint32_t>(header + 8);
            int32_t count = 0;
            if (!WalkPolygons(polygonChunk, nullptr, count, report))
                return false;
            if (count > 0) {
                mesh.polygons = new (std::nothrow) Polygon[count];
                if (mesh.polygons == nullptr)
                    return Fail(report, ObjectProblem::OutOfMemory, "out of memory for %d polygons",
                                count);
                if (!WalkPolygons(polygonChunk, mesh.polygons, count, report))
                    return false;
            }
            mesh.polygonCount = static_cast<int16_t>(count);
        } else if (report != nullptr) {
            ++report->skippedChunks;
        }

        // IFF pads an odd-sized chunk to even length with a zero byte. A tag never
        // starts with a zero byte, so one found here is padding.
        if ((size & 1u) != 0 && in.Remaining() > 0 && *in.Here() == 0) {
            in.Skip(1);
            if (report != nullptr)
                ++report->paddedChunks;
        }
    }

    if (!havePoints)
        return Fail(report, ObjectProblem::NoPoints, "no PNTS chunk: the object has no points");
    for (int i = 0; i < mesh.polygonCount; ++i) {
        const Polygon& polygon = mesh.polygons[i];
        for (int k = 0; k < polygon.count; ++k) {
            if (polygon.indices[k] >= mesh.pointCount)
                return Fail(report, ObjectProblem::BadIndex,
                            "POLS: polygon %d refers to point %u; the object has %d points", i,
                            static_cast<unsigned>(polygon.indices[k]), mesh.pointCount);
        }
    }
    if (mesh.pointCount > 0) {
        mesh.pointNormals = new (std::nothrow) Vector3[mesh.pointCount];
        if (mesh.pointNormals == nullptr)
            return Fail(report, ObjectProblem::OutOfMemory, "out of memory for %d point normals",
                        mesh.pointCount);
    }
    mesh.ComputeNormals();
    return true;
}

void Empty(Mesh& mesh) {
    mesh.Release();
    mesh.polygonCount = 0;
    mesh.pointCount = 0;
}

} // namespace

const char* ObjectProblemText(ObjectProblem problem) {
    switch (problem) {
    case ObjectProblem::None:
        return "no problem";
    case ObjectProblem::OpenFailed:
        return "the file cannot be opened";
    case ObjectProblem::ReadFailed:
        return "the file cannot be read";
    case ObjectProblem::TooLarge:
        return "the file is too large for an object";
    case ObjectProblem::NotForm:
        return "not an IFF FORM file";
    case ObjectProblem::NotLwob:
        return "not a LightWave LWOB object";
    case ObjectProblem::TruncatedChunk:
        return "a chunk header is cut off";
    case ObjectProblem::ChunkPastEnd:
        return "a chunk runs past the end of the file";
    case ObjectProblem::DuplicateChunk:
        return "a PNTS or POLS chunk appears twice";
    case ObjectProblem::NoPoints:
        return "there is no PNTS chunk";
    case ObjectProblem::BadPointsSize:
        return "the PNTS size is not a multiple of 12";
    case ObjectProblem::TooManyPoints:
        return "more than 32767 points";
    case ObjectProblem::BadCoordinate:
        return "a point coordinate is not a finite number";
    case ObjectProblem::BadPolygonCount:
        return "a polygon has no points";
    case ObjectProblem::PolygonTooLarge:
        return "a polygon has more than 4 points";
    case ObjectProblem::PolygonOverrun:
        return "a polygon record runs past its chunk";
    case ObjectProblem::TooManyPolygons:
        return "more than 32767 polygons";
    case ObjectProblem::BadIndex:
        return "a polygon refers to a point that does not exist";
    case ObjectProblem::OutOfMemory:
        return "out of memory";
    }
    return "unknown problem";
}

bool LoadObject(Mesh& mesh, const uint8_t* data, size_t size, ObjectLoadReport* report) {
    Empty(mesh);
    if (report != nullptr) {
        *report = ObjectLoadReport{};
        report->fileSize = static_cast<uint32_t>(size);
    }
    if (size > MaxObjectFileSize)
        return Fail(report, ObjectProblem::TooLarge,
                    "%lu bytes; an object file may have at most %u",
                    static_cast<unsigned long>(size), MaxObjectFileSize);
    if (size > 0 && data == nullptr)
        return Fail(report, ObjectProblem::ReadFailed, "no data");
    const uint8_t empty[1] = {0};
    if (!LoadParsed(mesh, size > 0 ? data : empty, size, report)) {
        Empty(mesh);
        return false;
    }
    return true;
}

bool LoadObjectFile(Mesh& mesh, const char* fileName, ObjectLoadReport* report) {
    Empty(mesh);
    if (report != nullptr)
        *report = ObjectLoadReport{};
    File file;
    if (fileName == nullptr || !file.Open(fileName, ModeRead | ModeBigEndian))
        return Fail(report, ObjectProblem::OpenFailed, "cannot open %s",
                    fileName != nullptr ? fileName : "(no name)");
    uint32_t size = 0;
    if (!file.GetSize(&size))
        return Fail(report, ObjectProblem::ReadFailed, "cannot find the size of %s", fileName);
    if (size > MaxObjectFileSize)
        return Fail(report, ObjectProblem::TooLarge,
                    "%s has %u bytes; an object file may have at most %u", fileName, size,
                    MaxObjectFileSize);
    uint8_t* bytes = new (std::nothrow) uint8_t[size > 0 ? size : 1];
    if (bytes == nullptr)
        return Fail(report, ObjectProblem::OutOfMemory, "out of memory for %u bytes of %s", size,
                    fileName);
    if (size > 0 && !file.Read(bytes, size)) {
        delete[] bytes;
        return Fail(report, ObjectProblem::ReadFailed, "cannot read the %u bytes of %s", size,
                    fileName);
    }
    file.Close();
    const bool loaded = LoadObject(mesh, bytes, size, report);
    delete[] bytes;
    return loaded;
}

bool Mesh::Load(const char* fileName) {
    return LoadObjectFile(*this, fileName, nullptr);
}
