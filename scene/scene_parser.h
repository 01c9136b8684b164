// The body parser of scene text: the keyword lines after "LWSC" and "1", their
// blocks, the object files they load and the reports of their errors. Used by
// Scene::Load only.
#pragma once

#include "scene/line_reader.h"
#include "scene/scene.h"

#include <cstdint>
#include <string_view>

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
    using Handler = void (SceneParser::*)(std::string_view argument);
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

    void FirstFrame(std::string_view argument);
    void LastFrame(std::string_view argument);
    void FrameStep(std::string_view argument);
    void LoadObject(std::string_view argument);
    void AddNullObject(std::string_view argument);
    void ObjectMotion(std::string_view argument);
    void AmbientColor(std::string_view argument);
    void AmbIntensity(std::string_view argument);
    void AddLight(std::string_view argument);
    void LightMotion(std::string_view argument);
    void LightColor(std::string_view argument);
    void LgtIntensity(std::string_view argument);
    void CameraMotion(std::string_view argument);
    void TargetObject(std::string_view argument);
    void ParentObject(std::string_view argument);

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
