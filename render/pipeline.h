// The polygon pipeline: turns one ObjectInstance into Glide polygons. Transforms
// its points into view space, lights them, clips each polygon against the planes
// of CurrentView that the instance's clipFlags name, projects, snaps to 1/16
// pixel and hands the polygon to grDrawPolygonVertexList. Allocates nothing.
#pragma once

#include "geometry/instance.h"
#include "geometry/vecmath.h"
#include "geometry/view.h"

#include <cstdint>

// Most vertices a polygon of four points has after clipping against six planes:
// the size of every clip buffer.
constexpr int MaxClipVertices = 10;

// A vertex while clipping: view-space position and colour.
struct ClipVertex {
    float x, y, z;
    uint8_t r, g, b, a;
};

// The light a scene shines on its instances: ambient plus its first light, each
// colour already colour × intensity / 256 per channel (1.0 = full).
struct Lighting {
    float ambient[3] = {0.0f, 0.0f, 0.0f};     // R, G, B
    bool hasLight = false;                     // false: ambient only
    Vector3 lightPosition{0.0f, 0.0f, 0.0f};   // world space
    float lightColour[3] = {0.0f, 0.0f, 0.0f}; // R, G, B
};

// viewPoints and viewNormals of the instance from its mesh: object matrix, then
// CurrentView's viewMatrix. Does nothing without a mesh or work arrays.
void TransformToView(ObjectInstance& instance);

// pointColours from the view-space points and normals (TransformToView first).
// Per channel: ambient + light colour × N·L (where N·L > 0, L towards the light),
// times the Surface's colour byte, truncated and clamped to 0..255; alpha 255.
// Without a light (hasLight false) the points get the ambient share alone.
void LightPoints(const Lighting& lighting, ObjectInstance& instance);

// Clips, projects and draws every polygon of a shown instance with the current
// View, from whatever viewPoints and pointColours hold. Polygons of fewer than 3
// vertices and instances whose Surface is not drawn send nothing to Glide.
void DrawPolygons(const ObjectInstance& instance);

// Clips a polygon of count vertices (at most MaxClipVertices) against the planes of
// view selected by flags (bit 1 << i for planes[i]); flags 0 copies it unchanged.
// out has room for MaxClipVertices; outCount becomes 0 when fewer than 3 vertices
// remain after any stage, or when the polygon does not fit the buffers.
void ClipPolygon(const View& view, ClipVertex* out, int& outCount, const ClipVertex* in, int count,
                 uint16_t flags);

// One Sutherland–Hodgman stage: keeps the part of the polygon on the inside of
// plane. out has room for MaxClipVertices. A convex polygon gains at most one
// vertex per stage; a stage whose result would not fit (only a non-convex or
// twisted polygon can do that) gives outCount 0 and drops the polygon.
void ClipToPlane(ClipVertex* out, int& outCount, const ClipVertex* in, int count,
                 const Plane& plane);

// The point where edge a→b crosses plane (a copy of a when a lies on it); colours
// are interpolated and truncated.
void IntersectEdge(const ClipVertex& a, const ClipVertex& b, const Plane& plane, ClipVertex& out);
