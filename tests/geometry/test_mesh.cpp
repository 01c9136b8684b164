// Mesh normals: face normals, point normals averaged over faces, and directionless ones.
#include "geometry/mesh.h"
#include "tests/support/geometry_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::HandMesh;
using testsupport::VectorNear;

namespace {

TEST(Mesh, SharedEdgePointsAverageTheirFaces) {
    // Two triangles folded along edge 0–1, facing −z and +x; the fold's points take the mean.
    HandMesh t({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, 1, 2}, {3, 1, 0}});
    const float half = std::sqrt(0.5f);
    EXPECT_TRUE(VectorNear(t.mesh.polygons[0].normal, {0, 0, -1}, 1e-6f));
    EXPECT_TRUE(VectorNear(t.mesh.polygons[1].normal, {1, 0, 0}, 1e-6f));
    EXPECT_TRUE(VectorNear(t.mesh.pointNormals[0], {half, 0, -half}, 1e-6f));
    EXPECT_TRUE(VectorNear(t.mesh.pointNormals[1], {half, 0, -half}, 1e-6f));
    EXPECT_TRUE(VectorNear(t.mesh.pointNormals[2], {0, 0, -1}, 1e-6f));
    EXPECT_TRUE(VectorNear(t.mesh.pointNormals[3], {1, 0, 0}, 1e-6f));
    t.mesh.Release();
    t.mesh.Release(); // twice is harmless
}

TEST(Mesh, PointsAndFacesWithoutADirectionGetFiniteZeroNormals) {
    // Point 3 is unused, polygon 1 a line (point 4's only one), polygon 2 without area.
    HandMesh t({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {5, 5, 5}, {9, 9, 9}},
               {{0, 1, 2}, {0, 4}, {0, 0, 1}});
    for (const Vector3& zero : {t.mesh.polygons[1].normal, t.mesh.polygons[2].normal,
                                t.mesh.pointNormals[3], t.mesh.pointNormals[4]})
        EXPECT_TRUE(VectorNear(zero, {0, 0, 0}, 0));
    EXPECT_TRUE(VectorNear(t.mesh.pointNormals[0], {0, 0, -1}, 1e-6f));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(std::isfinite(t.mesh.pointNormals[i].Length())) << "point " << i;

    const float e = 1e-20f; // the cross product underflows toward the smallest floats
    HandMesh tiny({{0, 0, 0}, {0, e, 0}, {e, 0, 0}}, {{0, 1, 2}});
    EXPECT_TRUE(VectorNear(tiny.mesh.polygons[0].normal, {0, 0, -1}, 1e-3f));
}

} // namespace
