// The generator's writers: LWOB objects read back through the object loader with
// the facings written, text becomes strokes, and every generated member is a
// sound object. (The generated scene is read back by test_options_content.cpp.)
#include "assets/content.h"
#include "assets/lwob_writer.h"
#include "assets/stroke_font.h"
#include "geometry/lwob.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace assets;

bool Load(Mesh& mesh, const LwobWriter& writer) {
    std::vector<uint8_t> bytes = writer.Bytes();
    return LoadObject(mesh, bytes.data(), bytes.size(), nullptr);
}

// The loader's face normal decides how the scene light reaches a polygon: the
// facing asked for must come out whatever order the corners were given in.
TEST(LwobWriter, FacingSetsTheNormalWhateverTheCornerOrder) {
    const std::vector<std::pair<float, float>> clockwise = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const std::vector<std::pair<float, float>> counter = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto* corners : {&clockwise, &counter}) {
        for (Facing facing : {Facing::TowardViewer, Facing::AwayFromViewer}) {
            LwobWriter writer("S", 0, 0, 0);
            writer.AddFlat(*corners, 0.0f, facing);
            writer.AddFlat({(*corners)[0], (*corners)[1], (*corners)[2]}, 0.0f, facing);
            Mesh mesh;
            ASSERT_TRUE(Load(mesh, writer));
            float expected = facing == Facing::TowardViewer ? -1.0f : 1.0f;
            for (int p = 0; p < mesh.polygonCount; ++p) {
                EXPECT_FLOAT_EQ(mesh.polygons[p].normal.z, expected) << p;
                EXPECT_EQ(mesh.polygons[p].count, 3 + (p == 0 ? 1 : 0));
            }
        }
    }
    // A sloping polygon still faces the viewer.
    LwobWriter writer("S", 0, 0, 0);
    writer.AddFacing({{0, 0, 0}, {1, 0, 0}, {1.5f, 1, 1}, {-0.5f, 1, 1}}, Facing::TowardViewer);
    Mesh mesh;
    ASSERT_TRUE(Load(mesh, writer));
    EXPECT_LT(mesh.polygons[0].normal.z, 0.0f);
}

TEST(StrokeFont, TextBecomesOneQuadPerStrokeCentredOnItsPoint) {
    const TextStyle style = {0.6f, 0.1f};
    LwobWriter writer("T", 0, 200, 0);
    int quads = AddText(writer, "Twist", style, 1.0f, 2.0f, 0.0f, Facing::TowardViewer);
    EXPECT_EQ(writer.PolygonCount(), quads);
    Mesh mesh;
    ASSERT_TRUE(Load(mesh, writer));
    float left = 1e9f, right = -1e9f, top = -1e9f;
    for (int i = 0; i < mesh.pointCount; ++i) {
        left = std::min(left, mesh.points[i].x);
        right = std::max(right, mesh.points[i].x);
        top = std::max(top, mesh.points[i].y);
    }
    EXPECT_NEAR((left + right) * 0.5f, 1.0f, 0.02f);
    EXPECT_NEAR(right - left, TextWidth("Twist", style), 0.02f);
    // Baseline 2.0 - 0.3; the dot of the i reaches 6.2 grid units of 0.1, plus
    // half a stroke.
    EXPECT_NEAR(top, 1.7f + 0.62f + 0.05f, 0.005f);

    EXPECT_TRUE(FontCovers("Solvane v0.9: see the README (a-z, A-Z, 0-9)"));
    EXPECT_FALSE(FontCovers("#"));
}

TEST(Content, EveryObjectIsASoundLwobAndTheNamesFitTheArchive) {
    std::vector<ContentFile> files = BuildContent();
    int objects = 0;
    bool square = false, scene = false;
    for (const ContentFile& file : files) {
        EXPECT_LE(file.name.size(), 63u) << file.name;
        EXPECT_EQ(file.name.find('/'), std::string::npos) << file.name;
        if (file.name == "scenes\\ZT-Options.lws")
            scene = true;
        if (file.name.size() < 4 || file.name.substr(file.name.size() - 4) != ".lwo")
            continue;
        ++objects;
        Mesh mesh;
        ObjectLoadReport report;
        ASSERT_TRUE(LoadObject(mesh, file.bytes.data(), file.bytes.size(), &report))
            << file.name << ": " << report.message;
        EXPECT_GT(mesh.polygonCount, 0) << file.name;
        EXPECT_EQ(report.paddedChunks, 0) << file.name;
        for (int p = 0; p < mesh.polygonCount; ++p)
            ASSERT_GE(mesh.polygons[p].count, 3) << file.name;
        if (file.name == "data\\Square.lwo") { // one quad in z = 0 centred on its origin
            square = true;
            ASSERT_EQ(mesh.pointCount, 4);
            ASSERT_EQ(mesh.polygonCount, 1);
            EXPECT_EQ(mesh.polygons[0].count, 4);
            float sumX = 0, sumY = 0;
            for (int i = 0; i < 4; ++i) {
                sumX += mesh.points[i].x, sumY += mesh.points[i].y;
                EXPECT_EQ(mesh.points[i].z, 0.0f);
            }
            EXPECT_FLOAT_EQ(sumX, 0.0f);
            EXPECT_FLOAT_EQ(sumY, 0.0f);
        }
    }
    EXPECT_TRUE(square);
    EXPECT_TRUE(scene);
    EXPECT_GE(objects, 24 + 1);
}

} // namespace
