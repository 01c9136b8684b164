#include "assets/lwsc_writer.h"

#include <cassert>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace assets {

namespace {

#if defined(__GNUC__)
void Line(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
#endif

void Line(std::string& out, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out += buffer;
    out += '\n';
}

// Shortest fixed-point text that reads back as the same float, so "0.38" stays
// "0.38" and 1250 is "1250".
std::string Number(float value) {
    char buffer[64];
    for (int decimals = 0; decimals <= 9; ++decimals) {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value)
            break;
    }
    return std::strtof(buffer, nullptr) == 0.0f ? "0" : buffer;
}

// A motion section as LightWave writes it: channel count, key count, two lines
// per key indented by two spaces, then the end behaviour.
void PutMotion(std::string& out, const char* keyword, const SceneMotion& motion) {
    assert(!motion.empty() && motion.front().frame == 0 && "a motion starts with a key at 0");
    Line(out, "%s (unnamed)", keyword);
    Line(out, "  9");
    Line(out, "  %d", static_cast<int>(motion.size()));
    for (size_t i = 0; i < motion.size(); ++i) {
        const SceneKey& key = motion[i];
        assert((i == 0 || key.frame > motion[i - 1].frame) && "keys ascend");
        Line(out, "  %s %s %s %s %s %s 1 1 1", Number(key.x).c_str(), Number(key.y).c_str(),
             Number(key.z).c_str(), Number(key.heading).c_str(), Number(key.pitch).c_str(),
             Number(key.bank).c_str());
        Line(out, "  %d 0 %s 0 0", key.frame, Number(key.tension).c_str());
    }
    Line(out, "EndBehavior 1");
}

} // namespace

std::string SceneText(const SceneDescription& scene) {
    std::string out;
    Line(out, "LWSC");
    Line(out, "1");
    out += '\n';
    Line(out, "FirstFrame %s", Number(scene.firstFrame).c_str());
    Line(out, "LastFrame %s", Number(scene.lastFrame).c_str());
    Line(out, "FrameStep %s", Number(scene.frameStep).c_str());
    out += '\n';

    // Every block ends with an empty line: that is where a reader adds the item.
    int number = 0;
    for (const SceneObject& object : scene.objects) {
        ++number;
        assert(object.parent < number && "a parent comes before its children");
        if (object.file.empty())
            Line(out, "AddNullObject %s", object.nullName.c_str());
        else
            Line(out, "LoadObject %s", object.file.c_str());
        Line(out, "ShowObject 6 7");
        PutMotion(out, "ObjectMotion", object.motion);
        if (object.parent > 0)
            Line(out, "ParentObject %d", object.parent);
        Line(out, "ShadowOptions 7");
        out += '\n';
    }

    Line(out, "AmbientColor %d %d %d", scene.ambientRed, scene.ambientGreen, scene.ambientBlue);
    Line(out, "AmbIntensity %s", Number(scene.ambientIntensity).c_str());
    out += '\n';

    Line(out, "AddLight");
    Line(out, "LightName %s", scene.light.name.c_str());
    Line(out, "ShowLight 0 7");
    PutMotion(out, "LightMotion", scene.light.motion);
    Line(out, "LightColor %d %d %d", scene.light.red, scene.light.green, scene.light.blue);
    Line(out, "LgtIntensity %s", Number(scene.light.intensity).c_str());
    Line(out, "LightType 1");
    out += '\n';

    Line(out, "ShowCamera 1 7");
    PutMotion(out, "CameraMotion", scene.camera);
    Line(out, "ZoomFactor %s", Number(scene.cameraZoom).c_str());
    out += '\n';
    return out;
}

} // namespace assets
