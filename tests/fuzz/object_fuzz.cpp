// libFuzzer harness for the object loader: a mesh that loads must be usable, and is
// run through the whole polygon pipeline (with a Glide that draws nothing).
#include "geometry/instance.h"
#include "geometry/lwob.h"
#include "geometry/view.h"
#include "glide/glide.h"
#include "render/pipeline.h"
#include "toolkit/error.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" {
void guColorCombineFunction(GrColorCombineFnc_t) {
}
void grDrawPolygonVertexList(int vertexCount, const GrVertex vertices[]) {
    if (vertexCount < 3 || vertexCount > MaxClipVertices)
        std::abort();
    volatile float sink = 0;
    for (int i = 0; i < vertexCount; ++i)
        sink = sink + vertices[i].x + vertices[i].y + vertices[i].oow;
}
}

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckMesh(const Mesh& mesh) {
    Check(mesh.pointCount >= 0 && mesh.polygonCount >= 0);
    Check(mesh.pointCount == 0 || (mesh.points != nullptr && mesh.pointNormals != nullptr));
    Check(mesh.polygonCount == 0 || mesh.polygons != nullptr);
    for (int i = 0; i < mesh.polygonCount; ++i) {
        const Polygon& polygon = mesh.polygons[i];
        Check(polygon.count >= 1 && polygon.count <= MaxPolygonPoints);
        for (int k = 0; k < polygon.count; ++k)
            Check(polygon.indices[k] < mesh.pointCount);
        Check(std::isfinite(polygon.normal.x) && std::isfinite(polygon.normal.y) &&
              std::isfinite(polygon.normal.z));
    }
    for (int i = 0; i < mesh.pointCount; ++i)
        Check(std::isfinite(mesh.pointNormals[i].x) && std::isfinite(mesh.pointNormals[i].y) &&
              std::isfinite(mesh.pointNormals[i].z));
}

void Draw(Mesh& mesh) {
    static View* view = [] {
        nearDistance = 0.1f;
        farDistance = 100000.0f;
        View* made = new View;
        made->Setup(640, 480, 60, 0, 0);
        made->SetPosition(0, 0, -5);
        return made;
    }();
    CurrentView = view;
    ObjectInstance instance;
    instance.AttachMesh(&mesh);
    instance.Rotate(0.3f, 0.5f, 0.1f);
    Lighting lighting;
    lighting.ambient[0] = lighting.ambient[1] = lighting.ambient[2] = 0.3f;
    lighting.hasLight = true;
    lighting.lightPosition = Vector3{10, 20, -30};
    lighting.lightColour[0] = lighting.lightColour[1] = lighting.lightColour[2] = 0.8f;
    // Once as classified, once with every plane, as the effect draws.
    if (instance.Classify()) {
        TransformToView(instance);
        LightPoints(lighting, instance);
        DrawPolygons(instance);
    }
    instance.clipFlags = ClipAll;
    TransformToView(instance);
    LightPoints(lighting, instance);
    DrawPolygons(instance);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetError(ErrorCode::None); // every input starts from a clean error record
    Mesh mesh;
    ObjectLoadReport report;
    const bool loaded = LoadObject(mesh, data, size, &report);
    if (!loaded) {
        Check(report.problem != ObjectProblem::None && report.message[0] != '\0');
        Check(mesh.points == nullptr && mesh.polygons == nullptr && mesh.pointNormals == nullptr);
        return 0;
    }
    Check(report.problem == ObjectProblem::None);
    CheckMesh(mesh);
    Draw(mesh);
    return 0;
}
