// slvtool object FILE [--archive ARCHIVE]: loads a LightWave object as the show
// does and prints what a content author needs to know: counts, the polygon
// sizes, the bounds, and anything in the file the show will not draw as meant.
#include "tools/commands.h"

#include "geometry/lwob.h"
#include "geometry/mesh.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: slvtool object FILE [--archive ARCHIVE]\n");
    return 2;
}

// Whatever the loaded mesh holds that will not show as the author may expect.
std::vector<std::string> MeshProblems(const Mesh& mesh) {
    std::vector<std::string> problems;
    int small = 0, flat = 0, repeated = 0, bent = 0;
    int firstSmall = -1, firstFlat = -1, firstRepeated = -1, firstBent = -1;
    std::vector<bool> used(static_cast<size_t>(mesh.pointCount), false);
    for (int i = 0; i < mesh.polygonCount; ++i) {
        const Polygon& polygon = mesh.polygons[i];
        for (int k = 0; k < polygon.count; ++k)
            used[polygon.indices[k]] = true;
        if (polygon.count < 3) {
            if (small++ == 0)
                firstSmall = i;
            continue;
        }
        bool twice = false;
        for (int a = 0; a < polygon.count; ++a)
            for (int b = a + 1; b < polygon.count; ++b)
                twice = twice || polygon.indices[a] == polygon.indices[b];
        if (twice && repeated++ == 0)
            firstRepeated = i;
        const Vector3& n = polygon.normal;
        if (n.x == 0.0f && n.y == 0.0f && n.z == 0.0f) {
            if (flat++ == 0)
                firstFlat = i;
            continue;
        }
        if (polygon.count == 4) {
            // How far the fourth point lies off the plane of the first three,
            // against the polygon's size.
            const Vector3& p0 = mesh.points[polygon.indices[0]];
            const Vector3& p2 = mesh.points[polygon.indices[2]];
            const Vector3& p3 = mesh.points[polygon.indices[3]];
            const double off = std::fabs(double(n.x) * (p3.x - p0.x) + double(n.y) * (p3.y - p0.y) +
                                         double(n.z) * (p3.z - p0.z));
            const double size = std::sqrt(double(p2.x - p0.x) * (p2.x - p0.x) +
                                          double(p2.y - p0.y) * (p2.y - p0.y) +
                                          double(p2.z - p0.z) * (p2.z - p0.z));
            if (off > 1e-3 * size && bent++ == 0)
                firstBent = i;
        }
    }
    int unused = 0, firstUnused = -1;
    for (int i = 0; i < mesh.pointCount; ++i) {
        if (!used[static_cast<size_t>(i)] && unused++ == 0)
            firstUnused = i;
    }
    if (mesh.polygonCount == 0)
        problems.push_back("the object has no polygons: nothing of it is drawn");
    // One line per kind of problem: what, how many, and the first offender.
    auto note = [&problems](int count, const char* what, const char* kind, int first) {
        if (count == 0)
            return;
        char line[200];
        std::snprintf(line, sizeof line, "%s: %d (the first is %s %d)", what, count, kind, first);
        problems.push_back(line);
    };
    note(small, "polygons of 1 or 2 points, never drawn", "polygon", firstSmall);
    note(flat, "polygons without area among their first three points, lit as if facing nothing",
         "polygon", firstFlat);
    note(repeated, "polygons listing a point twice", "polygon", firstRepeated);
    note(bent,
         "quadrilaterals that are not flat (the fourth point lies off the plane of the first "
         "three)",
         "polygon", firstBent);
    note(unused, "points that belong to no polygon", "point", firstUnused);
    return problems;
}

} // namespace

int slvtool::ObjectCommand(int argc, char** argv) {
    const char* fileName = nullptr;
    const char* archivePath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--archive") == 0) {
            if (i + 1 >= argc || archivePath != nullptr)
                return Usage();
            archivePath = argv[++i];
        } else if (fileName == nullptr && argv[i][0] != '-') {
            fileName = argv[i];
        } else {
            return Usage();
        }
    }
    if (fileName == nullptr)
        return Usage();

    bool toolkitStarted = false;
    if (archivePath != nullptr) {
        if (!ToolkitStartup()) {
            std::fprintf(stderr, "slvtool object: out of memory\n");
            return 1;
        }
        toolkitStarted = true;
        ArchiveOpen(archivePath);
        if (archives.GetCount() == 0) {
            std::fprintf(stderr, "slvtool object: %s: %s\n", archivePath, ArchiveFailure());
            ToolkitShutdown();
            return 1;
        }
    }
    auto finish = [&](int code) {
        if (toolkitStarted) {
            ArchiveRelease(nullptr);
            ToolkitShutdown();
        }
        return code;
    };

    Mesh mesh;
    ObjectLoadReport report;
    if (!LoadObjectFile(mesh, fileName, &report)) {
        if (report.problem == ObjectProblem::OpenFailed && archivePath != nullptr)
            std::fprintf(stderr, "slvtool object: %s: not in %s\n", fileName, archivePath);
        else
            std::fprintf(stderr, "slvtool object: %s: %s\n", fileName, report.message);
        return finish(1);
    }

    std::printf("object %s%s%s\n", fileName, archivePath != nullptr ? " in " : "",
                archivePath != nullptr ? archivePath : "");
    std::printf("file: %u bytes; chunks:", report.fileSize);
    for (int i = 0; i < report.chunkCount && i < ObjectLoadReport::MaxChunks; ++i)
        std::printf(" %s (%u)", report.chunks[i].tag, report.chunks[i].size);
    if (report.chunkCount > ObjectLoadReport::MaxChunks)
        std::printf(" and %d more", report.chunkCount - ObjectLoadReport::MaxChunks);
    std::printf("\n");
    std::printf("points: %d\n", mesh.pointCount);
    std::printf("polygons: %d\n", mesh.polygonCount);
    int sizes[MaxPolygonPoints + 1] = {};
    for (int i = 0; i < mesh.polygonCount; ++i)
        ++sizes[mesh.polygons[i].count];
    static const char* const sizeNames[] = {"", "points", "lines", "triangles", "quadrilaterals"};
    for (int count = 1; count <= MaxPolygonPoints; ++count)
        std::printf("  %d-point polygons (%s): %d\n", count, sizeNames[count], sizes[count]);

    // The radius as the instances compute it: farthest point from the origin.
    float radius = 0.0f;
    Vector3 low{0, 0, 0}, high{0, 0, 0};
    for (int i = 0; i < mesh.pointCount; ++i) {
        const Vector3& p = mesh.points[i];
        radius = std::fmax(radius, p.Length());
        if (i == 0) {
            low = high = p;
            continue;
        }
        low = Vector3{std::fmin(low.x, p.x), std::fmin(low.y, p.y), std::fmin(low.z, p.z)};
        high = Vector3{std::fmax(high.x, p.x), std::fmax(high.y, p.y), std::fmax(high.z, p.z)};
    }
    std::printf("bounding radius: %g\n", radius);
    if (mesh.pointCount > 0)
        std::printf("bounding box: x %g to %g, y %g to %g, z %g to %g\n", low.x, high.x, low.y,
                    high.y, low.z, high.z);
    else
        std::printf("bounding box: empty\n");

    std::vector<std::string> problems = MeshProblems(mesh);
    char line[200];
    if (report.detailPolygons > 0) {
        std::snprintf(line, sizeof line,
                      "detail polygons left out (the show draws one surface per object): %d",
                      report.detailPolygons);
        problems.insert(problems.begin(), line);
    }
    if (report.formSize + 8u != report.fileSize) {
        std::snprintf(line, sizeof line,
                      "the FORM header gives %u bytes but the file holds %u after it (not checked "
                      "by the show)",
                      report.formSize, report.fileSize >= 8 ? report.fileSize - 8 : 0);
        problems.insert(problems.begin(), line);
    }
    if (problems.empty()) {
        std::printf("problems: none\n");
    } else {
        std::printf("problems:\n");
        for (const std::string& problem : problems)
            std::printf("  %s\n", problem.c_str());
    }
    return finish(0);
}
