// The LightWave object loader: reads the points and polygons of an IFF "FORM"
// file of form type "LWOB" into a Mesh and computes its normals. Surfaces and
// every other chunk are skipped. Knows nothing of scenes or drawing.
//
// Rules, beyond the format itself (all numbers big-endian):
// - exactly one "PNTS" chunk (size a multiple of 12, at most 32767 points) and at
//   most one "POLS" chunk; chunks may come in any order;
// - polygons have 1 to 4 points and indices below the point count; a record
//   must end inside its chunk and the records must fill it exactly;
// - a negative surface number announces detail polygons: they are read past and
//   dropped (the mesh has one surface, and a detail drawn over its own base
//   polygon in the same colour shows nothing);
// - a chunk must end inside the file; after a chunk of odd size one zero pad byte
//   is skipped when present (IFF writers add it, some LightWave writers do not);
// - point coordinates must be finite.
// Any failure leaves the Mesh empty (null arrays, zero counts).
#pragma once

#include "geometry/mesh.h"

#include <cstddef>
#include <cstdint>

// Largest object file the loader reads, in bytes. A full object (32767 points
// and as many quadrilaterals) takes well under 1 MiB.
constexpr uint32_t MaxObjectFileSize = 32u << 20;

enum class ObjectProblem {
    None,
    OpenFailed,      // the file could not be opened (or is not in the archive)
    ReadFailed,      // the file could not be read whole
    TooLarge,        // larger than MaxObjectFileSize
    NotForm,         // does not start with "FORM"
    NotLwob,         // form type is not "LWOB"
    TruncatedChunk,  // a chunk header is cut off by the end of the file
    ChunkPastEnd,    // a chunk's size runs past the end of the file
    DuplicateChunk,  // a second "PNTS" or "POLS" chunk
    NoPoints,        // no "PNTS" chunk
    BadPointsSize,   // "PNTS" size not a multiple of 12
    TooManyPoints,   // more than 32767 points
    BadCoordinate,   // a point coordinate is infinite or not a number
    BadPolygonCount, // a polygon with 0 points or fewer
    PolygonTooLarge, // a polygon with more than 4 points
    PolygonOverrun,  // a polygon record runs past the end of its chunk
    TooManyPolygons, // more than 32767 polygons
    BadIndex,        // a polygon index not below the point count
    OutOfMemory,     // an array could not be allocated
};

// What a load saw: the reason for a failure, and notes for a content author.
struct ObjectLoadReport {
    ObjectProblem problem = ObjectProblem::None;
    char message[200] = {}; // one line, no line feed; empty after a clean load
    uint32_t fileSize = 0;
    uint32_t formSize = 0;      // the FORM header's size field (not checked)
    int32_t skippedChunks = 0;  // chunks other than PNTS and POLS
    int32_t paddedChunks = 0;   // odd-sized chunks followed by a pad byte
    int32_t detailPolygons = 0; // detail polygons read past and dropped
    int32_t largestPolygon = 0; // most points of any polygon record (details included)

    // The chunks in file order (the first MaxChunks of them).
    struct Chunk {
        char tag[5];     // zero-terminated
        uint32_t offset; // of the chunk header from the start of the file
        uint32_t size;   // of the data, as the header says
    };
    static constexpr int MaxChunks = 32;
    Chunk chunks[MaxChunks] = {};
    int32_t chunkCount = 0; // all chunks seen, may exceed MaxChunks
};

// Short text for a problem, for example "a polygon has more than 4 points".
const char* ObjectProblemText(ObjectProblem problem);

// Loads an object from bytes in memory (size bytes at data). report may be null.
bool LoadObject(Mesh& mesh, const uint8_t* data, size_t size, ObjectLoadReport* report);

// Reads fileName whole through File (from the data archive when one is open,
// big-endian numbers) and loads it as LoadObject does. report may be null.
bool LoadObjectFile(Mesh& mesh, const char* fileName, ObjectLoadReport* report);
