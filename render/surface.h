// The material an ObjectInstance is drawn with: a colour that scales the lit
// colour and the drawing modes. Also the program's one default white Surface,
// which every new ObjectInstance points at.
#pragma once

#include "geometry/colour.h"

#include <cstdint>

class Surface {
public:
    Colour colour{255, 255, 255, 0}; // R, G, B scale the lit colour (255 = full)
    float factor = 1.0f;             // kept for the owner; drawing does not use it
    uint8_t shadingMode = 1;         // 1, 2 or 4: Gouraud-shaded; any other value: not drawn
    uint8_t textureMode = 1;         // 1: untextured, the only mode drawn

    constexpr Surface() = default;

    void SetColour(const Colour& newColour) { colour = newColour; }
    void SetFactor(float newFactor) { factor = newFactor; }
    void SetShadingMode(uint8_t mode) { shadingMode = mode; }
    void SetTextureMode(uint8_t mode) { textureMode = mode; }
    // Whether instances with this surface are drawn at all.
    bool IsDrawn() const { return shadingMode == 1 || shadingMode == 2 || shadingMode == 4; }
};

// White, shading mode 1. Constant-initialised, so it is ready before any static
// ObjectInstance is built.
inline Surface defaultSurface;
