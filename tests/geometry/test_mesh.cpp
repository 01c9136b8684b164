// Mesh storage and normals: face normals, the linear point-normal pass against
// a per-point walk, and points or faces without a direction.
#include "geometry/mesh.h"
#include "tests/support/geometry_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

using testsupport::HandMesh;

namespace {

void ExpectVector(const Vector3& v, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

TEST(Mesh, ReleaseTwiceIsHarmless) {
    HandMesh filled({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}, {{0, 1, 2}});
    filled.mesh.Release();
    filled.mesh.Release();
    EXPECT_EQ(filled.mesh.points, nullptr);
}

TEST(Mesh, SharedEdgePointsAverageTheirFaces) {
    // Two triangles folded along the edge 1–2: one faces −z (by its point order),
    // the other −x.
    HandMesh t({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, 1, 2}, {3, 1, 0}});
    ExpectVector(t.mesh.polygons[0].normal, 0, 0, -1);
    const Vector3 second = t.mesh.polygons[1].normal;
    EXPECT_NEAR(second.Length(), 1.0f, 1e-6f);
    // Points 0 and 1 are shared: the normalised mean of both faces.
    Vector3 mean{(0 + second.x) / 2, (0 + second.y) / 2, (-1 + second.z) / 2};
    mean.Normalize();
    ExpectVector(t.mesh.pointNormals[0], mean.x, mean.y, mean.z);
    ExpectVector(t.mesh.pointNormals[1], mean.x, mean.y, mean.z);
    ExpectVector(t.mesh.pointNormals[2], 0, 0, -1);
    ExpectVector(t.mesh.pointNormals[3], second.x, second.y, second.z);
}

TEST(Mesh, PointsAndFacesWithoutADirectionGetFiniteZeroNormals) {
    // Point 3 is used by no polygon; polygon 1 is a line; polygon 2 has no area;
    // point 4 is used only by the line.
    HandMesh t({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {5, 5, 5}, {9, 9, 9}},
               {{0, 1, 2}, {0, 4}, {0, 0, 1}});
    ExpectVector(t.mesh.polygons[1].normal, 0, 0, 0, 0);
    ExpectVector(t.mesh.polygons[2].normal, 0, 0, 0, 0);
    ExpectVector(t.mesh.pointNormals[3], 0, 0, 0, 0);
    ExpectVector(t.mesh.pointNormals[4], 0, 0, 0, 0);
    ExpectVector(t.mesh.pointNormals[0], 0, 0, -1);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(std::isfinite(t.mesh.pointNormals[i].Length())) << "point " << i;

    const float e = 1e-20f; // the cross product underflows toward the smallest floats
    HandMesh tiny({{0, 0, 0}, {0, e, 0}, {e, 0, 0}}, {{0, 1, 2}});
    ExpectVector(tiny.mesh.polygons[0].normal, 0, 0, -1, 1e-3f);
}

// The per-point walk over every polygon, as the normals are defined.
std::vector<Vector3> ReferencePointNormals(const Mesh& mesh) {
    std::vector<Vector3> normals(mesh.pointCount);
    for (int i = 0; i < mesh.pointCount; ++i) {
        Vector3 sum{0, 0, 0};
        int n = 0;
        for (int p = 0; p < mesh.polygonCount; ++p) {
            const Polygon& polygon = mesh.polygons[p];
            for (int k = 0; k < polygon.count; ++k) {
                if (polygon.indices[k] == i) {
                    sum.x += polygon.normal.x;
                    sum.y += polygon.normal.y;
                    sum.z += polygon.normal.z;
                    ++n;
                }
            }
        }
        if (n > 0) {
            sum.x /= static_cast<float>(n);
            sum.y /= static_cast<float>(n);
            sum.z /= static_cast<float>(n);
            if (sum.Length() > 0)
                sum.Normalize();
        }
        normals[i] = sum;
    }
    return normals;
}

TEST(Mesh, LinearPointNormalPassMatchesThePerPointWalkExactly) {
    std::srand(12345);
    std::vector<Vector3> points(300);
    for (Vector3& p : points)
        p = Vector3{float(std::rand() % 2001 - 1000) / 37.0f,
                    float(std::rand() % 2001 - 1000) / 53.0f,
                    float(std::rand() % 2001 - 1000) / 91.0f};
    std::vector<std::vector<uint16_t>> polygons;
    for (int i = 0; i < 500; ++i) {
        std::vector<uint16_t> polygon;
        const int count = 3 + std::rand() % 2;
        for (int k = 0; k < count; ++k)
            polygon.push_back(static_cast<uint16_t>(std::rand() % 280)); // 20 points unused
        polygons.push_back(polygon);
    }
    HandMesh t(points, polygons);
    const std::vector<Vector3> reference = ReferencePointNormals(t.mesh);
    for (int i = 0; i < t.mesh.pointCount; ++i) {
        EXPECT_EQ(t.mesh.pointNormals[i].x, reference[i].x) << "point " << i;
        EXPECT_EQ(t.mesh.pointNormals[i].y, reference[i].y) << "point " << i;
        EXPECT_EQ(t.mesh.pointNormals[i].z, reference[i].z) << "point " << i;
    }
}

} // namespace
