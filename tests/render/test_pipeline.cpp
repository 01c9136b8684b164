// The polygon pipeline against a recording Glide: clipping, projection with the
// 1/16-pixel snap, lighting and what reaches the board.
#include "render/pipeline.h"
#include "render/surface.h"

#include "glide/glide.h"
#include "tests/support/geometry_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// Stand-ins for the only Glide calls the pipeline makes, recording what the board would get.
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

// A hand-built mesh with an instance of it.
struct Shape : testsupport::HandMesh {
    ObjectInstance instance;
    Shape(const std::vector<Vector3>& points, const std::vector<std::vector<uint16_t>>& polygons)
        : HandMesh(points, polygons) {
        instance.AttachMesh(&mesh);
    }
};

class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override { recorded = Record{}; }
    // Transforms and lights with a white ambient light, then draws what was drawn.
    const std::vector<std::vector<GrVertex>>& Draw(ObjectInstance& instance, uint16_t clipFlags) {
        TransformToView(instance);
        Lighting white;
        white.ambient[0] = white.ambient[1] = white.ambient[2] = 1.0f;
        LightPoints(white, instance);
        instance.clipFlags = clipFlags;
        DrawPolygons(instance);
        return recorded.polygons;
    }

    testsupport::MainView main;
};

ClipVertex Vertex(float x, float y, float z, uint8_t r = 0) {
    return ClipVertex{x, y, z, r, 0, 0, 255};
}

TEST_F(PipelineTest, UnclippedQuadIsProjectedAroundTheScreenCentre) {
    Shape quad({{-1, -1, 10}, {1, -1, 10}, {1, 1, 10}, {-1, 1, 10}}, {{0, 1, 2, 3}});
    ASSERT_EQ(Draw(quad.instance, 0).size(), 1u);
    const std::vector<GrVertex>& v = recorded.polygons[0];
    ASSERT_EQ(v.size(), 4u);
    const float step = 554.2562f / 10; // pixels per unit at depth 10
    EXPECT_NEAR(v[0].x, 320 - step, 0.07f);
    EXPECT_NEAR(v[0].y, 240 + step, 0.07f); // y grows downwards
    EXPECT_NEAR(v[2].x, 320 + step, 0.07f);
    EXPECT_NEAR(v[2].y, 240 - step, 0.07f);
    for (const GrVertex& vertex : v) // on sixteenths of a pixel, white light's full colour
        EXPECT_TRUE(vertex.x * 16 == std::floor(vertex.x * 16) &&
                    vertex.y * 16 == std::floor(vertex.y * 16) &&
                    std::fabs(vertex.oow - 0.1f) < 1e-7f && vertex.r == 255 && vertex.a == 255);
    EXPECT_EQ(recorded.colourCombines, std::vector<GrColorCombineFnc_t>{GR_COLORCOMBINE_ITRGB});

    View narrow; // a view's offset shifts the projection
    narrow.Setup(473, 480, 60, -83, 0);
    CurrentView = &narrow;
    ASSERT_EQ(Draw(quad.instance, 0).size(), 2u);
    EXPECT_NEAR(recorded.polygons[1][0].x, 320 - 83 - narrow.xScale / 10, 0.07f);
}

TEST_F(PipelineTest, QuadWithOneCornerBehindTheNearPlaneBecomesAPentagon) {
    Shape quad({{-1, -1, 5}, {1, -1, 5}, {1, 1, 5}, {0, 0, 0.05f}}, {{0, 1, 2, 3}});
    ASSERT_EQ(Draw(quad.instance, 63).size(), 1u); // every clip bit set
    ASSERT_EQ(recorded.polygons[0].size(), 5u);
    int onNearPlane = 0;
    for (const GrVertex& vertex : recorded.polygons[0]) {
        EXPECT_LE(vertex.oow, 10.0f + 1e-3f); // nothing nearer than the near plane
        onNearPlane += std::fabs(vertex.oow - 10.0f) < 1e-3f;
    }
    EXPECT_EQ(onNearPlane, 2);
}

TEST_F(PipelineTest, PointsLinesHiddenInstancesAndInvisibleSurfacesSendNothing) {
    // A point, a line and a triangle: only the triangle is sent, when the surface shows.
    Shape shapes({{0, 0, 10}, {1, 0, 10}, {1, 1, 10}}, {{0}, {0, 1}, {0, 1, 2}});
    Surface surface;
    shapes.instance.surface = &surface;
    for (uint8_t mode : {0, 1, 2, 3, 4, 5, 255}) {
        SCOPED_TRACE(int(mode));
        const size_t shown = mode == 1 || mode == 2 || mode == 4;
        recorded = Record{};
        surface.SetShadingMode(mode);
        EXPECT_EQ(Draw(shapes.instance, 0).size(), shown);
        EXPECT_EQ(recorded.colourCombines.size(), shown);
    }
    recorded = Record{};
    shapes.instance.SetFlags(InstanceShown, 0);
    EXPECT_TRUE(Draw(shapes.instance, 0).empty());
}

TEST_F(PipelineTest, LightingAddsTheLitShareAndClampsAt255) {
    // Point 0 faces −z (towards the camera) after a scale, which leaves normals of length 1.
    Shape triangle({{0, 0, 10.0f / 3}, {0, 1, 10.0f / 3}, {1, 0, 10.0f / 3}}, {{0, 1, 2}});
    ObjectInstance& instance = triangle.instance;
    instance.Scale(3, 3, 3);
    Surface surface;
    surface.SetColour(Colour{200, 100, 0, 0});
    instance.surface = &surface;
    TransformToView(instance);
    const struct {
        const char* name;
        float ambientRed, ambient;
        bool hasLight;
        Vector3 lightPosition;
        uint8_t r, g;
    } cases[] = {
        {"ambient 1.5 × 200 clamps", 1.5f, 1.2f, false, {}, 255, 120},
        // Straight in front of point 0: N·d = 1, so ambient 0.25 + light 0.5.
        {"light in front", 0.25f, 0.25f, true, {0, 0, 0}, 150, 75},
        {"light behind: ambient only", 0.25f, 0.25f, true, {0, 0, 50}, 50, 25},
        {"light on the point: no side, no NaN", 0.25f, 0.25f, true, {0, 0, 10}, 50, 25},
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
        const Colour lit = instance.pointColours[0];
        EXPECT_TRUE(lit.r == c.r && lit.g == c.g && lit.b == 0 && lit.a == 255)
            << int(lit.r) << " " << int(lit.g) << " " << int(lit.b) << " " << int(lit.a);
    }
}

TEST(Clipping, EdgeCutsInterpolateTruncateColoursAndMatchFromBothSides) {
    const Plane nearPlane{-1, 0, 0, 1}; // z ≥ 1
    ClipVertex out;
    IntersectEdge(Vertex(0, 0, 0, 0), Vertex(4, 2, 2, 255), nearPlane, out);
    EXPECT_TRUE(out.x == 2 && out.y == 1 && out.z == 1 && out.r == 127); // r 127.5 truncated
    IntersectEdge(Vertex(5, 6, 1, 9), Vertex(0, 0, 0, 0), nearPlane, out);
    EXPECT_TRUE(out.x == 5 && out.r == 9); // a on the plane: a itself

    // Triangles sharing the edge p–q, walked either way, cut it at the same point bit for bit.
    const Plane left{0, 0.8660304f, 0, 0.4999913f};
    const ClipVertex p = Vertex(-7.3f, 1.1f, 3.7f), q = Vertex(2.9f, -0.4f, 9.3f);
    const ClipVertex first[3] = {p, q, Vertex(3, 3, 5)}, second[3] = {q, p, Vertex(-1, -3, 8)};
    ClipVertex a[MaxClipVertices], b[MaxClipVertices];
    int aCount = 0, bCount = 0, shared = 0;
    ClipToPlane(a, aCount, first, 3, left);
    ClipToPlane(b, bCount, second, 3, left);
    for (int i = 0; i < aCount; ++i)
        for (int j = 0; j < bCount; ++j)
            shared += a[i].x == b[j].x && a[i].y == b[j].y && a[i].z == b[j].z &&
                      std::fabs(PlaneDistance(left, a[i].x, a[i].y, a[i].z)) < 1e-5f;
    EXPECT_EQ(shared, 1);
}

TEST(Clipping, PolygonsStayInsideEveryPlaneWithinTheBufferOrAreDropped) {
    View view;
    view.Setup(640, 480, 60, 0, 0);
    ClipVertex out[MaxClipVertices];
    int count = -1;
    // A large quad through the view, tilted so all six planes cut it.
    const ClipVertex quad[4] = {Vertex(-5000, -50, -10), Vertex(5000, -5000, 50),
                                Vertex(5000, 50, 200000), Vertex(-5000, 5000, 150)};
    ClipPolygon(view, out, count, quad, 4, 63);
    EXPECT_TRUE(count >= 3 && count <= MaxClipVertices) << count;
    for (int i = 0; i < count; ++i)
        for (const Plane& plane : view.planes)
            EXPECT_GE(PlaneDistance(plane, out[i].x, out[i].y, out[i].z),
                      -0.01f * std::fabs(out[i].z) - 0.01f);

    const ClipVertex behind[3] = {Vertex(0, 0, -1), Vertex(1, 0, -1), Vertex(0, 1, -2)};
    ClipPolygon(view, out, count, behind, 3, ClipNear);
    EXPECT_EQ(count, 0);
    // A zigzag across z = 1 whose cut would overflow the buffer is dropped.
    ClipVertex zigzag[MaxClipVertices];
    for (int i = 0; i < MaxClipVertices; ++i)
        zigzag[i] = Vertex(float(i), float(i % 3), (i % 2) ? 0.0f : 2.0f);
    const Plane nearPlane{-1, 0, 0, 1};
    ClipToPlane(out, count, zigzag, MaxClipVertices, nearPlane);
    EXPECT_EQ(count, 0);
}

} // namespace
