// The body parser of scene text: the keyword lines after "LWSC" and "1", their
// blocks, the object files they load and the reports of their errors. Used by
// Scene::Load only.
#pragma once

#include "scene/line_reader.h"
#include "scene/scene.h"

#include <cstdint>

class SceneParser {
public:
    SceneParser(Scene& scene, scene::LineReader& lines, const char* const* names,
                SceneItem** foundItems);
    ~SceneParser();
    SceneParser(const SceneParser&) = delete;
    SceneParser& operator=(const SceneParser&) = delete;

    // Reads every remaining line. True when the file had no error and every
    // name was found exactly once.
    bool Run();

private:
    enum class Block { None, Camera, Ambient, Light, Object };
    using Handler = void (SceneParser::*)(const char* argument);
    struct Keyword {
        const char* text;
        Handler handler;
    };
    static const Keyword keywords[15];

    void EndBlock();
    void Report(long sourceLine, const char* message);
    bool ReadMotion(Motion& motion);
    void NewPendingItem();
    void SetAside(SceneItem* item);
    void LoadObjectFile(const char* name);
    void MatchBaseName(const char* name);
    void ResolveReferences();

    void FirstFrame(const char* argument);
    void LastFrame(const char* argument);
    void FrameStep(const char* argument);
    void LoadObject(const char* argument);
    void AddNullObject(const char* argument);
    void ObjectMotion(const char* argument);
    void AmbientColor(const char* argument);
    void AmbIntensity(const char* argument);
    void AddLight(const char* argument);
    void LightMotion(const char* argument);
    void LightColor(const char* argument);
    void LgtIntensity(const char* argument);
    void CameraMotion(const char* argument);
    void TargetObject(const char* argument);
    void ParentObject(const char* argument);

    Scene& scene;
    scene::LineReader& lines;
    const char* const* names;
    SceneItem** foundItems;
    int nameCount = 0;

    Block block = Block::None;
    SceneItem* pendingItem = nullptr;
    Light* pendingLight = nullptr;
    // Shared by every colour and intensity line of the file, never reset.
    int32_t colour[3] = {255, 255, 255};
    float intensity = 1.0f;
    int32_t targetNumber = 0; // 1-based item number of "TargetObject", 0 = none

    bool reported = false; // an error went to ReportError
    bool refused = false;  // stop without a report (a name found twice)
};
