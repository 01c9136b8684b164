// The shape of one loaded object file: points, polygons of at most four points,
// a unit face normal per polygon and a smoothed unit normal per point. A Mesh has
// no position, colour or material; after loading it is read-only and shared.
#pragma once

#include "geometry/vecmath.h"

#include <cstdint>

// Most points one polygon may have; the object loader refuses larger polygons.
constexpr int MaxPolygonPoints = 4;

struct Polygon {
    uint16_t indices[MaxPolygonPoints]; // into Mesh::points; only the first count are meaningful
    int16_t count;                      // 1 to 4 after a successful load
    Vector3 normal;                     // unit face normal; zero for fewer than 3 points or no area
};

class Mesh {
public:
    Polygon* polygons = nullptr;     // polygonCount records, in file order
    Vector3* points = nullptr;       // pointCount positions in the object's own coordinates
    Vector3* pointNormals = nullptr; // pointCount unit normals; zero for an unused point
    int16_t polygonCount = 0;
    int16_t pointCount = 0;

    Mesh() = default;
    ~Mesh() { Release(); }
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Frees the three arrays and sets them to null (counts are left alone), so a
    // second call or a later Load is harmless.
    void Release();

    // Reads a LightWave object file (form type LWOB) through File: from the open
    // data archive when there is one, else from the disk. False when the file is
    // missing, not an LWOB object, or broken; the mesh is then empty (null arrays,
    // zero counts). See geometry/lwob.h for the rules and the reasons.
    bool Load(const char* fileName);

    // Fills every polygon's normal and pointNormals from points and polygons.
    // Needs pointNormals allocated with pointCount entries and every index of
    // every polygon below pointCount. Linear in the number of indices.
    void ComputeNormals();
};
