// A camera with its projection: the camera's placement (an ObjectInstance), the
// world-to-view matrix, the six clipping planes and the view-to-pixel numbers.
// Also the current View that classification and drawing use, and the globals of
// the view volume's depth and of the show's picture size.
#pragma once

#include "geometry/instance.h"
#include "geometry/vecmath.h"

#include <cstdint>

// A point (x, y, z) is inside when d + nx·x + ny·y + nz·z ≥ 0.
struct Plane {
    float d, nx, ny, nz;
};

// Signed distance of a view-space point from plane: ≥ 0 inside.
inline float PlaneDistance(const Plane& plane, float x, float y, float z) {
    return plane.d + plane.nx * x + plane.ny * y + plane.nz * z;
}

// Indices into View::planes; plane i is clipped against when clip bit 1 << i is set.
enum PlaneIndex { PlaneLeft = 0, PlaneRight, PlaneBottom, PlaneTop, PlaneNear, PlaneFar };

// View space: camera at the origin, x right, y up, z into the screen.
class View {
public:
    Plane planes[6]; // left, right, bottom, top, near, far
    ObjectInstance* target =
        nullptr;           // set by SetTarget, cleared by Rotate; not used for the matrix
    ObjectInstance camera; // the camera's world placement; never has a mesh
    float halfWidth = 0.0f, halfHeight = 0.0f;
    float width = 0.0f, height = 0.0f; // the picture, pixels
    float yScale = 0.0f;               // pixels per unit of y/z
    float xScale = 0.0f;               // pixels per unit of x/z
    Matrix viewMatrix;                 // world to view; the identity until placed
    int32_t xOffset = 0, yOffset = 0;  // added to every projected pixel position

    View();

    // Lays out a picture of width × height pixels seen with fieldOfView degrees
    // (the system always passes 60), shifted on the screen by the offsets. Copies
    // nearDistance and farDistance into the near and far planes.
    void Setup(int16_t width, int16_t height, int16_t fieldOfView, int32_t xOffset,
               int32_t yOffset);
    // viewMatrix = inverse of the camera's rigid transformation.
    void UpdateViewMatrix();
    void SetPosition(float x, float y, float z);
    // Turns the camera in its own frame (radians), drops the target, updates the matrix.
    void Rotate(float pitch, float heading, float bank);
    void SetTarget(ObjectInstance* instance) { target = instance; }
};

// The View that Classify and the polygon pipeline use; set by the program entry,
// swapped by whoever draws with another View and put back afterwards.
extern View* CurrentView;

// Depth of the view volume in view units: 1 and 10000 at start; the Glide set-up
// makes them 0.1 and 100000 before any View is set up.
extern float nearDistance;
extern float farDistance;

// The show's picture in pixels (the Glide screen resolution). Classification
// tests the right and bottom clip bits against it, and projection centres on it.
extern int16_t showWidth;
extern int16_t showHeight;
