// The generator's writers, read back through the show's object loader.
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

// The facing asked for comes out as the loader's normal whatever the corner order.
TEST(LwobWriter, FacingSetsTheNormalWhateverTheCornerOrder) {
    const std::vector<std::pair<float, float>> clockwise = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const std::vector<std::pair<float, float>> counter = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto* corners : {&clockwise, &counter}) {
        for (Facing facing : {Facing::TowardViewer, Facing::AwayFromViewer}) {
            LwobWriter writer("S", 0, 0, 0);
            writer.AddFlat(*corners, 0.0f, facing);
            Mesh mesh;
            ASSERT_TRUE(Load(mesh, writer));
            EXPECT_FLOAT_EQ(mesh.polygons[0].normal.z,
                            facing == Facing::TowardViewer ? -1.0f : 1.0f);
        }
    }
    LwobWriter sloping("S", 0, 0, 0); // a polygon out of any z plane, through AddFacing
    sloping.AddFacing({{0, 0, 0}, {1, 0, 0}, {1.5f, 1, 1}, {-0.5f, 1, 1}}, Facing::TowardViewer);
    Mesh mesh;
    ASSERT_TRUE(Load(mesh, sloping));
    EXPECT_LT(mesh.polygons[0].normal.z, 0.0f);
}

TEST(StrokeFont, TextBecomesOneQuadPerStrokeCentredOnItsPoint) {
    const TextStyle style = {0.6f, 0.1f};
    LwobWriter writer("T", 0, 200, 0);
    AddText(writer, "Twist", style, 1.0f, 2.0f, 0.0f, Facing::TowardViewer);
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
    // Baseline 2.0 - 0.3; the i's dot reaches 6.2 units of 0.1, plus half a stroke.
    EXPECT_NEAR(top, 1.7f + 0.62f + 0.05f, 0.005f);

    EXPECT_TRUE(FontCovers("Solvane v0.9: see the README (a-z, A-Z, 0-9)"));
    EXPECT_FALSE(FontCovers("#"));
}

TEST(Content, EveryObjectIsASoundLwobAndTheNamesFitTheArchive) {
    std::vector<ContentFile> files = BuildContent();
    int objects = 0;
    for (const ContentFile& file : files) {
        EXPECT_LE(file.name.size(), 63u) << file.name;
        EXPECT_EQ(file.name.find('/'), std::string::npos) << file.name;
        if (file.name.size() < 4 || file.name.substr(file.name.size() - 4) != ".lwo")
            continue;
        ++objects;
        Mesh mesh;
        ObjectLoadReport report;
        ASSERT_TRUE(LoadObject(mesh, file.bytes.data(), file.bytes.size(), &report))
            << file.name << ": " << report.message;
        EXPECT_GT(mesh.polygonCount, 0) << file.name;
        EXPECT_EQ(report.paddedChunks, 0) << file.name;
        if (file.name == "data\\Square.lwo") { // one quad centred on its origin
            ASSERT_EQ(mesh.pointCount, 4);
            EXPECT_FLOAT_EQ(
                mesh.points[0].x + mesh.points[1].x + mesh.points[2].x + mesh.points[3].x, 0.0f);
        }
    }
    EXPECT_GE(objects, 24 + 1);
}

} // namespace
