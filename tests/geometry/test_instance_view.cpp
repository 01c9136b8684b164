// Object instances and views: the 640 × 480 layout, the view matrix and visibility.
#include "geometry/instance.h"
#include "geometry/view.h"
#include "tests/support/geometry_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using testsupport::HandMesh;
using testsupport::VectorNear;

namespace {

// `count` points at the origin but the last, which is `reach` up; no polygons.
HandMesh PointMesh(int count, float reach = 1.0f) {
    std::vector<Vector3> points(count, Vector3{0, 0, 0});
    if (count > 0)
        points.back() = Vector3{0, reach, 0};
    return HandMesh(points, {});
}

// Runs each test with the show's depth range and a main view set up for 640 × 480.
class ViewTest : public ::testing::Test {
protected:
    // Classifies an instance of the given radius at a view-space position (camera unmoved).
    bool Classify(ObjectInstance& instance, float x, float y, float z, float radius) {
        instance.AttachMesh(&sphere.mesh);
        instance.radius = radius;
        instance.SetPosition(x, y, z);
        return instance.Classify();
    }

    testsupport::MainView main;
    View& view = main.view;
    HandMesh sphere = PointMesh(2);
};

TEST_F(ViewTest, SetupFor640By480At60DegreesAndTheViewMatrix) {
    // Half the width over the tangent of half the field of view, on both axes.
    const double scale = 320 / std::tan(std::acos(-1.0) / 6);
    EXPECT_NEAR(view.xScale, scale, 1e-3);
    EXPECT_NEAR(view.yScale, scale, 1e-3);
    // An odd field of view is halved as an integer for the projection only.
    View odd;
    odd.Setup(640, 480, 61, 0, 0);
    EXPECT_EQ(odd.xScale, view.xScale);
    EXPECT_GT(odd.planes[PlaneLeft].nx, view.planes[PlaneLeft].nx);

    // The view matrix inverts the camera's.
    View turned;
    turned.camera.matrix.SetIdentity();
    turned.SetPosition(3, -2, 7);
    turned.SetTarget(&turned.camera);
    turned.Rotate(0.2f, 0.9f, -0.4f);
    EXPECT_EQ(turned.target, nullptr);
    const Vector3 back =
        turned.viewMatrix.TransformPoint(turned.camera.matrix.TransformPoint({1.5f, -0.5f, 4}));
    EXPECT_TRUE(VectorNear(back, {1.5f, -0.5f, 4}, 1e-4f));
}

TEST_F(ViewTest, InstancesResizeTheirWorkArraysAndScaleTheirRadius) {
    HandMesh small = PointMesh(3, 2.0f), large = PointMesh(50, 5.0f), none = PointMesh(0);
    ObjectInstance instance;
    instance.AttachMesh(&small.mesh);
    EXPECT_FLOAT_EQ(instance.radius, 2.0f);
    instance.AttachMesh(&large.mesh);
    EXPECT_FLOAT_EQ(instance.radius, 5.0f);
    instance.viewPoints[49] = Vector3{1, 2, 3}; // room for the new count (ASan checks)
    instance.pointColours[49] = Colour{1, 2, 3, 4};
    instance.AttachMesh(&none.mesh);
    EXPECT_EQ(instance.radius, 0.0f);

    instance.radius = 2.0f;
    instance.Scale(1, 3, 2);
    EXPECT_FLOAT_EQ(instance.radius, 6.0f);
}

TEST_F(ViewTest, SpheresAreCulledOrGetTheBitsOfThePlanesTheyCross) {
    const uint16_t screen = ClipLeft | ClipRight | ClipBottom | ClipTop;
    // At depth 1000 one unit is 0.554 pixels; a radius of 20 is 11 pixels.
    const struct {
        const char* name;
        float x, y, z, radius;
        bool shown;
        uint16_t bits;
    } cases[] = {
        {"well inside", 0, 0, 1000, 10, true, 0},
        // Centre behind the camera but reaching past the near plane: in view.
        {"around the camera", 0, 0, -0.5f, 1, true, screen | ClipNear},
        {"past the camera, far to the side", 100, 0, 0.5f, 1, false, 0},
        {"large, on the axis", 0, 0, 100, 90, true, screen},
        {"left edge", -577.35f, 0, 1000, 20, true, ClipLeft},
        {"bottom edge", 0, -433.0f, 1000, 20, true, ClipBottom},
        {"far plane", 0, 0, 100000, 10, true, ClipFar},
        {"in front of the near plane", 0, 0, 0.05f, 0.01f, false, 0},
        {"beyond the far plane", 0, 0, 200000, 10, false, 0},
        {"left of the screen", -700, 0, 1000, 20, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectInstance instance;
        EXPECT_EQ(Classify(instance, c.x, c.y, c.z, c.radius), c.shown);
        EXPECT_EQ(instance.clipFlags, c.bits);
    }
    // Hidden instances and null objects are not classified.
    ObjectInstance nullObject, hidden;
    EXPECT_FALSE(nullObject.Classify());
    hidden.SetFlags(InstanceShown, 0);
    EXPECT_FALSE(Classify(hidden, 0, 0, 1000, 10));
    EXPECT_EQ(hidden.clipFlags, 0);
}

} // namespace
