// The polygon pipeline: view transform, lighting, clipping, projection and the
// hand-over to Glide. Per-frame work uses fixed buffers only.
#include "render/pipeline.h"

#include "glide/glide.h"
#include "render/surface.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

// Rounds a pixel coordinate to the nearest 1/16: floats in [2^19, 2^20) are 1/16
// apart, so adding 3 · 2^18 and taking it away again drops the finer bits. Exact
// for |v| < 2^18; the volatile keeps x87 excess precision out of the sum.
inline float SnapToSixteenth(float v) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
    volatile float sum = v + 786432.0f;
#else
    float sum = v + 786432.0f;
#endif
    return sum - 786432.0f;
}

// One colour channel: lit intensity (1.0 = full) times a surface byte, clamped
// to 255 and truncated; never negative.
inline uint8_t ChannelByte(float intensity, uint8_t surfaceByte) {
    const float value = intensity * static_cast<float>(surfaceByte);
    if (value >= 255.0f)
        return 255;
    if (!(value > 0.0f)) // also a NaN
        return 0;
    return static_cast<uint8_t>(value);
}

inline uint8_t LerpByte(uint8_t a, uint8_t b, float t) {
    return static_cast<uint8_t>(static_cast<float>(a) +
                                (static_cast<float>(b) - static_cast<float>(a)) * t);
}

} // namespace

void TransformToView(ObjectInstance& instance) {
    const Mesh* mesh = instance.mesh;
    const View* view = CurrentView;
    if (mesh == nullptr || view == nullptr || mesh->points == nullptr ||
        instance.viewPoints == nullptr || instance.viewNormals == nullptr)
        return;
    Matrix toView;
    toView.SetProduct(instance.matrix, view->viewMatrix);
    const int count = mesh->pointCount;
    for (int i = 0; i < count; ++i)
        instance.viewPoints[i] = toView.TransformPoint(mesh->points[i]);

    if (mesh->pointNormals == nullptr)
        return;
    // Normals are directions: no translation, and renormalised because the
    // object matrix may scale. An unused point's zero normal stays zero.
    toView.SetTranslation(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < count; ++i) {
        Vector3 normal = toView.TransformPoint(mesh->pointNormals[i]);
        const float length = normal.Length();
        if (length > 0.0f) {
            const float f = 1.0f / length;
            normal.x *= f;
            normal.y *= f;
            normal.z *= f;
        }
        instance.viewNormals[i] = normal;
    }
}

void LightPoints(const Lighting& lighting, ObjectInstance& instance) {
    const Mesh* mesh = instance.mesh;
    const View* view = CurrentView;
    if (mesh == nullptr || view == nullptr || instance.viewPoints == nullptr ||
        instance.viewNormals == nullptr || instance.pointColours == nullptr)
        return;
    const Surface& surface = instance.surface != nullptr ? *instance.surface : defaultSurface;
    const Vector3 light = view->viewMatrix.TransformPoint(lighting.lightPosition);
    const int count = mesh->pointCount;
    for (int i = 0; i < count; ++i) {
        const Vector3& p = instance.viewPoints[i];
        const Vector3& n = instance.viewNormals[i];
        float r = lighting.ambient[0], g = lighting.ambient[1], b = lighting.ambient[2];
        if (lighting.hasLight) {
            Vector3 d{light.x - p.x, light.y - p.y, light.z - p.z};
            const float length = d.Length();
            if (length > 0.0f) { // a light inside the point lights it from no side
                const float f = 1.0f / length;
                d.x *= f;
                d.y *= f;
                d.z *= f;
                const float c = n.x * d.x + n.y * d.y + n.z * d.z;
                if (c > 0.0f) {
                    r += lighting.lightColour[0] * c;
                    g += lighting.lightColour[1] * c;
                    b += lighting.lightColour[2] * c;
                }
            }
        }
        instance.pointColours[i] =
            Colour{ChannelByte(r, surface.colour.r), ChannelByte(g, surface.colour.g),
                   ChannelByte(b, surface.colour.b), 255};
    }
}

void IntersectEdge(const ClipVertex& a, const ClipVertex& b, const Plane& plane, ClipVertex& out) {
    const float da = PlaneDistance(plane, a.x, a.y, a.z);
    if (da == 0.0f) {
        out = a;
        return;
    }
    // da − db without the plane's constant, which cancels.
    const float difference =
        plane.nx * (a.x - b.x) + plane.ny * (a.y - b.y) + plane.nz * (a.z - b.z);
    float t = difference != 0.0f ? da / difference : 0.0f;
    // Only edges that cross the plane come here, so t lies in [0, 1] but for
    // rounding; keeping it there keeps the colours in their bytes.
    if (!(t >= 0.0f))
        t = 0.0f;
    if (!(t <= 1.0f))
        t = 1.0f;
    out.x = a.x + (b.x - a.x) * t;
    out.y = a.y + (b.y - a.y) * t;
    out.z = a.z + (b.z - a.z) * t;
    out.r = LerpByte(a.r, b.r, t);
    out.g = LerpByte(a.g, b.g, t);
    out.b = LerpByte(a.b, b.b, t);
    out.a = LerpByte(a.a, b.a, t);
}

void ClipToPlane(ClipVertex* out, int& outCount, const ClipVertex* in, int count,
                 const Plane& plane) {
    outCount = 0;
    if (count <= 0)
        return;
    const ClipVertex* previous = &in[count - 1];
    float previousDistance = PlaneDistance(plane, previous->x, previous->y, previous->z);
    int written = 0;
    auto emit = [&](const ClipVertex& vertex) -> bool {
        if (written >= MaxClipVertices)
            return false;
        out[written++] = vertex;
        return true;
    };
    for (int i = 0; i < count; ++i) {
        const ClipVertex& current = in[i];
        const float distance = PlaneDistance(plane, current.x, current.y, current.z);
        bool fits = true;
        if (distance < 0.0f) {
            if (previousDistance >= 0.0f) {
                // Always interpolated from the inside end, so the two polygons that
                // share an edge (and walk it in opposite directions) cut it at
                // exactly the same point: no cracks.
                ClipVertex crossing;
                IntersectEdge(*previous, current, plane, crossing);
                fits = emit(crossing);
            }
        } else if (previousDistance >= 0.0f) {
            fits = emit(current);
        } else {
            ClipVertex crossing;
            IntersectEdge(current, *previous, plane, crossing);
            fits = emit(crossing) && emit(current);
        }
        if (!fits)
            return; // outCount stays 0: the polygon is dropped
        previous = &current;
        previousDistance = distance;
    }
    outCount = written;
}

void ClipPolygon(const View& view, ClipVertex* out, int& outCount, const ClipVertex* in, int count,
                 uint16_t flags) {
    outCount = 0;
    if (count <= 0 || count > MaxClipVertices)
        return;
    if ((flags & 63) == 0) {
        std::memcpy(out, in, sizeof(ClipVertex) * static_cast<size_t>(count));
        outCount = count;
        return;
    }
    ClipVertex buffers[2][MaxClipVertices];
    int current = 0;
    int currentCount = count;
    std::memcpy(buffers[0], in, sizeof(ClipVertex) * static_cast<size_t>(count));
    for (int plane = 0; plane < 6; ++plane) {
        if ((flags & (1u << plane)) == 0)
            continue;
        int nextCount = 0;
        ClipToPlane(buffers[1 - current], nextCount, buffers[current], currentCount,
                    view.planes[plane]);
        current = 1 - current;
        currentCount = nextCount;
        if (currentCount < 3)
            return;
    }
    std::memcpy(out, buffers[current], sizeof(ClipVertex) * static_cast<size_t>(currentCount));
    outCount = currentCount;
}

void DrawPolygons(const ObjectInstance& instance) {
    if (!instance.TestFlags(InstanceShown))
        return;
    const Mesh* mesh = instance.mesh;
    const View* view = CurrentView;
    if (mesh == nullptr || view == nullptr || mesh->polygons == nullptr ||
        instance.viewPoints == nullptr || instance.pointColours == nullptr)
        return;
    const Surface& surface = instance.surface != nullptr ? *instance.surface : defaultSurface;
    if (!surface.IsDrawn())
        return;

    // Projection: the screen's centre (halved as integers), plus the View's offsets.
    const float centreX = static_cast<float>(showWidth / 2);
    const float centreY = static_cast<float>(showHeight / 2);
    const float xOffset = static_cast<float>(view->xOffset);
    const float yOffset = static_cast<float>(view->yOffset);
    const float xScale = view->xScale;
    const float yScale = view->yScale;
    const float alpha = static_cast<float>(instance.pointColours[0].a);
    const uint16_t clipFlags = instance.clipFlags;
    bool combineSet = false;

    ClipVertex polygon[MaxClipVertices];
    ClipVertex clipped[MaxClipVertices];
    GrVertex vertices[MaxClipVertices];
    for (int p = 0; p < mesh->polygonCount; ++p) {
        const Polygon& source = mesh->polygons[p];
        int count = source.count;
        if (count < 3)
            continue; // a point or a line has no area to draw
        if (count > MaxPolygonPoints)
            count = MaxPolygonPoints;
        for (int k = 0; k < count; ++k) {
            const uint16_t index = source.indices[k];
            const Vector3& point = instance.viewPoints[index];
            const Colour& colour = instance.pointColours[index];
            polygon[k] =
                ClipVertex{point.x, point.y, point.z, colour.r, colour.g, colour.b, colour.a};
        }
        const ClipVertex* drawn = polygon;
        if (clipFlags != 0) {
            ClipPolygon(*view, clipped, count, polygon, count, clipFlags);
            drawn = clipped;
        }
        if (count < 3)
            continue;
        for (int k = 0; k < count; ++k) {
            const ClipVertex& v = drawn[k];
            GrVertex& out = vertices[k];
            std::memset(&out, 0, sizeof out);
            out.x = SnapToSixteenth(centreX + xScale * v.x / v.z + xOffset);
            out.y = SnapToSixteenth(centreY - yScale * v.y / v.z + yOffset);
            out.r = static_cast<float>(v.r);
            out.g = static_cast<float>(v.g);
            out.b = static_cast<float>(v.b);
            out.a = alpha;
            out.oow = 1.0f / v.z;
        }
        if (!combineSet) {
            guColorCombineFunction(GR_COLORCOMBINE_ITRGB);
            combineSet = true;
        }
        grDrawPolygonVertexList(count, vertices);
    }
}
