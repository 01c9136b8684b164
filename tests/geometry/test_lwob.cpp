// The object loader: what real files contain, and hostile files failing cleanly.
#include "geometry/lwob.h"

#include "lwob_builder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

using namespace lwobtest;

namespace {

struct Loaded {
    Mesh mesh;
    ObjectLoadReport report;
    bool ok = false;
    explicit Loaded(const Bytes& bytes) {
        ok = LoadObject(mesh, bytes.data(), bytes.size(), &report);
    }
};

void ExpectEmpty(const Mesh& mesh) {
    EXPECT_EQ(mesh.points, nullptr);
    EXPECT_EQ(mesh.polygons, nullptr);
    EXPECT_EQ(mesh.pointNormals, nullptr);
    EXPECT_EQ(mesh.pointCount, 0);
    EXPECT_EQ(mesh.polygonCount, 0);
}

TEST(ObjectLoader, ReadsBigEndianPointsAndTriangles) {
    Bytes points = {0x3F, 0x80, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0};
    Bytes more = PointData({{0, 1, 0}, {1, 0, 0}});
    points.insert(points.end(), more.begin(), more.end());
    Bytes polygons;
    PutPolygon(polygons, {0, 1, 2});
    ASSERT_EQ(polygons.size(), 10u);
    Loaded l(Builder().Chunk("PNTS", points).Chunk("POLS", polygons).Build());
    ASSERT_TRUE(l.ok) << l.report.message;
    ASSERT_EQ(l.mesh.pointCount, 3);
    EXPECT_EQ(l.mesh.points[0].x, 1.0f);
    EXPECT_EQ(l.mesh.points[0].y, -2.0f);
    EXPECT_EQ(l.mesh.points[0].z, 0.0f);
    ASSERT_EQ(l.mesh.polygonCount, 1);
    EXPECT_EQ(l.mesh.polygons[0].count, 3);
    EXPECT_EQ(l.mesh.polygons[0].indices[2], 2);
    ASSERT_NE(l.mesh.pointNormals, nullptr);
    EXPECT_EQ(l.report.message[0], '\0');
}

TEST(ObjectLoader, CubeWithSurfaceChunksLoadsWithNormalsPointingOut) {
    Loaded l(Cube());
    ASSERT_TRUE(l.ok) << l.report.message;
    EXPECT_EQ(l.mesh.pointCount, 8);
    EXPECT_EQ(l.mesh.polygonCount, 6);
    EXPECT_EQ(l.report.skippedChunks, 2);
    for (int i = 0; i < 8; ++i) {
        const Vector3 p = l.mesh.points[i], n = l.mesh.pointNormals[i];
        EXPECT_NEAR(n.Length(), 1.0f, 1e-6f);
        // A cube corner's normal points along the corner's own direction.
        EXPECT_NEAR(n.x * p.x + n.y * p.y + n.z * p.z, std::sqrt(3.0f), 1e-5f);
    }
}

TEST(ObjectLoader, QuadrilateralLoadsAndLargerPolygonsFailTheLoad) {
    Bytes quad;
    PutPolygon(quad, {0, 1, 2, 3});
    ASSERT_EQ(quad.size(), 12u);
    const std::vector<Point> square = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {2, 2, 0}};
    Loaded four(Builder().Points(square).Chunk("POLS", quad).Build());
    ASSERT_TRUE(four.ok);
    EXPECT_EQ(four.mesh.polygons[0].count, 4);

    Bytes pentagon;
    PutPolygon(pentagon, {0, 1, 2, 3, 4});
    Loaded five(Builder().Points(square).Chunk("POLS", pentagon).Build());
    EXPECT_FALSE(five.ok);
    EXPECT_EQ(five.report.problem, ObjectProblem::PolygonTooLarge);
    EXPECT_NE(std::string(five.report.message).find("5 points"), std::string::npos);
    ExpectEmpty(five.mesh);
}

TEST(ObjectLoader, RefusesOtherFormsAndNonIffFiles) {
    Loaded other(Builder().Points({{0, 0, 0}}).Build("LWO2"));
    EXPECT_FALSE(other.ok);
    EXPECT_EQ(other.report.problem, ObjectProblem::NotLwob);
    Bytes text = {'L', 'W', 'S', 'C', '\n', '1', '\n'};
    Loaded scene(text);
    EXPECT_FALSE(scene.ok);
    EXPECT_EQ(scene.report.problem, ObjectProblem::NotForm);
    Loaded empty(Bytes{});
    EXPECT_FALSE(empty.ok);
    Loaded headerOnly(Builder().Build());
    EXPECT_FALSE(headerOnly.ok);
    EXPECT_EQ(headerOnly.report.problem, ObjectProblem::NoPoints);
}

TEST(ObjectLoader, ForeignWriterLayoutLoadsWithDetailPolygonsDropped) {
    Loaded l(ForeignObject(/*withPentagon=*/false));
    ASSERT_TRUE(l.ok) << l.report.message;
    // The quadrilateral, the line, the point and the triangle; the two details go.
    ASSERT_EQ(l.mesh.polygonCount, 4);
    EXPECT_EQ(l.mesh.polygons[0].count, 4);
    EXPECT_EQ(l.mesh.polygons[1].count, 2);
    EXPECT_EQ(l.mesh.polygons[2].count, 1);
    EXPECT_EQ(l.mesh.polygons[3].count, 3);
    EXPECT_EQ(l.report.detailPolygons, 2);
    EXPECT_EQ(l.report.skippedChunks, 4);
    EXPECT_EQ(l.report.paddedChunks, 0); // XTRA has no pad byte
    EXPECT_EQ(l.report.chunkCount, 6);
    EXPECT_STREQ(l.report.chunks[3].tag, "XTRA");
    EXPECT_EQ(l.report.chunks[3].size, 3u);

    Loaded withPentagon(ForeignObject(true));
    EXPECT_FALSE(withPentagon.ok);
    EXPECT_EQ(withPentagon.report.problem, ObjectProblem::PolygonTooLarge);
}

TEST(ObjectLoader, OddSizedChunksLoadWithAndWithoutTheirPadByte) {
    for (bool pad : {true, false}) {
        Bytes polygons;
        PutPolygon(polygons, {0, 1, 2});
        Loaded l(Builder()
                     .Chunk("SURF", Bytes{'A', 0, 1, 2, 3}, pad)
                     .Points({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}})
                     .Chunk("TEXT", Bytes{'x'}, pad)
                     .Chunk("POLS", polygons)
                     .Build());
        ASSERT_TRUE(l.ok) << "pad " << pad << ": " << l.report.message;
        EXPECT_EQ(l.mesh.polygonCount, 1);
        EXPECT_EQ(l.report.paddedChunks, pad ? 2 : 0);
    }
}

TEST(ObjectLoader, ManyPointAndLinePolygonsFitTheirArray) {
    // 6-byte point polygons: more records than size / 10 would have room for.
    Bytes polygons;
    for (int i = 0; i < 100; ++i)
        PutPolygon(polygons, {static_cast<uint16_t>(i % 3)});
    Loaded l(Builder().Points({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}).Chunk("POLS", polygons).Build());
    ASSERT_TRUE(l.ok) << l.report.message;
    EXPECT_EQ(l.mesh.polygonCount, 100);
    EXPECT_EQ(l.mesh.polygons[99].count, 1);
}

TEST(ObjectLoader, ChunksMayComeInAnyOrder) {
    Bytes polygons;
    PutPolygon(polygons, {2, 1, 0});
    Loaded l(Builder().Chunk("POLS", polygons).Points({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}).Build());
    ASSERT_TRUE(l.ok) << l.report.message;
    EXPECT_NEAR(l.mesh.polygons[0].normal.z, 1.0f, 1e-6f);
}

struct Hostile {
    const char* name;
    Bytes bytes;
    ObjectProblem problem;
};

std::vector<Hostile> HostileFiles() {
    const std::vector<Point> three = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};
    std::vector<Hostile> files;
    auto polygonsOf = [](std::initializer_list<int> words) {
        Bytes out;
        for (int w : words)
            Put16(out, static_cast<uint16_t>(w));
        return out;
    };
    files.push_back({"no points", Builder().Chunk("POLS", polygonsOf({3, 0, 1, 2, 1})).Build(),
                     ObjectProblem::NoPoints});
    files.push_back({"points size not a multiple of 12",
                     Builder().Chunk("PNTS", Bytes(13, 0)).Build(), ObjectProblem::BadPointsSize});
    files.push_back({"index beyond the points",
                     Builder().Points(three).Chunk("POLS", polygonsOf({3, 0, 1, 3, 1})).Build(),
                     ObjectProblem::BadIndex});
    files.push_back(
        {"index 65535",
         Builder().Points(three).Chunk("POLS", polygonsOf({3, 0, 1, 0xFFFF, 1})).Build(),
         ObjectProblem::BadIndex});
    files.push_back({"zero-point polygon",
                     Builder().Points(three).Chunk("POLS", polygonsOf({0, 1})).Build(),
                     ObjectProblem::BadPolygonCount});
    files.push_back({"negative point count",
                     Builder().Points(three).Chunk("POLS", polygonsOf({0xFFFF, 1})).Build(),
                     ObjectProblem::BadPolygonCount});
    files.push_back({"record runs past its chunk",
                     Builder().Points(three).Chunk("POLS", polygonsOf({3, 0, 1, 2})).Build(),
                     ObjectProblem::PolygonOverrun});
    files.push_back(
        {"odd byte left in the polygon chunk",
         Builder().Points(three).Chunk("POLS", Bytes{0, 3, 0, 0, 0, 1, 0, 2, 0, 1, 9}).Build(),
         ObjectProblem::PolygonOverrun});
    files.push_back(
        {"detail count cut off",
         Builder().Points(three).Chunk("POLS", polygonsOf({3, 0, 1, 2, 0xFFFF})).Build(),
         ObjectProblem::PolygonOverrun});
    files.push_back(
        {"details promised but missing",
         Builder().Points(three).Chunk("POLS", polygonsOf({3, 0, 1, 2, 0xFFFF, 5})).Build(),
         ObjectProblem::PolygonOverrun});
    files.push_back({"chunk size past the end of the file",
                     Builder().RawChunk("PNTS", 0x7FFFFFF0u, PointData(three)).Build(),
                     ObjectProblem::ChunkPastEnd});
    files.push_back({"chunk size 0xFFFFFFFF",
                     Builder().Points(three).RawChunk("SURF", 0xFFFFFFFFu, Bytes{1, 2}).Build(),
                     ObjectProblem::ChunkPastEnd});
    files.push_back({"chunk header cut off",
                     Builder().Points(three).Raw(Bytes{'P', 'O', 'L', 'S', 0, 0}).Build(),
                     ObjectProblem::TruncatedChunk});
    files.push_back({"second point chunk", Builder().Points(three).Points(three).Build(),
                     ObjectProblem::DuplicateChunk});
    files.push_back({"too many points", Builder().Chunk("PNTS", Bytes(12 * 32768, 0)).Build(),
                     ObjectProblem::TooManyPoints});
    files.push_back(
        {"not-a-number coordinate",
         Builder().Points({{0, 0, 0}, {std::numeric_limits<float>::quiet_NaN(), 0, 0}}).Build(),
         ObjectProblem::BadCoordinate});
    return files;
}

TEST(ObjectLoader, HostileFilesFailWithTheirReasonAndLeaveTheMeshEmpty) {
    for (const Hostile& file : HostileFiles()) {
        SCOPED_TRACE(file.name);
        Mesh mesh;
        // A previous successful load is replaced, not kept.
        const Bytes good = Cube();
        ASSERT_TRUE(LoadObject(mesh, good.data(), good.size(), nullptr));
        ObjectLoadReport report;
        EXPECT_FALSE(LoadObject(mesh, file.bytes.data(), file.bytes.size(), &report));
        EXPECT_EQ(report.problem, file.problem) << report.message;
        EXPECT_NE(report.message[0], '\0');
        ExpectEmpty(mesh);
    }
}

TEST(ObjectLoader, EveryTruncationOfARealFileFailsOrLoadsCleanly) {
    const Bytes whole = ForeignObject(false);
    int pointsOnly = 0;
    for (size_t length = 0; length < whole.size(); ++length) {
        // A copy of exactly `length` bytes, so the sanitizers see any overread.
        const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(length));
        Mesh mesh;
        ObjectLoadReport report;
        const bool ok = LoadObject(mesh, cut.data(), cut.size(), &report);
        // POLS is the last chunk: a cut inside it fails; a cut before its header
        // (or inside its tag, which ends the chunk list) leaves an object of points only.
        if (ok) {
            EXPECT_EQ(mesh.pointCount, 8) << "length " << length;
            EXPECT_EQ(mesh.polygonCount, 0) << "length " << length;
            ++pointsOnly;
        } else {
            ExpectEmpty(mesh);
        }
    }
    EXPECT_EQ(pointsOnly, 4);
}

TEST(ObjectLoader, TooManyPolygonsAreRefused) {
    Bytes polygons;
    for (int i = 0; i < 32768; ++i)
        PutPolygon(polygons, {0});
    Loaded l(Builder().Points({{0, 0, 0}}).Chunk("POLS", polygons).Build());
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.report.problem, ObjectProblem::TooManyPolygons);
}

TEST(ObjectLoader, LoadsFromDiskThroughFileAndReportsMissingFiles) {
    const std::string path =
        ::testing::TempDir() + "solvane_geometry_cube_" + std::to_string(getpid()) + ".lwo";
    const Bytes cube = Cube();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(cube.data(), 1, cube.size(), out);
    std::fclose(out);

    Mesh mesh;
    ASSERT_TRUE(mesh.Load(path.c_str()));
    EXPECT_EQ(mesh.polygonCount, 6);
    ASSERT_TRUE(mesh.Load(path.c_str())); // a second load replaces the first
    EXPECT_EQ(mesh.pointCount, 8);
    std::remove(path.c_str());

    ObjectLoadReport report;
    EXPECT_FALSE(LoadObjectFile(mesh, path.c_str(), &report));
    EXPECT_EQ(report.problem, ObjectProblem::OpenFailed);
    ExpectEmpty(mesh);
}

} // namespace
