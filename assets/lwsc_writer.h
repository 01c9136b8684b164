// Writes LightWave scene files in the old text format (first lines "LWSC" and
// "1"): frame range, objects and null objects with their motions and parents,
// ambient light, one light and the camera. Knows nothing of what the items mean.
#pragma once

#include <string>
#include <vector>

namespace assets {

// One key of a motion. Angles in degrees as LightWave writes them.
struct SceneKey {
    int frame = 0;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float heading = 0.0f, pitch = 0.0f, bank = 0.0f;
    // LightWave tension: 0 moves at an even pace into and out of this key's
    // neighbouring segments, 1 eases in and out.
    float tension = 0.0f;
};

// A motion: keys in ascending frame order, the first at frame 0. After the last
// key the motion stops there (LightWave end behaviour 1).
using SceneMotion = std::vector<SceneKey>;

struct SceneObject {
    std::string file;     // LoadObject path, "objects\\Name.lwo"; empty for a null object
    std::string nullName; // name of a null object
    SceneMotion motion;   // at least one key
    int parent = 0;       // 1-based number of the parent item; 0 = none
};

struct SceneLight {
    std::string name = "Light";
    SceneMotion motion;
    int red = 255, green = 255, blue = 255;
    float intensity = 1.0f;
};

struct SceneDescription {
    float firstFrame = 0.0f;
    float lastFrame = 60.0f;
    float frameStep = 1.0f;
    std::vector<SceneObject> objects; // items in file order, numbered from 1
    int ambientRed = 255, ambientGreen = 255, ambientBlue = 255;
    float ambientIntensity = 0.25f;
    SceneLight light;
    SceneMotion camera;
    float cameraZoom = 1.732051f; // LightWave zoom factor; 1.732 is a 60 degree view
};

// The scene file's text, lines ending in a line feed.
std::string SceneText(const SceneDescription& scene);

} // namespace assets
