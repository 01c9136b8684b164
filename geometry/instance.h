// One placement of a shared Mesh in the world: its object-to-world matrix, a
// bounding radius, the per-point work arrays the polygon pipeline fills each
// frame, the shown and clip bits, and the Surface it is drawn with (not owned).
#pragma once

#include "geometry/colour.h"
#include "geometry/mesh.h"
#include "geometry/vecmath.h"

#include <cstdint>

class Surface;

// Bits of ObjectInstance::flags.
constexpr uint16_t InstanceShown = 1;

// Bits of ObjectInstance::clipFlags: the View planes the bounding sphere crosses,
// in the order of View::planes.
constexpr uint16_t ClipLeft = 1;
constexpr uint16_t ClipRight = 2;
constexpr uint16_t ClipBottom = 4;
constexpr uint16_t ClipTop = 8;
constexpr uint16_t ClipNear = 16;
constexpr uint16_t ClipFar = 32;
// What a new instance carries: clip against every plane until classified.
constexpr uint16_t ClipAll = 255;

class ObjectInstance {
public:
    Mesh* mesh = nullptr;           // shared, not owned; null for a null object
    Matrix matrix;                  // object to world; row 3 is the position
    Vector3* viewPoints = nullptr;  // mesh->pointCount points in view space
    Vector3* viewNormals = nullptr; // mesh->pointCount unit normals in view space
    Colour* pointColours = nullptr; // mesh->pointCount lit colours, alpha 255 after lighting
    float radius = 0.0f;            // bounding radius about the position, world units
    uint16_t flags = InstanceShown;
    uint16_t clipFlags = ClipAll; // result of the last Classify
    Surface* surface;             // null: the renderer's default white Surface
    uintptr_t userData = 0; // the owner's (pointer-sized, so a pointer fits); never touched here

    // matrix = identity, shown, clipFlags 255, the default white Surface.
    ObjectInstance();
    ~ObjectInstance() { ReleaseWorkArrays(); }
    ObjectInstance(const ObjectInstance&) = delete;
    ObjectInstance& operator=(const ObjectInstance&) = delete;

    // Sets mesh; a non-null mesh also gets fresh work arrays of its pointCount
    // (contents undefined until the first transform and lighting) and a new radius.
    // A null mesh keeps the old arrays. An array that cannot be allocated stays null;
    // the pipeline then leaves the instance undrawn.
    void AttachMesh(Mesh* newMesh);
    // radius = the largest distance of a mesh point from the object's origin
    // (0 without a mesh or points). Ignores any scale in matrix.
    void ComputeRadius();

    void SetPosition(float x, float y, float z) { matrix.SetTranslation(x, y, z); }
    Vector3 GetPosition() const { return matrix.GetTranslation(); }
    // matrix = R(pitch, heading, bank) · matrix: turns the object in its own frame,
    // before the transformation it already has; the position stays.
    void Rotate(float pitch, float heading, float bank);
    // PostScale of matrix (the position is scaled too); radius grows by the largest factor.
    void Scale(float sx, float sy, float sz);

    // on == 1 sets the bits of mask, any other value clears them.
    void SetFlags(uint16_t mask, int on) {
        if (on == 1)
            flags = static_cast<uint16_t>(flags | mask);
        else
            flags = static_cast<uint16_t>(flags & ~mask);
    }
    bool TestFlags(uint16_t mask) const { return (flags & mask) != 0; }

    // True when the bounding sphere may be seen in CurrentView; sets clipFlags to
    // the planes it crosses (0 when it returns false). Needs CurrentView set up.
    bool Classify();

    void ReleaseWorkArrays();
};
