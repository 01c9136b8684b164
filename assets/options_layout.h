// The options scene's layout: where each slider, button, label and the cursor sit,
// in screen pixels at 640 x 480, and how the scene camera maps those pixels onto
// scene units. Shared by the generator and its tests; knows no file formats.
#pragma once

#include "glide/screen.h"

namespace assets {

constexpr int screenWidth = screen::width;
constexpr int screenHeight = screen::height;
// Projection factor of a 60 degree view 640 pixels wide: 320 / tan 30 degrees.
constexpr double screenFocal = 554.2562;

// The scene camera looks along +z, unrotated. The cursor moves in the plane
// z = 0 between the clamp bounds of the options screen, x -3.8875 to 3.9025 and
// y -2.9175 to 2.9225; the camera sits over the middle of that range at the
// distance that makes the range fill the screen (7.79 units across 640 pixels,
// 5.84 units across 480).
constexpr float cameraX = 0.0075f;
constexpr float cameraY = 0.0025f;
constexpr float cameraZ = -6.745f;
constexpr float cursorZ = 0.0f;

// Scene units per screen pixel for a point at depth z.
inline double UnitsPerPixel(double z) {
    return (z - cameraZ) / screenFocal;
}
// The scene x and y that project to pixel (px, py) at depth z.
inline float SceneX(double px, double z) {
    return static_cast<float>(cameraX + (px - screenWidth / 2) * UnitsPerPixel(z));
}
inline float SceneY(double py, double z) {
    return static_cast<float>(cameraY - (py - screenHeight / 2) * UnitsPerPixel(z));
}

// Frames of the options scene's animation.
constexpr float restingFrame = 1250.0f; // firstFrame: the panel at rest
constexpr float lastSceneFrame = 1250.0f;
constexpr int aboutHoldFrame = 39;
constexpr int aboutEndFrame = 100;
constexpr int colourStartFrame = 1000;
constexpr int animStartFrame = 1100;
constexpr int animEndFrame = 1200;

} // namespace assets
