// The generator's writers: LWOB objects read back through the object loader with
// the counts and facings written, text becomes strokes, scene text reads back
// through the scene parser, and every generated member is a sound object.
#include "assets/content.h"
#include "assets/lwob_writer.h"
#include "assets/lwsc_writer.h"
#include "assets/stroke_font.h"
#include "geometry/lwob.h"
#include "scene/scene.h"
#include "shell/report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace assets;

bool Load(Mesh& mesh, const LwobWriter& writer, ObjectLoadReport* report = nullptr) {
    std::vector<uint8_t> bytes = writer.Bytes();
    return LoadObject(mesh, bytes.data(), bytes.size(), report);
}

TEST(LwobWriter, WritesChunksAsLightWaveDoesAndReadsBack) {
    LwobWriter writer("Plate", 0, 0, 200);
    writer.AddRectangle(0.0f, 0.0f, 2.0f, 1.0f, 0.5f, Facing::TowardViewer);
    writer.AddFlat({{0, 0}, {1, 0}, {0, 1}}, 0.0f, Facing::TowardViewer);
    std::vector<uint8_t> bytes = writer.Bytes();
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "FORM");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "LWOB");
    uint32_t formSize = (bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7];
    EXPECT_EQ(formSize + 8, bytes.size());

    Mesh mesh;
    ObjectLoadReport report;
    ASSERT_TRUE(LoadObject(mesh, bytes.data(), bytes.size(), &report)) << report.message;
    EXPECT_EQ(mesh.pointCount, 7);
    EXPECT_EQ(mesh.polygonCount, 2);
    EXPECT_EQ(mesh.polygons[0].count, 4);
    EXPECT_EQ(mesh.polygons[1].count, 3);
    ASSERT_EQ(report.chunkCount, 4);
    const char* order[] = {"PNTS", "SRFS", "POLS", "SURF"};
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(report.chunks[i].tag, order[i]);
    EXPECT_EQ(report.paddedChunks, 0) << "every chunk has an even size";
    EXPECT_FLOAT_EQ(mesh.points[0].z, 0.5f);
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
    // T 2, w 4, i 2, s 7, t 4.
    EXPECT_EQ(quads, 19);
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
    EXPECT_LT(TextWidth("Num", style), TextWidth("Numbers", style));
}

TEST(SceneWriter, NumbersAndBlocksReadBackThroughTheSceneParser) {
    SceneDescription description;
    description.firstFrame = 1250.0f;
    description.lastFrame = 1250.0f;
    SceneObject pivot;
    pivot.nullName = "Pivot";
    pivot.motion = {SceneKey{0, 1.0f, 0.38f, -0.0f}, SceneKey{10, 2.0f, 0.0f, 0.0f, 90.0f}};
    SceneObject child;
    child.nullName = "Child";
    child.motion = {SceneKey{0, 0.1f, 0.2f, 0.3f}};
    child.parent = 1;
    description.objects = {pivot, child};
    description.light.motion = {SceneKey{0, 0, 5, -5}};
    description.camera = {SceneKey{0, 0, 0, -10}};
    std::string text = SceneText(description);
    EXPECT_NE(text.find("FirstFrame 1250\n"), std::string::npos);
    EXPECT_NE(text.find("  1 0.38 0 0 0 0 1 1 1\n"), std::string::npos);
    EXPECT_EQ(text.find("-0 "), std::string::npos);

    reportText[0] = '\0';
    Scene scene;
    ASSERT_TRUE(scene.LoadText(text.data(), text.size(), 640, 480, nullptr, nullptr)) << reportText;
    EXPECT_EQ(scene.firstFrame, 1250.0f);
    ASSERT_EQ(scene.itemCount, 2);
    EXPECT_EQ(scene.items[1]->parent, 0);
    ASSERT_EQ(scene.items[0]->motion.keyCount, 2);
    EXPECT_EQ(scene.items[0]->motion.keys[0].value[1], 0.38f);
    EXPECT_EQ(scene.items[0]->motion.keys[1].frame, 10);
    EXPECT_FLOAT_EQ(scene.items[0]->motion.keys[1].value[3], -1.5707964f);
    EXPECT_EQ(scene.items[0]->motion.endBehavior, 1);
    EXPECT_EQ(scene.lightCount, 1);
}

TEST(Content, EveryObjectIsASoundLwobAndTheNamesFitTheArchive) {
    std::vector<ContentFile> files = BuildContent();
    int objects = 0;
    bool square = false, scene = false;
    for (const ContentFile& file : files) {
        EXPECT_LE(file.name.size(), 63u) << file.name;
        EXPECT_EQ(file.name.find('/'), std::string::npos) << file.name;
        if (file.name == "data\\Square.lwo")
            square = true;
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
    }
    EXPECT_TRUE(square);
    EXPECT_TRUE(scene);
    EXPECT_GE(objects, 24 + 1);
}

TEST(Content, TheSquareIsOneQuadCentredOnItsOrigin) {
    for (const ContentFile& file : BuildContent()) {
        if (file.name != "data\\Square.lwo")
            continue;
        Mesh mesh;
        ASSERT_TRUE(LoadObject(mesh, file.bytes.data(), file.bytes.size(), nullptr));
        ASSERT_EQ(mesh.pointCount, 4);
        ASSERT_EQ(mesh.polygonCount, 1);
        EXPECT_EQ(mesh.polygons[0].count, 4);
        float sumX = 0, sumY = 0;
        for (int i = 0; i < 4; ++i) {
            sumX += mesh.points[i].x;
            sumY += mesh.points[i].y;
            EXPECT_EQ(mesh.points[i].z, 0.0f);
        }
        EXPECT_FLOAT_EQ(sumX, 0.0f);
        EXPECT_FLOAT_EQ(sumY, 0.0f);
        return;
    }
    FAIL() << "no square";
}

} // namespace
