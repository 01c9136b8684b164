// A small stroke font of our own: each glyph is a few polylines on a grid (cap
// height 6 units, x-height 4, descender 2), drawn as flat quadrilaterals so that
// text becomes geometry of a LightWave object.
#pragma once

#include "assets/lwob_writer.h"

#include <string>

namespace assets {

struct TextStyle {
    float capHeight; // height of a capital letter, object units
    float stroke;    // width of a stroke, object units
};

// Width of text set in style, from the left edge of the first stroke to the
// right edge of the last. Characters without a glyph count as spaces.
float TextWidth(const std::string& text, const TextStyle& style);

// Adds text to object as one quadrilateral per stroke, in the plane z, centred
// horizontally on centreX with the middle of the capitals at centreY. Returns
// the number of quadrilaterals added.
int AddText(LwobWriter& object, const std::string& text, const TextStyle& style, float centreX,
            float centreY, float z, Facing facing);

// True when every character of text has a glyph (space included).
bool FontCovers(const std::string& text);

} // namespace assets
