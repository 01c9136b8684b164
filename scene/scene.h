// A LightWave scene (text "LWSC" version 1): its items, lights, camera and
// motions, the object files it loads, and drawing one frame of it through the
// polygon pipeline. Errors in the file go to ReportError with module "Scene".
#pragma once

#include "geometry/instance.h"
#include "geometry/mesh.h"
#include "geometry/vecmath.h"
#include "geometry/view.h"
#include "render/surface.h"
#include "scene/motion.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace scene {
class TextSource;
}
struct ObjectLoadReport;

// One object file of a scene, loaded once and shared by every item that names it.
struct LoadedObject {
    char name[100] = {}; // exactly as written after "LoadObject"
    Mesh mesh;
};

// One object or null object of a scene.
class SceneItem {
public:
    Mesh* mesh = nullptr;                     // shared; null for a null object
    const LoadedObject* objectFile = nullptr; // where mesh comes from; null for a null object
    Motion motion;                            // "ObjectMotion"; the first key is its resting place
    ObjectInstance object;                    // world matrix, radius, flags, surface, work arrays
    int32_t parent = -1;                      // index into Scene::items, -1 = none
};

struct Light {
    float colour[3] = {0.0f, 0.0f, 0.0f}; // R, G, B = colour component × intensity / 256
    Vector3 position{0.0f, 0.0f, 0.0f};   // world position, set by each DrawFrame
    Motion motion;                        // "LightMotion"
    int32_t parent = -1;                  // index into Scene::items, -1 = none
};

class Scene {
public:
    // The item and light arrays have SceneSlots entries; at most MaxItems items
    // and MaxLights lights are used.
    static constexpr int SceneSlots = 255;
    static constexpr int MaxItems = 254;
    static constexpr int MaxLights = 254;

    int32_t itemCount = 0;
    std::vector<std::unique_ptr<LoadedObject>> loadedObjects; // in load order
    Light* lights[SceneSlots] = {};
    int32_t lightCount = 0;
    float ambient[3] = {0.0f, 0.0f, 0.0f}; // R, G, B = colour component × intensity / 256
    Motion cameraMotion;
    int32_t cameraParent = -1; // index into items, -1 = none
    // The four surfaces each load makes (shading mode 4): (100, 120, 140), then
    // red, green and blue (200 each), which items get in turn.
    Surface defaultSurfaces[4];
    SceneItem* items[SceneSlots] = {}; // objects and null objects in file order
    View view;                         // the camera's view, set up by Load
    float firstFrame = 0.0f;
    float lastFrame = 0.0f;
    float frameStep = 1.0f;    // added to currentFrame after each drawn frame
    float currentFrame = 0.0f; // the frame the next DrawFrame draws

    // Where the last Load stopped with a report: the line of the scene file
    // (0 when it did not stop at a line) and, for an object that could not be
    // loaded, the object loader's reason ("" otherwise); without a report, the
    // reason a file could not be read to its end. For tools.
    long errorFileLine = 0;
    char errorDetail[320] = {};

    // The default surface the next item gets: advanced for each item of every
    // scene loaded in the run, so consecutive loads keep turning.
    static int32_t surfaceTurn;

    // Loads the object file a "LoadObject" line names, with the contract of
    // LoadObjectFile (geometry/lwob.h), which it is unless a harness that keeps
    // its objects in memory puts its own in place.
    using ObjectFileLoader = bool (*)(Mesh& mesh, const char* name, ObjectLoadReport* report);
    static ObjectFileLoader objectFileLoader;

    Scene() = default;
    ~Scene() { Unload(); }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Loads fileName (through File: from the data archive when one is open) after
    // unloading whatever the scene held, and sets the view up for a picture of
    // width × height pixels at 60 degrees. names is a null-terminated table of
    // object base names (may be null); foundItems has one slot per name and gets
    // the item whose object file has that base name (the text after the last
    // backslash, compared ignoring case). False when the file is missing or not a
    // version 1 scene (nothing reported), when the file has an error (reported
    // through ReportError, module "Scene"), when it cannot be read to its end
    // (nothing reported; errorDetail says where), or when a name is not found or
    // found more than once (nothing reported). The scene keeps what was loaded before
    // a failure until Unload; it must not be drawn then.
    bool Load(const char* fileName, int16_t width, int16_t height, const char* const* names,
              SceneItem** foundItems);
    // The same from scene text in memory (the first line is "LWSC"); object
    // files are still read through File.
    bool LoadText(const char* text, size_t size, int16_t width, int16_t height,
                  const char* const* names, SceneItem** foundItems);

    // Frees items, lights, loaded objects and motions; the scene is empty again.
    // Pointers handed out by Load no longer hold. Always true.
    bool Unload();

    // Evaluates every motion at currentFrame, places items, lights and camera,
    // draws every visible item with this scene's view current (the previous
    // CurrentView is put back), then advances currentFrame by frameStep. Returns
    // the new currentFrame truncated toward zero while it is at most lastFrame,
    // else 0. Allocates nothing.
    int32_t DrawFrame();
    // currentFrame = frame, but never beyond lastFrame.
    void SetCurrentFrame(float frame);
    // 0 freezes the animation.
    void SetFrameStep(float step) { frameStep = step; }

    // The index of item in items, or -1.
    int32_t IndexOf(const SceneItem* item) const;

private:
    // Items whose block never ended (so never in items) but that foundItems may
    // hold: kept, undrawn, until Unload.
    std::vector<std::unique_ptr<SceneItem>> setAsideItems;

    bool HasParent(int32_t parent) const { return parent >= 0 && parent < itemCount; }
    bool LoadLines(scene::TextSource& source, int16_t width, int16_t height,
                   const char* const* names, SceneItem** foundItems);
    friend class SceneParser;
};
