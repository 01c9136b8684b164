// Meshes built in place, the show's main view and tolerant vector comparison.
#pragma once

#include "geometry/mesh.h"
#include "geometry/view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace testsupport {

// Each coordinate of actual within tolerance of expected's:
// EXPECT_TRUE(VectorNear(v, {0, 0, -1}, 1e-6f)).
inline ::testing::AssertionResult VectorNear(const Vector3& actual, const Vector3& expected,
                                             float tolerance) {
    if (std::fabs(actual.x - expected.x) <= tolerance &&
        std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not within "
           << tolerance << " of (" << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

// A mesh built in place, as the loader leaves one, with its normals computed.
struct HandMesh {
    Mesh mesh;
    HandMesh(const std::vector<Vector3>& points,
             const std::vector<std::vector<uint16_t>>& polygons) {
        mesh.pointCount = static_cast<int16_t>(points.size());
        mesh.points = new Vector3[points.size()];
        mesh.pointNormals = new Vector3[points.size()];
        for (size_t i = 0; i < points.size(); ++i)
            mesh.points[i] = points[i];
        mesh.polygonCount = static_cast<int16_t>(polygons.size());
        mesh.polygons = new Polygon[polygons.size()];
        for (size_t i = 0; i < polygons.size(); ++i) {
            mesh.polygons[i].count = static_cast<int16_t>(polygons[i].size());
            for (size_t k = 0; k < polygons[i].size(); ++k)
                mesh.polygons[i].indices[k] = polygons[i][k];
        }
        mesh.ComputeNormals();
    }
};

// The show's depth range and a main view for 640 × 480 at 60 degrees with an unmoved
// camera (world and view space coincide); the globals are put back on destruction.
struct MainView {
    View view;
    View* savedView = CurrentView;
    float savedNear = nearDistance, savedFar = farDistance;
    MainView() {
        nearDistance = 0.1f;
        farDistance = 100000.0f;
        view.Setup(640, 480, 60, 0, 0);
        CurrentView = &view;
    }
    ~MainView() {
        CurrentView = savedView;
        nearDistance = savedNear;
        farDistance = savedFar;
    }
    MainView(const MainView&) = delete;
    MainView& operator=(const MainView&) = delete;
};

} // namespace testsupport
