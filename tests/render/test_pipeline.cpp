// The polygon pipeline against a recording Glide: clipping, projection with the
// 1/16-pixel snap, lighting and what reaches the board.
#include "render/pipeline.h"
#include "render/surface.h"

#include "glide/glide.h"
#include "tests/support/geometry_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using testsupport::HandMesh;

// Stand-ins for the only Glide calls the pipeline makes: every polygon is recorded
// instead of drawn, so a test sees exactly what the board would be given.
namespace {

struct Record {
    std::vector<std::vector<GrVertex>> polygons;
    std::vector<GrColorCombineFnc_t> colourCombines;
} recorded;

} // namespace

extern "C" void guColorCombineFunction(GrColorCombineFnc_t function) {
    recorded.colourCombines.push_back(function);
}

extern "C" void grDrawPolygonVertexList(int vertexCount, const GrVertex vertices[]) {
    recorded.polygons.emplace_back(vertices, vertices + vertexCount);
}

namespace {

class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override { recorded = Record{}; }
    // Transforms and lights with a white ambient light, then draws.
    void Draw(ObjectInstance& instance, uint16_t clipFlags) {
        TransformToView(instance);
        Lighting white;
        white.ambient[0] = white.ambient[1] = white.ambient[2] = 1.0f;
        LightPoints(white, instance);
        instance.clipFlags = clipFlags;
        DrawPolygons(instance);
    }
    const std::vector<std::vector<GrVertex>>& Drawn() { return recorded.polygons; }

    testsupport::MainView main;
    View& view = main.view;
};

ClipVertex Vertex(float x, float y, float z, uint8_t r = 0) {
    return ClipVertex{x, y, z, r, 0, 0, 255};
}

TEST_F(PipelineTest, UnclippedQuadIsProjectedAroundTheScreenCentre) {
    HandMesh quad({{-1, -1, 10}, {1, -1, 10}, {1, 1, 10}, {-1, 1, 10}}, {{0, 1, 2, 3}});
    ObjectInstance instance;
    instance.AttachMesh(&quad.mesh);
    Draw(instance, 0);
    ASSERT_EQ(Drawn().size(), 1u);
    const std::vector<GrVertex>& v = Drawn()[0];
    ASSERT_EQ(v.size(), 4u);
    const float step = 554.2562f / 10; // pixels per unit at depth 10
    EXPECT_NEAR(v[0].x, 320 - step, 0.07f);
    EXPECT_NEAR(v[0].y, 240 + step, 0.07f); // y grows downwards
    EXPECT_NEAR(v[2].x, 320 + step, 0.07f);
    EXPECT_NEAR(v[2].y, 240 - step, 0.07f);
    for (const GrVertex& vertex : v) {
        EXPECT_FLOAT_EQ(vertex.oow, 0.1f);
        EXPECT_EQ(vertex.r, 255.0f);
        EXPECT_EQ(vertex.a, 255.0f);
    }
    ASSERT_EQ(recorded.colourCombines.size(), 1u);
    EXPECT_EQ(recorded.colourCombines[0], GR_COLORCOMBINE_ITRGB);
}

TEST_F(PipelineTest, QuadWithOneCornerBehindTheNearPlaneBecomesAPentagon) {
    HandMesh quad({{-1, -1, 5}, {1, -1, 5}, {1, 1, 5}, {0, 0, 0.05f}}, {{0, 1, 2, 3}});
    ObjectInstance instance;
    instance.AttachMesh(&quad.mesh);
    Draw(instance, ClipLeft | ClipRight | ClipBottom | ClipTop | ClipNear | ClipFar);
    ASSERT_EQ(Drawn().size(), 1u);
    const std::vector<GrVertex>& v = Drawn()[0];
    ASSERT_EQ(v.size(), 5u);
    int onNearPlane = 0;
    for (const GrVertex& vertex : v) {
        EXPECT_LE(vertex.oow, 10.0f + 1e-3f); // nothing nearer than the near plane
        if (std::fabs(vertex.oow - 10.0f) < 1e-3f)
            ++onNearPlane;
    }
    EXPECT_EQ(onNearPlane, 2);
}

TEST_F(PipelineTest, PointsLinesAndInvisibleSurfacesSendNothing) {
    HandMesh shapes({{0, 0, 10}, {1, 0, 10}, {1, 1, 10}}, {{0}, {0, 1}, {0, 1, 2}});
    ObjectInstance instance;
    instance.AttachMesh(&shapes.mesh);
    Draw(instance, 0);
    ASSERT_EQ(Drawn().size(), 1u); // the triangle only
    EXPECT_EQ(Drawn()[0].size(), 3u);

    for (uint8_t mode : {0, 1, 2, 3, 4, 5, 255}) {
        SCOPED_TRACE(int(mode));
        const bool shown = mode == 1 || mode == 2 || mode == 4;
        recorded = Record{};
        Surface surface;
        surface.SetShadingMode(mode);
        instance.surface = &surface;
        Draw(instance, 0);
        EXPECT_EQ(Drawn().size(), shown ? 1u : 0u);
        if (!shown)
            EXPECT_TRUE(recorded.colourCombines.empty());
    }
    recorded = Record{};
    instance.surface = &defaultSurface;
    instance.SetFlags(InstanceShown, 0);
    Draw(instance, 0);
    EXPECT_TRUE(Drawn().empty());
}

TEST_F(PipelineTest, ScreenPositionsAreSnappedToSixteenthsOfAPixel) {
    // The owner's own view-space points, as the effect fills them.
    HandMesh triangle({{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}, {{0, 1, 2}});
    ObjectInstance instance;
    instance.AttachMesh(&triangle.mesh);
    const float xScale = view.xScale;
    instance.viewPoints[0] = Vector3{(874.256f - 320) / xScale, 0, 1};
    instance.viewPoints[1] = Vector3{(100.03f - 320) / xScale, (240 - 100.03f) / xScale, 1};
    instance.viewPoints[2] = Vector3{0.123456f, -0.0987f, 1};
    for (int i = 0; i < 3; ++i)
        instance.pointColours[i] = Colour{10, 20, 30, 128};
    instance.clipFlags = 0;
    DrawPolygons(instance);
    ASSERT_EQ(Drawn().size(), 1u);
    const std::vector<GrVertex>& v = Drawn()[0];
    EXPECT_EQ(v[0].x, 874.25f);
    EXPECT_EQ(v[0].y, 240.0f);
    EXPECT_EQ(v[1].x, 100.0f);
    EXPECT_EQ(v[1].y, 100.0f);
    for (const GrVertex& vertex : v) {
        EXPECT_EQ(vertex.x * 16, std::floor(vertex.x * 16));
        EXPECT_EQ(vertex.y * 16, std::floor(vertex.y * 16));
        EXPECT_EQ(vertex.r, 10.0f);
        EXPECT_EQ(vertex.b, 30.0f);
        EXPECT_EQ(vertex.a, 128.0f); // the instance's first colour's alpha
    }
    const float expectedX = 320 + xScale * 0.123456f;
    EXPECT_NEAR(v[2].x, expectedX, 1.0f / 32 + 1e-4f);
}

TEST_F(PipelineTest, ViewOffsetsShiftTheProjection) {
    View narrow;
    narrow.Setup(473, 480, 60, -83, 0);
    CurrentView = &narrow;
    HandMesh triangle({{0, 0, 10}, {1, 0, 10}, {0, 1, 10}}, {{0, 1, 2}});
    ObjectInstance instance;
    instance.AttachMesh(&triangle.mesh);
    Draw(instance, 0);
    ASSERT_EQ(Drawn().size(), 1u);
    EXPECT_EQ(Drawn()[0][0].x, 320.0f - 83.0f);
}

TEST_F(PipelineTest, LightingAddsTheLitShareAndClampsAt255) {
    // One point facing −z (towards the camera), lit from the camera side.
    HandMesh triangle({{0, 0, 10}, {0, 1, 10}, {1, 0, 10}}, {{0, 1, 2}});
    ObjectInstance instance;
    instance.AttachMesh(&triangle.mesh);
    Surface surface;
    surface.SetColour(Colour{200, 100, 0, 0});
    instance.surface = &surface;
    TransformToView(instance);
    EXPECT_NEAR(instance.viewNormals[0].z, -1.0f, 1e-6f);

    const struct {
        const char* name;
        float ambientRed, ambient;
        bool hasLight;
        Vector3 lightPosition;
        uint8_t r, g;
    } cases[] = {
        {"ambient 1.2 × 200", 1.2f, 1.2f, false, {}, 240, 120},
        {"ambient 1.5 × 200 clamps", 1.5f, 1.2f, false, {}, 255, 120},
        // Straight in front of point 0: N·d = 1, so ambient 0.25 + light 0.5.
        {"light in front", 0.25f, 0.25f, true, {0, 0, 0}, 150, 75},
        {"light behind the surface: the ambient share", 0.25f, 0.25f, true, {0, 0, 50}, 50, 25},
        {"light on the point lights from no side, without NaNs",
         0.25f,
         0.25f,
         true,
         {0, 0, 10},
         50,
         25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lighting lighting;
        lighting.ambient[0] = c.ambientRed;
        lighting.ambient[1] = lighting.ambient[2] = c.ambient;
        lighting.hasLight = c.hasLight;
        lighting.lightPosition = c.lightPosition;
        lighting.lightColour[0] = lighting.lightColour[1] = lighting.lightColour[2] = 0.5f;
        LightPoints(lighting, instance);
        EXPECT_EQ(instance.pointColours[0].r, c.r);
        EXPECT_EQ(instance.pointColours[0].g, c.g);
        EXPECT_EQ(instance.pointColours[0].b, 0);
        EXPECT_EQ(instance.pointColours[0].a, 255);
    }
}

TEST_F(PipelineTest, TransformCombinesObjectAndViewAndRenormalisesNormals) {
    HandMesh triangle({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}, {{0, 1, 2}});
    ObjectInstance instance;
    instance.AttachMesh(&triangle.mesh);
    instance.Scale(3, 3, 3);
    instance.SetPosition(1, 2, 3);
    view.SetPosition(0, 0, -10);
    TransformToView(instance);
    EXPECT_NEAR(instance.viewPoints[1].x, 1, 1e-5f);
    EXPECT_NEAR(instance.viewPoints[1].y, 2 + 3, 1e-5f);
    EXPECT_NEAR(instance.viewPoints[1].z, 3 + 10, 1e-5f);
    EXPECT_NEAR(instance.viewNormals[0].Length(), 1.0f, 1e-6f);
    EXPECT_NEAR(instance.viewNormals[0].z, -1.0f, 1e-6f);
}

TEST(Clipping, EdgeIntersectionInterpolatesPositionAndTruncatesColours) {
    const Plane nearPlane{-1, 0, 0, 1}; // z ≥ 1
    ClipVertex out;
    IntersectEdge(Vertex(0, 0, 0, 0), Vertex(4, 2, 2, 255), nearPlane, out);
    EXPECT_FLOAT_EQ(out.x, 2);
    EXPECT_FLOAT_EQ(out.y, 1);
    EXPECT_FLOAT_EQ(out.z, 1);
    EXPECT_EQ(out.r, 127); // 127.5 truncated
    IntersectEdge(Vertex(5, 6, 1, 9), Vertex(0, 0, 0, 0), nearPlane, out);
    EXPECT_EQ(out.x, 5.0f); // a on the plane: a itself
    EXPECT_EQ(out.r, 9);
}

TEST(Clipping, SharedEdgesAreCutAtTheSamePointFromBothSides) {
    const Plane left{0, 0.8660304f, 0, 0.4999913f};
    // Two triangles sharing the edge p–q, which crosses the plane; each walks it
    // in its own direction.
    const ClipVertex p = Vertex(-7.3f, 1.1f, 3.7f), q = Vertex(2.9f, -0.4f, 9.3f);
    const ClipVertex first[3] = {p, q, Vertex(3, 3, 5)};
    const ClipVertex second[3] = {q, p, Vertex(-1, -3, 8)};
    ClipVertex a[MaxClipVertices], b[MaxClipVertices];
    int aCount = 0, bCount = 0;
    ClipToPlane(a, aCount, first, 3, left);
    ClipToPlane(b, bCount, second, 3, left);
    ASSERT_GE(aCount, 3);
    ASSERT_GE(bCount, 3);
    // The cut point of p–q is a vertex of both results, bit for bit.
    int shared = 0;
    for (int i = 0; i < aCount; ++i)
        for (int j = 0; j < bCount; ++j)
            if (a[i].x == b[j].x && a[i].y == b[j].y && a[i].z == b[j].z &&
                std::fabs(PlaneDistance(left, a[i].x, a[i].y, a[i].z)) < 1e-5f)
                ++shared;
    EXPECT_EQ(shared, 1);
}

TEST(Clipping, PolygonsWhollyOutsideOrTooTwistedToFitAreDropped) {
    View view;
    view.Setup(640, 480, 60, 0, 0);
    const ClipVertex behind[3] = {Vertex(0, 0, -1), Vertex(1, 0, -1), Vertex(0, 1, -2)};
    ClipVertex out[MaxClipVertices];
    int count = -1;
    ClipPolygon(view, out, count, behind, 3, ClipNear);
    EXPECT_EQ(count, 0);
    ClipPolygon(view, out, count, behind, 3, 0); // no flags: copied as it is
    EXPECT_EQ(count, 3);

    // A zigzag of 10 vertices alternately in front of and behind z = 1: one stage
    // would give 15 vertices, more than any buffer holds.
    const Plane nearPlane{-1, 0, 0, 1};
    ClipVertex zigzag[MaxClipVertices];
    for (int i = 0; i < MaxClipVertices; ++i)
        zigzag[i] = Vertex(float(i), float(i % 3), (i % 2) ? 0.0f : 2.0f);
    ClipToPlane(out, count, zigzag, MaxClipVertices, nearPlane);
    EXPECT_EQ(count, 0);
    ClipToPlane(out, count, zigzag, 0, nearPlane);
    EXPECT_EQ(count, 0);
    ClipPolygon(view, out, count, zigzag, MaxClipVertices + 1, 0);
    EXPECT_EQ(count, 0);
}

TEST(Clipping, ConvexQuadCutByEverySideStaysWithinTenVertices) {
    View view;
    view.Setup(640, 480, 60, 0, 0);
    // A large quad through the view, tilted so all six planes cut it.
    const ClipVertex quad[4] = {Vertex(-5000, -50, -10), Vertex(5000, -5000, 50),
                                Vertex(5000, 50, 200000), Vertex(-5000, 5000, 150)};
    ClipVertex out[MaxClipVertices];
    int count = 0;
    ClipPolygon(view, out, count, quad, 4, 63);
    EXPECT_GE(count, 3);
    EXPECT_LE(count, MaxClipVertices);
    for (int i = 0; i < count; ++i)
        for (const Plane& plane : view.planes)
            EXPECT_GE(PlaneDistance(plane, out[i].x, out[i].y, out[i].z),
                      -0.01f * std::fabs(out[i].z) - 0.01f);
}

} // namespace
