// Figures for the geometry and the polygon pipeline on the CPU alone (the Glide
// calls go to a stand-in that draws nothing): object loading, the per-point
// transform and lighting, and clipping and projection per polygon.
#include "geometry/instance.h"
#include "geometry/lwob.h"
#include "geometry/view.h"
#include "glide/glide.h"
#include "render/pipeline.h"
#include "glide/bytes.h"
#include "glide/screen.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

extern "C" {
static long polygonsDrawn = 0;
void guColorCombineFunction(GrColorCombineFnc_t) {
}
void grDrawPolygonVertexList(int, const GrVertex[]) {
    ++polygonsDrawn;
}
}

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// A sphere-like grid object of rows × columns points and as many quadrilaterals.
std::vector<uint8_t> GridObject(int rows, int columns) {
    std::vector<uint8_t> points, polygons, file;
    ByteWriter pointsOut(points, ByteOrder::Big), polygonsOut(polygons, ByteOrder::Big);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const double theta = 3.14159265 * (r + 0.5) / rows, phi = 6.2831853 * c / columns;
            pointsOut.F32(float(std::sin(theta) * std::cos(phi)));
            pointsOut.F32(float(std::cos(theta)));
            pointsOut.F32(float(std::sin(theta) * std::sin(phi)));
        }
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int n = (c + 1) % columns;
            for (int v : {4, r * columns + c, (r + 1) * columns + c, (r + 1) * columns + n,
                          r * columns + n, 1})
                polygonsOut.U16(uint16_t(v)); // point count, indices, surface 1
        }
    ByteWriter out(file, ByteOrder::Big);
    out.Bytes("FORM", 4);
    out.U32(uint32_t(4 + 8 + points.size() + 8 + polygons.size()));
    out.Bytes("LWOBPNTS", 8);
    out.U32(uint32_t(points.size()));
    out.Bytes(points.data(), points.size());
    out.Bytes("POLS", 4);
    out.U32(uint32_t(polygons.size()));
    out.Bytes(polygons.data(), polygons.size());
    return file;
}

} // namespace

int main() {
    nearDistance = 0.1f;
    farDistance = 100000.0f;
    View view;
    view.Setup(screen::width, screen::height, 60, 0, 0);
    view.SetPosition(0, 0, -3);
    CurrentView = &view;

    // Loading the largest object the mesh can hold: 32767 points.
    const std::vector<uint8_t> big = GridObject(181, 181);
    Mesh mesh;
    Clock::time_point start = Clock::now();
    const int loads = 5;
    for (int i = 0; i < loads; ++i) {
        if (!LoadObject(mesh, big.data(), big.size(), nullptr)) {
            std::fprintf(stderr, "geometry_bench: the grid object does not load\n");
            return 1;
        }
    }
    std::printf("load %d points, %d quadrilaterals with normals: %.2f ms\n", mesh.pointCount,
                mesh.polygonCount, Seconds(start) * 1000 / loads);

    // Per-frame work of one large instance, whole in view and then cut by every plane.
    Lighting lighting;
    lighting.ambient[0] = lighting.ambient[1] = lighting.ambient[2] = 0.2f;
    lighting.hasLight = true;
    lighting.lightPosition = Vector3{5, 5, -5};
    lighting.lightColour[0] = lighting.lightColour[1] = lighting.lightColour[2] = 0.8f;
    ObjectInstance instance;
    instance.AttachMesh(&mesh);
    const int frames = 100;
    start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        instance.Rotate(0.01f, 0.02f, 0.0f);
        TransformToView(instance);
    }
    const double transform = Seconds(start) / frames;
    start = Clock::now();
    for (int i = 0; i < frames; ++i)
        LightPoints(lighting, instance);
    const double light = Seconds(start) / frames;
    std::printf("transform: %.1f Mpoints/s; lighting: %.1f Mpoints/s\n",
                mesh.pointCount / transform / 1e6, mesh.pointCount / light / 1e6);
    for (uint16_t flags : {uint16_t(0), uint16_t(ClipAll)}) {
        polygonsDrawn = 0;
        instance.clipFlags = flags;
        start = Clock::now();
        for (int i = 0; i < frames; ++i)
            DrawPolygons(instance);
        const double draw = Seconds(start) / frames;
        std::printf("clip, project and hand over (clip flags %3d): %.2f Mpolygons/s (%ld drawn)\n",
                    flags, mesh.polygonCount / draw / 1e6, polygonsDrawn / frames);
    }

    // The effect's load: 500 copies of one square, each transformed and drawn.
    const std::vector<uint8_t> squareFile = GridObject(2, 2);
    Mesh square;
    LoadObject(square, squareFile.data(), squareFile.size(), nullptr);
    std::vector<ObjectInstance> copies(500);
    for (ObjectInstance& copy : copies) {
        copy.AttachMesh(&square);
        for (int p = 0; p < square.pointCount; ++p)
            copy.pointColours[p] = Colour{200, 100, 50, 128};
    }
    start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        for (ObjectInstance& copy : copies) {
            copy.Rotate(0.01f, 0.0f, 0.02f);
            TransformToView(copy);
            DrawPolygons(copy);
        }
    }
    std::printf("500 square copies, transform and draw with every clip plane: %.3f ms a frame\n",
                Seconds(start) / frames * 1000);
    return 0;
}
