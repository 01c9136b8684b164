// Mesh storage and normals. Loading lives in lwob.cpp.
#include "geometry/mesh.h"

#include <cmath>
#include <new>

namespace {

// Scales v to unit length; a vector without a direction (zero, or not finite)
// becomes zero, so that lighting treats it as facing nothing.
void NormalizeOrZero(Vector3& v) {
    const float length = v.Length();
    if (!(length > 0.0f) || !std::isfinite(length)) {
        v = Vector3{0.0f, 0.0f, 0.0f};
        return;
    }
    const float f = 1.0f / length;
    if (std::isfinite(f)) {
        v.x *= f;
        v.y *= f;
        v.z *= f;
    } else { // length below the smallest float reciprocal: divide in double
        v = Vector3{static_cast<float>(v.x / static_cast<double>(length)),
                    static_cast<float>(v.y / static_cast<double>(length)),
                    static_cast<float>(v.z / static_cast<double>(length))};
    }
}

} // namespace

void Mesh::Release() {
    if (polygons != nullptr) {
        delete[] polygons;
        polygons = nullptr;
    }
    if (points != nullptr) {
        delete[] points;
        points = nullptr;
    }
    if (pointNormals != nullptr) {
        delete[] pointNormals;
        pointNormals = nullptr;
    }
}

void Mesh::ComputeNormals() {
    // Face normals: (P1 − P0) × (P2 − P1), formed in double, stored as float, then
    // scaled to unit length. Fewer than three points give no face and a zero normal.
    for (int i = 0; i < polygonCount; ++i) {
        Polygon& polygon = polygons[i];
        if (polygon.count < 3) {
            polygon.normal = Vector3{0.0f, 0.0f, 0.0f};
            continue;
        }
        const Vector3& p0 = points[polygon.indices[0]];
        const Vector3& p1 = points[polygon.indices[1]];
        const Vector3& p2 = points[polygon.indices[2]];
        const double ax = static_cast<double>(p1.x) - p0.x;
        const double ay = static_cast<double>(p1.y) - p0.y;
        const double az = static_cast<double>(p1.z) - p0.z;
        const double bx = static_cast<double>(p2.x) - p1.x;
        const double by = static_cast<double>(p2.y) - p1.y;
        const double bz = static_cast<double>(p2.z) - p1.z;
        polygon.normal =
            Vector3{static_cast<float>(ay * bz - az * by), static_cast<float>(az * bx - ax * bz),
                    static_cast<float>(ax * by - ay * bx)};
        NormalizeOrZero(polygon.normal);
    }

    // Point normals: the mean of the face normals of every polygon entry that
    // lists the point (twice if listed twice), then unit length. One pass over
    // the indices; each point's sum is accumulated in polygon order, as a
    // per-point walk over all polygons would.
    if (pointCount <= 0)
        return;
    for (int i = 0; i < pointCount; ++i)
        pointNormals[i] = Vector3{0.0f, 0.0f, 0.0f};
    int32_t* uses = new (std::nothrow) int32_t[pointCount]();
    for (int i = 0; i < polygonCount; ++i) {
        const Polygon& polygon = polygons[i];
        for (int k = 0; k < polygon.count; ++k) {
            const uint16_t index = polygon.indices[k];
            Vector3& sum = pointNormals[index];
            sum.x += polygon.normal.x;
            sum.y += polygon.normal.y;
            sum.z += polygon.normal.z;
            if (uses != nullptr)
                ++uses[index];
        }
    }
    for (int i = 0; i < pointCount; ++i) {
        Vector3& normal = pointNormals[i];
        // Without the use counts the mean is skipped: it does not change the direction.
        if (uses != nullptr && uses[i] > 0) {
            const float n = static_cast<float>(uses[i]);
            normal.x /= n;
            normal.y /= n;
            normal.z /= n;
        }
        NormalizeOrZero(normal);
    }
    delete[] uses;
}
