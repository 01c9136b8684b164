// Writes LightWave object files (IFF "FORM" of form type "LWOB") as LightWave
// itself lays them out: PNTS, SRFS, POLS, then one SURF per surface. Knows
// nothing of scenes or of what the shapes mean.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

struct Point3 {
    float x, y, z;
};

// Which side of a flat polygon is its front, seen by a camera on the -z side
// looking along +z. LightWave's front side is the one from which the points run
// clockwise; the face normal points out of it.
enum class Facing {
    TowardViewer,   // normal (0, 0, -1): lit by a light in front of the picture
    AwayFromViewer, // normal (0, 0, +1): a light in front leaves it at ambient
};

class LwobWriter {
public:
    // The object's single surface: its name and colour as other LightWave
    // readers show them (the show's renderer colours items by scene order).
    LwobWriter(std::string surfaceName, uint8_t red, uint8_t green, uint8_t blue);

    // Adds a point; returns its index.
    int AddPoint(float x, float y, float z);
    // Adds a polygon of 1 to 4 points, in the order given.
    void AddPolygon(const std::vector<int>& indices);
    // Adds a flat convex polygon of 3 or 4 corners in the plane z, ordering the
    // corners so that its front side faces as asked. Corners are (x, y) pairs.
    void AddFlat(const std::vector<std::pair<float, float>>& corners, float z, Facing facing);
    // Adds a planar convex polygon of 3 or 4 points in any plane that is not
    // seen edge-on, ordered so that its face normal points to -z (TowardViewer)
    // or +z (AwayFromViewer).
    void AddFacing(const std::vector<Point3>& corners, Facing facing);
    // Adds an axis-aligned rectangle centred on (cx, cy) in the plane z.
    void AddRectangle(float cx, float cy, float width, float height, float z, Facing facing);

    int PointCount() const { return static_cast<int>(points.size()); }
    int PolygonCount() const { return static_cast<int>(polygons.size()); }
    // Largest distance of a point from the object's origin.
    float Radius() const;

    // The whole file. Every chunk has an even size, so no pad bytes occur.
    std::vector<uint8_t> Bytes() const;

private:
    std::string surfaceName;
    uint8_t colour[3];
    std::vector<Point3> points;
    std::vector<std::vector<int>> polygons;
};

// Writes bytes to path, creating its folders; false on any failure.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace assets
