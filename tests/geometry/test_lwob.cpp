// The object loader: what real files contain, and hostile files failing cleanly.
#include "geometry/lwob.h"

#include "lwob_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace lwobtest;

namespace {

struct Loaded {
    Mesh mesh;
    ObjectLoadReport report;
    bool ok;
    explicit Loaded(const Bytes& bytes)
        : ok(LoadObject(mesh, bytes.data(), bytes.size(), &report)) {}
};

// A chunk's data from 16-bit words.
Bytes Words(std::initializer_list<int> words) {
    Bytes out;
    for (int w : words)
        Put16(out, static_cast<uint16_t>(w));
    return out;
}

const std::vector<Point> three = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};

TEST(ObjectLoader, ReadsBigEndianChunksInAnyOrder) {
    Bytes points = {0x3F, 0x80, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0}; // (1, -2, 0)
    Bytes more = PointData({{0, 1, 0}, {1, 0, 0}});
    points.insert(points.end(), more.begin(), more.end());
    Loaded l(Builder().Chunk("POLS", Words({3, 2, 1, 0, 1})).Chunk("PNTS", points).Build());
    ASSERT_TRUE(l.ok) << l.report.message;
    ASSERT_EQ(l.mesh.pointCount, 3);
    EXPECT_EQ(l.mesh.points[0].x, 1.0f);
    EXPECT_EQ(l.mesh.points[0].y, -2.0f);
    ASSERT_EQ(l.mesh.polygonCount, 1);
    EXPECT_EQ(l.mesh.polygons[0].indices[0], 2);
    EXPECT_NEAR(l.mesh.polygons[0].normal.z, 1.0f, 1e-6f);
}

TEST(ObjectLoader, ForeignWriterLayoutLoadsWithDetailPolygonsDropped) {
    Loaded l(ForeignObject(/*withPentagon=*/false));
    ASSERT_TRUE(l.ok) << l.report.message;
    // The quadrilateral, the line, the point and the triangle; the two details go.
    ASSERT_EQ(l.mesh.polygonCount, 4);
    const int counts[] = {4, 2, 1, 3};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(l.mesh.polygons[i].count, counts[i]) << i;
    EXPECT_EQ(l.report.detailPolygons, 2);
    EXPECT_EQ(l.report.skippedChunks, 4);
    EXPECT_EQ(l.report.paddedChunks, 0); // XTRA has no pad byte
    EXPECT_EQ(l.report.chunkCount, 6);
}

TEST(ObjectLoader, HostileFilesFailWithTheirReasonAndLeaveTheMeshEmpty) {
    using P = ObjectProblem;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto pols = [](const Bytes& data) {
        return Builder().Points(three).Chunk("POLS", data).Build();
    };
    Bytes manyPolygons;
    for (int i = 0; i < 32768; ++i)
        PutPolygon(manyPolygons, {0});
    const struct {
        const char* name;
        Bytes bytes;
        ObjectProblem problem;
    } files[] = {
        {"empty file", Bytes{}, P::NotForm},
        {"other form type", Builder().Points(three).Build("LWO2"), P::NotLwob},
        {"a pentagon", ForeignObject(/*withPentagon=*/true), P::PolygonTooLarge},
        {"no points", Builder().Chunk("POLS", Words({3, 0, 1, 2, 1})).Build(), P::NoPoints},
        {"PNTS of 13 bytes", Builder().Chunk("PNTS", Bytes(13, 0)).Build(), P::BadPointsSize},
        {"too many points", Builder().Chunk("PNTS", Bytes(12 * 32768, 0)).Build(),
         P::TooManyPoints},
        {"NaN coordinate", Builder().Points({{0, 0, 0}, {nan, 0, 0}}).Build(), P::BadCoordinate},
        {"second point chunk", Builder().Points(three).Points(three).Build(), P::DuplicateChunk},
        {"index beyond the points", pols(Words({3, 0, 1, 3, 1})), P::BadIndex},
        {"index 65535", pols(Words({3, 0, 1, 0xFFFF, 1})), P::BadIndex},
        {"zero-point polygon", pols(Words({0, 1})), P::BadPolygonCount},
        {"negative point count", pols(Words({0xFFFF, 1})), P::BadPolygonCount},
        {"too many polygons", pols(manyPolygons), P::TooManyPolygons},
        {"record runs past its chunk", pols(Words({3, 0, 1, 2})), P::PolygonOverrun},
        {"odd byte left in POLS", pols(Bytes{0, 3, 0, 0, 0, 1, 0, 2, 0, 1, 9}), P::PolygonOverrun},
        {"detail count cut off", pols(Words({3, 0, 1, 2, 0xFFFF})), P::PolygonOverrun},
        {"size past the end", Builder().RawChunk("PNTS", 0x7FFFFFF0u, PointData(three)).Build(),
         P::ChunkPastEnd},
        {"chunk size 0xFFFFFFFF",
         Builder().Points(three).RawChunk("SURF", 0xFFFFFFFFu, Bytes{1, 2}).Build(),
         P::ChunkPastEnd},
        {"chunk header cut off",
         Builder().Points(three).Raw(Bytes{'P', 'O', 'L', 'S', 0, 0}).Build(), P::TruncatedChunk},
    };
    const Bytes good = Cube();
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        Mesh mesh; // a previous successful load is replaced, not kept
        ASSERT_TRUE(LoadObject(mesh, good.data(), good.size(), nullptr));
        ObjectLoadReport report;
        EXPECT_FALSE(LoadObject(mesh, file.bytes.data(), file.bytes.size(), &report));
        EXPECT_EQ(report.problem, file.problem) << report.message;
        EXPECT_NE(report.message[0], '\0');
        EXPECT_TRUE(mesh.points == nullptr && mesh.polygons == nullptr &&
                    mesh.pointNormals == nullptr && mesh.pointCount == 0 && mesh.polygonCount == 0);
    }

    // A cut before POLS, or inside its tag, ends the chunk list: the object has points only.
    const Bytes whole = ForeignObject(false);
    const char tag[] = "POLS";
    const auto at = std::search(whole.begin(), whole.end(), tag, tag + 4);
    for (auto end : {at, at + 3}) {
        Loaded cut(Bytes(whole.begin(), end));
        EXPECT_TRUE(cut.ok && cut.mesh.pointCount == 8 && cut.mesh.polygonCount == 0);
    }
}

} // namespace
